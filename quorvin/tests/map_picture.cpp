#include "quorvin/tests/map_picture.h"

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"
#include "quorvin/tile_image.h"

namespace {

// GDI+ for the life of the test program.
void StartGdiplus() { static const GdiplusSession session; }

bool SaveAsPng(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<unsigned char> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, encoders);
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(encoders[i].MimeType) == L"image/png")
      return bitmap.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
  }
  return false;
}

}  // namespace

MapPicture::MapPicture(QuorvinWindow& window) {
  const HDC screen = ::GetDC(nullptr);
  m_dc = ::CreateCompatibleDC(screen);
  m_bitmap = ::CreateCompatibleBitmap(screen, window.View().Width(), window.View().Height());
  ::ReleaseDC(nullptr, screen);
  m_old = ::SelectObject(m_dc, m_bitmap);
  window.PaintMap(m_dc);
}

MapPicture::~MapPicture() {
  ::SelectObject(m_dc, m_old);
  ::DeleteObject(m_bitmap);
  ::DeleteDC(m_dc);
}

bool MapPicture::Save(const std::string& name) const {
  ::SelectObject(m_dc, m_old);  // GDI+ reads a bitmap no DC holds
  const bool saved = SaveScreenshot(m_bitmap, name);
  ::SelectObject(m_dc, m_bitmap);
  return saved;
}

bool SaveScreenshot(HBITMAP bitmap, const std::string& name) {
  const std::string folder = ProgramDirectory() + "..\\screenshots\\";
  ::CreateDirectoryW(WidenText(folder).c_str(), nullptr);
  StartGdiplus();
  Gdiplus::Bitmap picture(bitmap, nullptr);
  return SaveAsPng(picture, WidenText(folder + name + ".png"));
}

bool SaveWindowPicture(const Window& window, const std::string& name) {
  const RECT frame = window.WindowRect();
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  // Copied from the screen once drawn: Wine's PrintWindow leaves the controls out.
  ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  PumpMessages();
  const HDC screen = ::GetDC(nullptr);
  const HDC dc = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ old = ::SelectObject(dc, bitmap);
  const bool copied = ::BitBlt(dc, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  ::ReleaseDC(nullptr, screen);
  ::SelectObject(dc, old);
  const bool saved = copied && SaveScreenshot(bitmap, name);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return saved;
}

bool WriteSolidPng(const std::wstring& path, COLORREF colour) {
  StartGdiplus();
  Gdiplus::Bitmap bitmap(256, 256, PixelFormat32bppRGB);
  Gdiplus::Graphics graphics(&bitmap);
  graphics.Clear(Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
  return SaveAsPng(bitmap, path);
}
