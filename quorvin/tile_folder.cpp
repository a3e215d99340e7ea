#include "quorvin/tile_folder.h"

#include "framework/text_encoding.h"

bool TileFolder::IsFolder(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(WidenText(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TileFolder::TileFolder(const std::string& path) : m_source(FolderSource(path)), m_widePath(WidenText(path)) {
  if (!m_widePath.empty() && m_widePath.back() != L'\\' && m_widePath.back() != L'/') m_widePath += L'\\';
}

HBITMAP TileFolder::Tile(TileKey key) {
  HBITMAP bitmap = nullptr;
  if (!m_kept.Find(key, bitmap)) {
    bitmap = Decode(key);
    m_kept.Keep(key, bitmap);
  }
  return bitmap;
}

HBITMAP TileFolder::Decode(TileKey key) const {
  if (!m_gdiplus.Running()) return nullptr;
  const std::wstring stem = m_widePath + std::to_wstring(key.zoom) + L"\\" + std::to_wstring(key.x) + L"\\" +
                            std::to_wstring(key.y);
  for (const wchar_t* extension : {L".png", L".jpg"}) {
    const std::wstring file = stem + extension;
    if (::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) return DecodeTileFile(file);
  }
  return nullptr;
}
