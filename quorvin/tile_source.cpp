#include "quorvin/tile_source.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

constexpr char kSurveyCredit[] = "出典：国土地理院";

const std::array<TileSource, 4> kStandardSources = {{
    {TileSource::Kind::kWeb, "地理院地図 標準", "https://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/{y}.png", "std", 5,
     18, kSurveyCredit},
    {TileSource::Kind::kWeb, "地理院地図 淡色", "https://cyberjapandata.gsi.go.jp/xyz/pale/{z}/{x}/{y}.png", "pale", 5,
     18, kSurveyCredit},
    {TileSource::Kind::kWeb, "地理院地図 写真",
     "https://cyberjapandata.gsi.go.jp/xyz/seamlessphoto/{z}/{x}/{y}.jpg", "seamlessphoto", 2, 18, kSurveyCredit},
    {TileSource::Kind::kBuiltIn, "内蔵地図", "", "", 0, MapView::kMaxZoom, "Natural Earth"},
}};

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  for (std::size_t i = 0; prefix[i]; ++i) {
    if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

// FNV-1a: a stable short name for a template's cache folder.
std::uint32_t Fnv1a(const std::string& text) {
  std::uint32_t hash = 2166136261u;
  for (const unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return hash;
}

std::string HostOf(const std::string& url) {
  const std::size_t start = url.find("://") + 3;
  const std::size_t end = url.find_first_of("/:?", start);
  return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::span<const TileSource> StandardSources() { return kStandardSources; }

const TileSource& BuiltInSource() { return kStandardSources.back(); }

bool LooksLikeUrl(const std::string& text) {
  return StartsWithNoCase(text, "http://") || StartsWithNoCase(text, "https://");
}

std::optional<std::string> TemplateFault(const std::string& url) {
  if (!LooksLikeUrl(url)) return "タイルのURLは http:// か https:// で始まります";
  if (HostOf(url).empty()) return "タイルのURLにホスト名がありません";
  for (const char* placeholder : {"{z}", "{x}", "{y}"}) {
    if (url.find(placeholder) == std::string::npos)
      return std::string("タイルのURLに ") + placeholder + " がありません";
  }
  return std::nullopt;
}

TileSource WebSource(const std::string& urlTemplate) {
  char hash[16];
  std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(Fnv1a(urlTemplate)));
  return {TileSource::Kind::kWeb, "タイル: " + HostOf(urlTemplate), urlTemplate, hash, 0, 18, HostOf(urlTemplate)};
}

TileSource FolderSource(const std::string& path) {
  return {TileSource::Kind::kFolder, "タイル: " + path, path, "", 0, MapView::kMaxZoom, ""};
}

std::string TileUrl(const std::string& urlTemplate, TileKey key) {
  std::string url;
  for (std::size_t i = 0; i < urlTemplate.size();) {
    const std::string_view rest = std::string_view(urlTemplate).substr(i);
    if (rest.starts_with("{z}")) url += std::to_string(key.zoom);
    else if (rest.starts_with("{x}")) url += std::to_string(key.x);
    else if (rest.starts_with("{y}")) url += std::to_string(key.y);
    else {
      url += urlTemplate[i++];
      continue;
    }
    i += 3;
  }
  return url;
}

TileRange TilesCovering(WorldPoint topLeft, WorldPoint bottomRight, int zoom) {
  const int across = 1 << zoom;
  return {zoom, static_cast<int>(std::floor(topLeft.x * across)), static_cast<int>(std::floor(bottomRight.x * across)),
          std::max(0, static_cast<int>(std::floor(topLeft.y * across))),
          std::min(across - 1, static_cast<int>(std::floor(bottomRight.y * across)))};
}

TileRange VisibleTiles(const MapView& view, int zoom) {
  // The right and bottom edges are the first pixel outside the area.
  return TilesCovering(view.ToWorld({0, 0}),
                       view.ToWorld({view.Width() - 0.5, view.Height() - 0.5}), zoom);
}

int WrapColumn(int x, int zoom) {
  const int across = 1 << zoom;
  return ((x % across) + across) % across;
}

std::optional<int> TileZoomFor(const TileSource& source, int viewZoom) {
  if (viewZoom < source.minZoom) return std::nullopt;
  return std::min(viewZoom, source.maxZoom);
}

namespace {

// The zoom's tiles over the rectangle, with columns past the world's edge held to one
// world's width (they are the same tiles again).
TileRange SaveRange(WorldPoint topLeft, WorldPoint bottomRight, int zoom) {
  TileRange range = TilesCovering(topLeft, bottomRight, zoom);
  range.lastX = std::min(range.lastX, range.firstX + (1 << zoom) - 1);
  return range;
}

}  // namespace

std::uint64_t CountTilesToSave(WorldPoint topLeft, WorldPoint bottomRight, int fromZoom, int toZoom) {
  std::uint64_t count = 0;
  for (int zoom = fromZoom; zoom <= toZoom; ++zoom) count += SaveRange(topLeft, bottomRight, zoom).Count();
  return count;
}

std::vector<TileKey> TilesToSave(WorldPoint topLeft, WorldPoint bottomRight, int fromZoom, int toZoom) {
  std::vector<TileKey> tiles;
  for (int zoom = fromZoom; zoom <= toZoom; ++zoom) {
    const TileRange range = SaveRange(topLeft, bottomRight, zoom);
    for (int y = range.firstY; y <= range.lastY; ++y) {
      for (int x = range.firstX; x <= range.lastX; ++x) tiles.push_back({zoom, WrapColumn(x, zoom), y});
    }
  }
  return tiles;
}

std::optional<std::string> SaveRefusal(std::uint64_t tiles, std::uint64_t bytesEach, std::uint64_t savedBytes,
                                       std::uint64_t capBytes) {
  if (tiles > kMaxTilesToSave)
    return "タイルが多すぎます (上限 20,000 枚)。範囲を狭めるか、保存する縮尺を粗くしてください";
  if (savedBytes + tiles * bytesEach > capBytes)
    return "キャッシュの上限を超えます。上限を上げるか、範囲を狭めてください";
  return std::nullopt;
}
