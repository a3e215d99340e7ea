// The helper's map area as a picture, for the tests: painted the way a repaint paints it,
// read pixel by pixel, and kept as a PNG in <build dir>/screenshots.
#pragma once

#include <windows.h>

#include <string>

#include "quorvin/quorvin_window.h"

class MapPicture {
 public:
  explicit MapPicture(QuorvinWindow& window);
  ~MapPicture();
  MapPicture(const MapPicture&) = delete;
  MapPicture& operator=(const MapPicture&) = delete;

  COLORREF Pixel(int x, int y) const { return ::GetPixel(m_dc, x, y); }
  // Writes <build dir>/screenshots/<name>.png; false on failure.
  bool Save(const std::string& name) const;

 private:
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

// Writes <build dir>/screenshots/<name>.png from a bitmap no DC holds; false on failure.
bool SaveScreenshot(HBITMAP bitmap, const std::string& name);
// The window as the screen shows it (frame and controls; nothing may cover it), into <build dir>/screenshots/<name>.png.
bool SaveWindowPicture(const Window& window, const std::string& name);

// A 256 x 256 PNG of one colour, written with GDI+.
bool WriteSolidPng(const std::wstring& path, COLORREF colour);
