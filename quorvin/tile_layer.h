// What the painter draws over the base map: the tiles of one source, from a local folder
// (TileFolder) or fetched from the web and cached (WebTileLayer).
#pragma once

#include <windows.h>

#include "quorvin/tile_source.h"

class TileLayer {
 public:
  virtual ~TileLayer() = default;
  virtual const TileSource& Source() const = 0;
  // Before a paint asks for tiles: the tiles in view, so that work for others can stop.
  virtual void PrepareView(const TileRange&) {}
  // The tile's picture, or null when there is none (yet): the base map shows there. The
  // layer keeps the bitmap; it stays valid until the next call.
  virtual HBITMAP Tile(TileKey key) = 0;
};
