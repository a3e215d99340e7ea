// The helper at the display's DPI: at 96 DPI every size is what it always was, at any other
// DPI it is scaled and the status bar's texts stay whole; WM_DPICHANGED sizes the window
// again. Run at 96 DPI with the other window tests, and at 120, 144 and 192 DPI by
// app/tests/dpi_end_to_end.sh, which names the DPI in OSTREL_EXPECTED_DPI and, with
// OSTREL_DPI_SHOTS set, has the window photographed into the current directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"
#include "pointfile/text_forms.h"
#include "quorvin/built_in_map.h"
#include "quorvin/quorvin_window.h"
#include "quorvin/tests/fake_editor.h"
#include "quorvin/tests/map_picture.h"
#include "quorvin/tests/tile_server.h"
#include "registry/testing/memory_registry.h"

namespace {

constexpr int kPaneWidths96[] = {90, 90, 70, 440};
constexpr COLORREF kMarkerColour = RGB(230, 0, 120);

// "lat,lon,name" with the coordinates in DMS text, in the helper's coordinate form.
std::string ToHelperForm(const std::string& text) {
  const size_t first = text.find(','), second = text.find(',', first + 1);
  return ToHelperCoordinate(text.substr(0, first)) + "," +
         ToHelperCoordinate(text.substr(first + 1, second - first - 1)) + text.substr(second);
}

DisplayScale ExpectedScale() {
  const char* dpi = std::getenv("OSTREL_EXPECTED_DPI");
  return DisplayScale(dpi ? std::atoi(dpi) : DisplayScale::kBaseDpi);
}

class HelperDpiTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(baseMap);
    ASSERT_TRUE(editor.Create(true));
    ASSERT_TRUE(helper.Create());
    createdRect = helper.WindowRect();
    ::SetWindowPos(helper, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    helper.Show(SW_SHOWNOACTIVATE);
    PumpMessages();
  }

  // The widths of the status bar's panes after the first.
  std::vector<int> FixedPaneWidths() const {
    int edges[5] = {};
    helper.Status().Send(SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges));
    edges[4] = Width(helper.Status().ClientRect());
    std::vector<int> widths;
    for (int i = 1; i < 5; ++i) widths.push_back(edges[i] - edges[i - 1]);
    return widths;
  }
  static int Width(const RECT& r) { return r.right - r.left; }

  RECT createdRect{};  // the window as it was created, before the test moved it

  static inline const std::optional<BaseMap> baseMap = LoadBuiltInBaseMap();
  MemoryRegistry registry;
  DatumSetting setting{registry};
  MapSourceSetting sourceSetting{registry};
  LoopbackFetcher fetcher{2000};
  SteppedClock clock;
  TempDirectory cache;
  FakeEditor editor;
  EditorLink link;
  QuorvinWindow helper{baseMap ? &*baseMap : nullptr, setting, sourceSetting, {fetcher, clock, cache.WidePath()}};
};

