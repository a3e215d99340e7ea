// The windows were laid out in pixels at 96 DPI; a window on a monitor of another DPI
// takes each of those sizes times its DPI over 96. Portable (no window needed), so the
// rounding rules are tested natively.
#pragma once

#include <algorithm>

class DisplayScale {
 public:
  static constexpr int kBaseDpi = 96;

  constexpr DisplayScale() = default;
  // A DPI that is no DPI (0 from a failed query) counts as 96.
  constexpr explicit DisplayScale(int dpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}

  constexpr int Dpi() const { return m_dpi; }
  // `pixels` at 96 DPI, at this DPI.
  constexpr int Pixels(int pixels) const { return Rescale(pixels, DisplayScale()); }
  // `pixels` as they were at `from`, at this DPI: the nearest whole pixel, halves away
  // from zero, as MulDiv rounds.
  constexpr int Rescale(int pixels, DisplayScale from) const {
    const long long product = static_cast<long long>(pixels) * m_dpi;
    const long long half = from.m_dpi / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / from.m_dpi);
  }

  friend constexpr bool operator==(DisplayScale, DisplayScale) = default;

 private:
  int m_dpi = kBaseDpi;
};

// A text column's width: its width at 96 DPI scaled, or, where the font grew more than
// the DPI did (hinted glyphs do not grow in proportion), as much wider as a sample text
// grew from 96 DPI to here, so that what fitted at 96 DPI still fits.
constexpr int ScaledTextWidth(DisplayScale scale, int width96, int sampleHere, int sample96) {
  const int scaled = scale.Pixels(width96);
  if (sample96 <= 0 || sampleHere <= 0) return scaled;
  const long long grown = (static_cast<long long>(width96) * sampleHere + sample96 - 1) / sample96;
  return std::max(scaled, static_cast<int>(grown));
}

// A window's minimum size: the size it was laid out for, but never more than the work
// area of its monitor, so the window can always be made to fit the screen.
struct PixelSize {
  int width;
  int height;
  friend constexpr bool operator==(PixelSize, PixelSize) = default;
};

constexpr PixelSize ClampToWorkArea(PixelSize size, PixelSize workArea) {
  return {std::min(size.width, workArea.width), std::min(size.height, workArea.height)};
}
