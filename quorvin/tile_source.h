// Where the map's pictures come from: the built-in map, a local folder of XYZ tiles, or a
// web service addressed by an http/https URL template with {z}, {x} and {y}. The 地図 menu
// offers the national survey's three web maps and the built-in map, and whatever usable
// source the editor's map-object name gives. Also the tile arithmetic the fetching and the
// saving of an area share. Texts are Shift_JIS.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "quorvin/map_view.h"

struct TileKey {
  int zoom;
  int x;
  int y;
  auto operator<=>(const TileKey&) const = default;
  // One number per tile, for hashing and ordering.
  std::uint64_t Packed() const {
    return static_cast<std::uint64_t>(zoom) << 58 | static_cast<std::uint64_t>(x) << 29 | static_cast<std::uint64_t>(y);
  }
  static TileKey Unpacked(std::uint64_t packed) {
    constexpr std::uint64_t kMask = (std::uint64_t{1} << 29) - 1;
    return {static_cast<int>(packed >> 58), static_cast<int>(packed >> 29 & kMask), static_cast<int>(packed & kMask)};
  }
};

struct TileSource {
  enum class Kind { kBuiltIn, kFolder, kWeb };
  Kind kind = Kind::kBuiltIn;
  // What the menu and the status bar call it.
  std::string title;
  // The URL template or the folder's path; empty for the built-in map.
  std::string location;
  // The web source's folder in the tile cache: a short fixed name, or a hash of the template.
  std::string cacheName;
  int minZoom = 0;
  int maxZoom = 18;
  // Drawn on the map whenever the source shows; the terms of the national survey's tiles
  // ask for their credit line.
  std::string attribution;
};

// The national survey's 標準, 淡色 and 写真 and the built-in map, in menu order.
std::span<const TileSource> StandardSources();
const TileSource& BuiltInSource();

// Whether `text` starts as an http or https URL (the map-object name then means a template).
bool LooksLikeUrl(const std::string& text);
// Why `url` cannot serve as a tile template (a message for the status bar), or nothing when
// it can: it must be http or https and hold each of {z}, {x} and {y}.
std::optional<std::string> TemplateFault(const std::string& url);
// A web source for a usable template: cached under an 8-digit hash of the template, with the
// host as its credit line.
TileSource WebSource(const std::string& urlTemplate);
TileSource FolderSource(const std::string& path);
// The template with the tile's numbers put in.
std::string TileUrl(const std::string& urlTemplate, TileKey key);

// The tiles of zoom `zoom` that cover the world rectangle between `topLeft` and
// `bottomRight`: columns may run past the world's edge (the caller wraps them), rows are
// held inside it.
struct TileRange {
  int zoom;
  int firstX, lastX, firstY, lastY;
  std::uint64_t Count() const {
    return lastX < firstX || lastY < firstY ? 0
                                            : std::uint64_t(lastX - firstX + 1) * std::uint64_t(lastY - firstY + 1);
  }
};
TileRange TilesCovering(WorldPoint topLeft, WorldPoint bottomRight, int zoom);
// The tiles of the map area at `zoom`.
TileRange VisibleTiles(const MapView& view, int zoom);
// A column number brought into the world (the map repeats east and west).
int WrapColumn(int x, int zoom);
// The zoom whose tiles a view at `viewZoom` draws (scaled when the source stops short), or
// nothing when the source has no tiles that coarse.
std::optional<int> TileZoomFor(const TileSource& source, int viewZoom);
// How many tiles saving the rectangle from `fromZoom` down to `toZoom` fetches, and which.
std::uint64_t CountTilesToSave(WorldPoint topLeft, WorldPoint bottomRight, int fromZoom, int toZoom);
std::vector<TileKey> TilesToSave(WorldPoint topLeft, WorldPoint bottomRight, int fromZoom, int toZoom);

// An area is saved only when it is of a size a car trip needs and fits the cache: the
// service's terms ask for no bulk downloads, and saved tiles are never dropped.
inline constexpr std::uint64_t kMaxTilesToSave = 20000;
// Why saving `tiles` tiles of about `bytesEach` cannot start, when the cache holds
// `savedBytes` of saved tiles under a cap of `capBytes`; nothing when it can.
std::optional<std::string> SaveRefusal(std::uint64_t tiles, std::uint64_t bytesEach, std::uint64_t savedBytes,
                                       std::uint64_t capBytes);
