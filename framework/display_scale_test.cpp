#include "framework/display_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayScale, PixelsRoundAsMulDivAtTheCommonDpis) {
  struct Case {
    int dpi, pixels, expected;
  };
  const Case cases[] = {
      // 96 DPI leaves every size as it is, negative offsets too.
      {96, 100, 100}, {96, 5, 5}, {96, -2, -2}, {96, 0, 0},
      // 125 %: 5 * 1.25 = 6.25 -> 6; 2 * 1.25 = 2.5 -> 3 (halves away from zero).
      {120, 100, 125}, {120, 5, 6}, {120, 2, 3}, {120, -2, -3}, {120, 90, 113},
      // 150 %: 5 * 1.5 = 7.5 -> 8; -5 -> -8.
      {144, 100, 150}, {144, 5, 8}, {144, -5, -8}, {144, 16, 24}, {144, 32, 48},
      // 200 %, and an odd DPI of a real panel.
      {192, 60, 120}, {192, 16, 32}, {168, 16, 28}, {168, 7, 12},
      // No DPI (a failed query) is 96.
      {0, 100, 100}, {-1, 12, 12},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayScale(c.dpi).Pixels(c.pixels), c.expected) << c.dpi << " " << c.pixels;
}

TEST(DisplayScale, RescaleBetweenMonitorsReturnsToTheSameSize) {
  // A window moved from 144 to 96 DPI and back keeps its size.
  const DisplayScale at96, at144(144), at120(120);
  EXPECT_EQ(at96.Rescale(at144.Pixels(100), at144), 100);
  EXPECT_EQ(at144.Rescale(at96.Rescale(150, at144), at96), 150);
  EXPECT_EQ(at120.Rescale(150, at144), 125);
  EXPECT_EQ(at144.Rescale(-3, at120), -4);  // -3.6
}

TEST(DisplayScale, TextColumnsGrowAsMuchAsTheirTextDid) {
  struct Case {
    int dpi, width96, sampleHere, sample96, expected;
  };
  const Case cases[] = {
      {96, 100, 80, 80, 100},    // at 96 DPI the text grew by nothing
      {144, 100, 120, 80, 150},  // grew as the DPI did: the scaled width
      {144, 100, 110, 80, 150},  // grew less: still the scaled width
      {144, 100, 128, 80, 160},  // grew 1.6 times: the column too
      {144, 100, 121, 80, 152},  // rounded up: a pixel short cuts the text
      {120, 60, 0, 80, 75},      // nothing measured: the scaled width
      {120, 60, 80, 0, 75},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScaledTextWidth(DisplayScale(c.dpi), c.width96, c.sampleHere, c.sample96), c.expected) << c.dpi;
}

TEST(DisplayScale, MinimumSizeNeverExceedsTheWorkArea) {
  EXPECT_EQ(ClampToWorkArea({640, 480}, {1280, 984}), (PixelSize{640, 480}));
  EXPECT_EQ(ClampToWorkArea({1280, 960}, {1280, 984}), (PixelSize{1280, 960}));
  // 200 % on a small panel: the doubled template no longer fits.
  EXPECT_EQ(ClampToWorkArea({1280, 960}, {1024, 728}), (PixelSize{1024, 728}));
  EXPECT_EQ(ClampToWorkArea({900, 960}, {1024, 728}), (PixelSize{900, 728}));
}

}  // namespace