TEST_F(HelperDpiTest, TheHelperDeclaresItselfPerMonitorAware) {
  // Quorvin2.exe is built beside the test program.
  const std::string manifest = ProgramManifest(ProgramDirectory() + "Quorvin2.exe");
  EXPECT_NE(manifest.find(">PerMonitorV2</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

TEST_F(HelperDpiTest, SizesFollowTheDpiAndTheStatusTextsStayWhole) {
  const DisplayScale scale = ExpectedScale();
  ASSERT_EQ(helper.Scale(), scale);
  const std::vector<int> panes = FixedPaneWidths();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(panes[i], scale.Pixels(kPaneWidths96[i])) << i;
  // 900 x 700 at 96 DPI, within the screen's work area.
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(Width(createdRect), std::min<int>(scale.Pixels(900), Width(area)));
  EXPECT_EQ(createdRect.bottom - createdRect.top, std::min<int>(scale.Pixels(700), area.bottom - area.top));
  EXPECT_EQ(helper.View().TilePixels(), scale.Pixels(256));

  // Two labelled points, as the editor places them, for the picture.
  for (const char* text : {"35/40/52.450,139/46/01.649,東京駅", "35/09/59.900,136/52/54.100,名古屋"}) {
    for (const TextStep& step : EncodeTextCommand(MapMessage::kAddTextEx, ToHelperForm(text)))
      ::PostMessageW(helper, link.CommandMessage(), link.Id(step.subCommand), step.lParam);
  }
  PumpMessages();

  // A click places the marker: its cross reaches 15 pixels out at 96 DPI, scaled; the
  // position pane then shows the widest text the bar holds.
  const ScreenPoint centre{helper.View().Width() / 2.0, helper.View().Height() / 2.0};
  const LPARAM where = MAKELPARAM(std::lround(centre.x), std::lround(centre.y));
  helper.Post(WM_MOUSEMOVE, 0, where);
  helper.Post(WM_LBUTTONDOWN, MK_LBUTTON, where);
  helper.Post(WM_LBUTTONUP, 0, where);
  PumpMessages();
  EXPECT_NE(helper.Status().PaneText(QuorvinWindow::kPositionPane).find("  "), std::string::npos);
  {
    const MapPicture picture(helper);
    const int x = static_cast<int>(std::lround(centre.x)), y = static_cast<int>(std::lround(centre.y));
    EXPECT_EQ(picture.Pixel(x + scale.Pixels(14), y), kMarkerColour);
    EXPECT_NE(picture.Pixel(x + scale.Pixels(20), y), kMarkerColour);
  }

  const HDC dc = ::GetDC(helper.Status());
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(helper.Status().Send(WM_GETFONT)));
  for (int pane = QuorvinWindow::kLayerPane; pane <= QuorvinWindow::kPositionPane; ++pane) {
    const std::wstring text = WidenText(helper.Status().PaneText(pane));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    // The bar's margin on either side, and the sizing grip beside the last pane.
    const int room = panes[pane - 1] - scale.Pixels(6) - (pane == QuorvinWindow::kPositionPane ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
    EXPECT_LE(extent.cx, room) << NarrowText(text);
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(helper.Status(), dc);
  if (std::getenv("OSTREL_DPI_SHOTS")) {
    EXPECT_TRUE(SaveScreenPicture(helper, "helper-" + std::to_string(scale.Dpi()) + ".bmp"));
  }
}

TEST_F(HelperDpiTest, MovedToAMonitorOfTwiceTheDpiAndBackTheWindowSizesItselfAgain) {
  const DisplayScale scale = helper.Scale();
  const RECT outer = helper.WindowRect();
  const std::vector<int> panes = FixedPaneWidths();
  const double worldPixels = helper.View().WorldPixels();

  const DisplayScale twice(2 * scale.Dpi());
  RECT suggested{outer.left, outer.top, outer.right - 100, outer.bottom - 50};
  helper.Send(WM_DPICHANGED, MAKEWPARAM(twice.Dpi(), twice.Dpi()), reinterpret_cast<LPARAM>(&suggested));
  PumpMessages();
  EXPECT_EQ(helper.Scale(), twice);
  EXPECT_EQ(Width(helper.WindowRect()), Width(suggested));
  // The map keeps its zoom and shows the world at twice the pixels.
  EXPECT_DOUBLE_EQ(helper.View().WorldPixels(), 2 * worldPixels);
  EXPECT_EQ(helper.View().Width(), Width(helper.ClientRect()));

  helper.Send(WM_DPICHANGED, MAKEWPARAM(scale.Dpi(), scale.Dpi()), reinterpret_cast<LPARAM>(&outer));
  PumpMessages();
  EXPECT_EQ(helper.Scale(), scale);
  EXPECT_EQ(FixedPaneWidths(), panes);
  EXPECT_DOUBLE_EQ(helper.View().WorldPixels(), worldPixels);
}

}  // namespace
