// Tile pictures as GDI bitmaps: decoded from a file or from fetched bytes with GDI+ (PNG,
// JPEG and whatever else it reads), and a bounded set of decoded tiles kept for drawing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>

#include "quorvin/tile_source.h"

// GDI+ running for the object's life; started only where tiles are drawn, so that the
// built-in map's start-up stays short.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Running() const { return m_token != 0; }

 private:
  ULONG_PTR m_token = 0;
};

// The picture, or null when it is not an image GDI+ reads. Transparent parts show white.
// The caller owns the bitmap.
HBITMAP DecodeTileFile(const std::wstring& path);
HBITMAP DecodeTileBytes(std::span<const unsigned char> bytes);

// Decoded tiles, at most `capacity` of them; the least recently drawn goes first. A tile
// may be kept as null: known to be missing, so it is not looked for on every repaint.
class KeptTiles {
 public:
  // 160 tiles of 256 x 256 at 32 bits: 40 MB at most.
  static constexpr std::size_t kDefaultCapacity = 160;

  explicit KeptTiles(std::size_t capacity = kDefaultCapacity) : m_capacity(capacity) {}
  ~KeptTiles() { Clear(); }
  KeptTiles(const KeptTiles&) = delete;
  KeptTiles& operator=(const KeptTiles&) = delete;

  // Whether the tile is kept; `bitmap` gets it (maybe null). Counts as a use.
  bool Find(TileKey key, HBITMAP& bitmap);
  // Keeps `bitmap` (owned from now on) for the tile, in place of what was kept for it.
  void Keep(TileKey key, HBITMAP bitmap);
  void Forget(TileKey key);
  void Clear();
  std::size_t Size() const { return m_kept.size(); }

 private:
  struct Kept {
    HBITMAP bitmap;
    std::uint64_t lastUse;
  };
  void ForgetOldest();

  std::size_t m_capacity;
  std::unordered_map<std::uint64_t, Kept> m_kept;
  std::uint64_t m_uses = 0;
};
