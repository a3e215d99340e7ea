#include "quorvin/tile_folder.h"

// GDI+'s C++ headers use min and max as functions of their own.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>
#include <gdiplus.h>

#include "framework/text_encoding.h"

namespace {

std::uint64_t Key(int zoom, int x, int y) {
  return static_cast<std::uint64_t>(zoom) << 58 | static_cast<std::uint64_t>(x) << 29 | static_cast<std::uint64_t>(y);
}

}  // namespace

bool TileFolder::IsFolder(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(WidenText(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TileFolder::TileFolder(const std::string& path) : m_path(path), m_widePath(WidenText(path)) {
  if (!m_widePath.empty() && m_widePath.back() != L'\\' && m_widePath.back() != L'/') m_widePath += L'\\';
  // GDI+ starts only for a tile folder: the built-in map needs none of it, and the
  // helper's start-up stays short.
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) m_gdiplusToken = 0;
}

TileFolder::~TileFolder() {
  for (auto& [key, kept] : m_kept) {
    if (kept.bitmap) ::DeleteObject(kept.bitmap);
  }
  if (m_gdiplusToken) Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

HBITMAP TileFolder::Tile(int zoom, int x, int y) {
  const std::uint64_t key = Key(zoom, x, y);
  auto it = m_kept.find(key);
  if (it == m_kept.end()) {
    if (m_kept.size() >= kMaxKeptTiles) ForgetOldest();
    it = m_kept.emplace(key, Kept{Decode(zoom, x, y), 0}).first;
  }
  it->second.lastUse = ++m_uses;
  return it->second.bitmap;
}

HBITMAP TileFolder::Decode(int zoom, int x, int y) const {
  if (!m_gdiplusToken) return nullptr;
  const std::wstring stem =
      m_widePath + std::to_wstring(zoom) + L"\\" + std::to_wstring(x) + L"\\" + std::to_wstring(y);
  for (const wchar_t* extension : {L".png", L".jpg"}) {
    const std::wstring file = stem + extension;
    if (::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    Gdiplus::Bitmap picture(file.c_str());
    HBITMAP bitmap = nullptr;
    // A file that is not an image fails here; the square stays empty. Transparent parts
    // of a tile show white.
    if (picture.GetLastStatus() == Gdiplus::Ok && picture.GetWidth() > 0 &&
        picture.GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &bitmap) == Gdiplus::Ok)
      return bitmap;
    return nullptr;
  }
  return nullptr;
}

void TileFolder::ForgetOldest() {
  auto oldest = m_kept.begin();
  for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
    if (it->second.lastUse < oldest->second.lastUse) oldest = it;
  }
  if (oldest->second.bitmap) ::DeleteObject(oldest->second.bitmap);
  m_kept.erase(oldest);
}
