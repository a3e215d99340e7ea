// A local folder of XYZ raster tiles ({z}/{x}/{y}.png or .jpg, 256 x 256, Web Mercator),
// the layout of common tile downloads and of national map tile services. Tiles are
// decoded with GDI+ when first drawn and kept as bitmaps, a bounded number of them.
#pragma once

#include <string>

#include "quorvin/tile_image.h"
#include "quorvin/tile_layer.h"

class TileFolder : public TileLayer {
 public:
  // Whether `path` (Shift_JIS) names an existing folder.
  static bool IsFolder(const std::string& path);

  explicit TileFolder(const std::string& path);

  const TileSource& Source() const override { return m_source; }
  // A missing tile or one that is not an image leaves its square empty.
  HBITMAP Tile(TileKey key) override;

 private:
  HBITMAP Decode(TileKey key) const;

  TileSource m_source;
  std::wstring m_widePath;
  GdiplusSession m_gdiplus;
  KeptTiles m_kept;
};
