// IconFilePicture: one picture of an icon file (the one LoadImage takes when it is asked for
// no particular size, the file's first, or the one that suits a size asked for), read from the file's bytes and drawn with
// StretchDIBits instead of being made into an icon. Under Wine each icon costs server
// requests and bitmaps of its own; for the 55 point icons that was most of the start-up's
// own work.
//
// Only a plain picture is taken: a BITMAPINFOHEADER bitmap of 4, 8, 24 or 32 bits, with its
// mask, whose size agrees with its directory entry, and the only picture of that size in the
// file (LoadImage would choose among several by colour depth). Anything else (PNG pictures,
// monochrome ones, a damaged file) is left to LoadImage, which decides as it always has.
#pragma once

#include <windows.h>

#include <vector>

class IconFilePicture {
 public:
  // Reads and checks `path`; false (and Ok() false) when it cannot be read or the picture
  // is not plain. `size` 0 takes the file's first picture; otherwise the smallest picture
  // at least `size` wide (scaled down it stays sharp), or the largest when all are smaller.
  bool Read(const wchar_t* path, int size = 0);
  bool Ok() const { return m_width > 0; }

  // The colour bits as the file holds them (alpha straight, not premultiplied), and the
  // mask, each scaled into `at` as DrawIconEx scales an icon.
  void DrawColour(HDC dc, const RECT& at) const;
  void DrawMask(HDC dc, const RECT& at) const;

 private:
  bool Parse(int size);

  std::vector<unsigned char> m_bytes;
  // The picture's header with the height of the colour part alone, then its palette.
  std::vector<unsigned char> m_colourInfo;
  // Where the colour bits and the mask bits start in m_bytes.
  size_t m_colourBits = 0, m_maskBits = 0;
  int m_width = 0, m_height = 0;
};
