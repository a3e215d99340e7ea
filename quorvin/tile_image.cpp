#include "quorvin/tile_image.h"

// GDI+'s C++ headers use min and max as functions of their own.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>
#include <gdiplus.h>

namespace {

HBITMAP ToBitmap(Gdiplus::Bitmap& picture) {
  HBITMAP bitmap = nullptr;
  if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetWidth() == 0 ||
      picture.GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &bitmap) != Gdiplus::Ok)
    return nullptr;
  return bitmap;
}

}  // namespace

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}

GdiplusSession::~GdiplusSession() {
  if (m_token) Gdiplus::GdiplusShutdown(m_token);
}

HBITMAP DecodeTileFile(const std::wstring& path) {
  Gdiplus::Bitmap picture(path.c_str());
  return ToBitmap(picture);
}

HBITMAP DecodeTileBytes(std::span<const unsigned char> bytes) {
  if (bytes.empty()) return nullptr;
  const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  std::copy(bytes.begin(), bytes.end(), static_cast<unsigned char*>(::GlobalLock(memory)));
  ::GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (::CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
    ::GlobalFree(memory);
    return nullptr;
  }
  HBITMAP bitmap;
  {
    Gdiplus::Bitmap picture(stream);
    bitmap = ToBitmap(picture);
  }
  stream->Release();
  return bitmap;
}

bool KeptTiles::Find(TileKey key, HBITMAP& bitmap) {
  const auto it = m_kept.find(key.Packed());
  if (it == m_kept.end()) return false;
  it->second.lastUse = ++m_uses;
  bitmap = it->second.bitmap;
  return true;
}

void KeptTiles::Keep(TileKey key, HBITMAP bitmap) {
  Forget(key);
  if (m_kept.size() >= m_capacity) ForgetOldest();
  m_kept.emplace(key.Packed(), Kept{bitmap, ++m_uses});
}

void KeptTiles::Forget(TileKey key) {
  const auto it = m_kept.find(key.Packed());
  if (it == m_kept.end()) return;
  if (it->second.bitmap) ::DeleteObject(it->second.bitmap);
  m_kept.erase(it);
}

void KeptTiles::Clear() {
  for (auto& [packed, kept] : m_kept) {
    if (kept.bitmap) ::DeleteObject(kept.bitmap);
  }
  m_kept.clear();
}

void KeptTiles::ForgetOldest() {
  const auto oldest = std::min_element(m_kept.begin(), m_kept.end(),
                                       [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
  if (oldest != m_kept.end()) Forget(TileKey::Unpacked(oldest->first));
}
