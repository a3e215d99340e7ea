// A local folder of XYZ raster tiles ({z}/{x}/{y}.png or .jpg, 256 x 256, Web Mercator),
// the layout of common tile downloads and of national map tile services. Tiles are
// decoded with GDI+ when first drawn and kept as bitmaps, a bounded number of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>

class TileFolder {
 public:
  // Whether `path` (Shift_JIS) names an existing folder.
  static bool IsFolder(const std::string& path);

  explicit TileFolder(const std::string& path);
  ~TileFolder();
  TileFolder(const TileFolder&) = delete;
  TileFolder& operator=(const TileFolder&) = delete;

  const std::string& Path() const { return m_path; }
  // The tile's picture, or null when it is missing or not an image (that square stays
  // empty). The folder keeps the bitmap; it stays valid until the next call.
  HBITMAP Tile(int zoom, int x, int y);

 private:
  static constexpr std::size_t kMaxKeptTiles = 160;  // 40 MB of 32-bit pixels at most
  struct Kept {
    HBITMAP bitmap;  // null: known to be missing or unreadable
    std::uint64_t lastUse;
  };
  HBITMAP Decode(int zoom, int x, int y) const;
  void ForgetOldest();

  std::string m_path;
  std::wstring m_widePath;
  ULONG_PTR m_gdiplusToken = 0;
  std::unordered_map<std::uint64_t, Kept> m_kept;
  std::uint64_t m_uses = 0;
};
