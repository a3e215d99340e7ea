#include "framework/icon_file.h"

#include <cstdint>
#include <cstring>

namespace {

// Icon files are small; a bigger one (large PNG pictures) goes to LoadImage.
constexpr LONGLONG kReadLimit = 1 << 20;

constexpr size_t kDirectoryHeaderSize = 6;  // reserved, type, count
constexpr size_t kDirectoryEntrySize = 16;
constexpr WORD kIconType = 1;
constexpr DWORD kInfoHeaderSize = 40;  // sizeof(BITMAPINFOHEADER): no later header kinds

std::uint32_t Little(const unsigned char* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// A directory entry's width or height: 0 stands for 256.
int EntrySize(unsigned char stored) { return stored ? stored : 256; }

}  // namespace

bool IconFilePicture::Read(const wchar_t* path, int pictureSize) {
  m_width = m_height = 0;
  // As LoadImage opens it: others may read the file meanwhile.
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  DWORD got = 0;
  bool read = ::GetFileSizeEx(file, &size) && size.QuadPart <= kReadLimit;
  if (read) {
    m_bytes.resize(static_cast<size_t>(size.QuadPart));
    read = ::ReadFile(file, m_bytes.data(), static_cast<DWORD>(m_bytes.size()), &got, nullptr) &&
           got == m_bytes.size();
  }
  ::CloseHandle(file);
  return read && Parse(pictureSize);
}

bool IconFilePicture::Parse(int wanted) {
  const unsigned char* bytes = m_bytes.data();
  const size_t size = m_bytes.size();
  if (size < kDirectoryHeaderSize || Little(bytes, 2) != 0 || Little(bytes + 2, 2) != kIconType) return false;
  const size_t count = Little(bytes + 4, 2);
  if (count == 0 || size < kDirectoryHeaderSize + count * kDirectoryEntrySize) return false;

  // The picture that suits the size asked for, and no second picture of its size.
  const unsigned char* directory = bytes + kDirectoryHeaderSize;
  const unsigned char* chosen = directory;
  if (wanted > 0) {
    for (size_t i = 1; i < count; ++i) {
      const unsigned char* entry = directory + i * kDirectoryEntrySize;
      const int width = EntrySize(entry[0]), best = EntrySize(chosen[0]);
      const bool better = best < wanted ? width > best : width >= wanted && width < best;
      if (better) chosen = entry;
    }
  }
  const int width = EntrySize(chosen[0]), height = EntrySize(chosen[1]);
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* entry = directory + i * kDirectoryEntrySize;
    if (entry != chosen && EntrySize(entry[0]) == width && EntrySize(entry[1]) == height) return false;
  }
  const size_t length = Little(chosen + 8, 4), offset = Little(chosen + 12, 4);
  if (offset > size || length > size - offset || length < kInfoHeaderSize) return false;

  const unsigned char* header = bytes + offset;
  const std::int32_t headerWidth = static_cast<std::int32_t>(Little(header + 4, 4));
  const std::int32_t headerHeight = static_cast<std::int32_t>(Little(header + 8, 4));
  const int planes = static_cast<int>(Little(header + 12, 2));
  const int bitCount = static_cast<int>(Little(header + 14, 2));
  const std::uint32_t compression = Little(header + 16, 4);
  const std::uint32_t coloursUsed = Little(header + 32, 4);
  if (Little(header, 4) != kInfoHeaderSize || headerWidth != width || headerHeight != 2 * height || planes != 1 ||
      compression != BI_RGB)
    return false;
  if (bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
  const size_t paletteMax = bitCount <= 8 ? size_t{1} << bitCount : 0;
  if (coloursUsed > paletteMax) return false;
  const size_t paletteEntries = bitCount <= 8 ? (coloursUsed ? coloursUsed : paletteMax) : 0;

  const size_t colourStride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
  const size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
  const size_t infoSize = kInfoHeaderSize + paletteEntries * 4;
  if (length < infoSize + (colourStride + maskStride) * height) return false;

  m_colourInfo.assign(header, header + infoSize);
  auto* info = reinterpret_cast<BITMAPINFOHEADER*>(m_colourInfo.data());
  info->biHeight = height;  // the colour part alone; rows bottom-up as in the file
  info->biSizeImage = 0;
  m_colourBits = offset + infoSize;
  m_maskBits = m_colourBits + colourStride * height;
  m_width = width;
  m_height = height;
  return true;
}

void IconFilePicture::DrawColour(HDC dc, const RECT& at) const {
  ::StretchDIBits(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, 0, 0, m_width, m_height,
                  m_bytes.data() + m_colourBits, reinterpret_cast<const BITMAPINFO*>(m_colourInfo.data()), DIB_RGB_COLORS, SRCCOPY);
}

void IconFilePicture::DrawMask(HDC dc, const RECT& at) const {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } mask{{sizeof(BITMAPINFOHEADER), m_width, m_height, 1, 1, BI_RGB, 0, 0, 0, 0, 0},
         {{0, 0, 0, 0}, {255, 255, 255, 0}}};
  ::StretchDIBits(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, 0, 0, m_width, m_height, m_bytes.data() + m_maskBits,
                  reinterpret_cast<const BITMAPINFO*>(&mask), DIB_RGB_COLORS, SRCCOPY);
}
