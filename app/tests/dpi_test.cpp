// The main window at the display's DPI: at 96 DPI every size is what it always was, at any
// other DPI it is scaled, and the texts stay whole; WM_DPICHANGED sizes the window again.
// Run at 96 DPI with the other window tests, and at 120, 144 and 192 DPI by
// dpi_end_to_end.sh, which names the DPI in OSTREL_EXPECTED_DPI and, with OSTREL_DPI_SHOTS
// set, has the windows photographed into the current directory.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/point_edit_dialog.h"
#include "app/tests/main_window_fixture.h"
#include "framework/dialog_init_hooks.h"
#include "framework/text_encoding.h"
#include "resources/resource.h"

namespace {

constexpr int kColumnWidths96[kPointListColumns] = {60, 180, 120, 180, 100, 100, 100};

int ExpectedDpi() {
  const char* dpi = std::getenv("OSTREL_EXPECTED_DPI");
  return dpi ? std::atoi(dpi) : DisplayScale::kBaseDpi;
}

// The width and height of an icon's or cursor's picture.
SIZE PictureSize(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  // A monochrome cursor's mask holds the AND and XOR halves one above the other.
  return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// What the screen shows of `window`, as `name`-DPI.bmp in the current directory, when
// OSTREL_DPI_SHOTS is set.
void Photograph(HWND window, const char* name) {
  if (!std::getenv("OSTREL_DPI_SHOTS")) return;
  EXPECT_TRUE(SaveScreenPicture(window, std::string(name) + "-" + std::to_string(ExpectedDpi()) + ".bmp"));
}

// The sample file's widest texts, a row each.
struct SampleRow {
  const char* name;
  const char* nickname;
  const char* location;
  const char* phone;
  const char* longitude;
  const char* latitude;
  int icon;
};
constexpr SampleRow kSampleRows[] = {
    {"東京駅", "とうきょうえき", "東京都千代田区丸の内", "03-1234-5678", "139/46/01.649", " 35/40/52.450", 1},
    {"道後温泉本館", "どうごおんせん", "愛媛県松山市道後湯之町", "089-921-5141", "132/47/11.400", " 33/51/07.452", 41},
    {"中尊寺金色堂", "しらさぎじょう", "岩手県西磐井郡平泉町", "0829-44-2020", "141/06/00.000", " 39/00/06.012", 55},
};

class DpiTest : public MainWindowTest {
 protected:
  MainDialog& StartOnSamples() {
    PointFile file;
    for (int i = 0; i < static_cast<int>(std::size(kSampleRows)); ++i) {
      const SampleRow& row = kSampleRows[i];
      file.InsertRecord(i);
      file.SetName(i, row.name);
      file.SetNickname(i, row.nickname);
      file.SetLocation(i, row.location);
      file.SetPhone(i, row.phone);
      file.SetLongitudeText(i, row.longitude);
      file.SetLatitudeText(i, row.latitude);
      file.SetIcon(i, row.icon);
      file.UpdateChecksum(i);
    }
    const std::string path = m_dir.File("samples.pnt");
    Win32FileStore store;
    RecordingSink sink;
    EXPECT_EQ(file.SaveFile(path, store, sink), 0);
    MainDialog& d = Start(path);
    d.Show(SW_SHOW);
    PumpMessages();
    return d;
  }

  struct Sizes {
    int columns[kPointListColumns];
    int panes[2];
    int smallIcon, largeIcon;
    bool operator==(const Sizes& other) const { return std::memcmp(this, &other, sizeof *this) == 0; }
  };
  Sizes CurrentSizes() const {
    Sizes sizes{};
    for (int c = 0; c < kPointListColumns; ++c) sizes.columns[c] = m_dialog->PointList().GetColumnWidth(c);
    int edges[3] = {};
    m_dialog->Status().Send(SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    sizes.panes[0] = edges[1] - edges[0];
    sizes.panes[1] = Width(m_dialog->Status().ClientRect()) - edges[1];
    int height = 0;
    m_dialog->Icons().Small().GetIconSize(sizes.smallIcon, height);
    m_dialog->Icons().Large().GetIconSize(sizes.largeIcon, height);
    return sizes;
  }

  // Every size the window sets in pixels itself, for `scale`.
  static void ExpectScaledSizes(const Sizes& sizes, DisplayScale scale) {
    for (int c = 0; c < kPointListColumns; ++c) {
      if (scale == DisplayScale())
        EXPECT_EQ(sizes.columns[c], kColumnWidths96[c]) << c;
      else
        EXPECT_GE(sizes.columns[c], scale.Pixels(kColumnWidths96[c])) << c;
    }
    EXPECT_EQ(sizes.panes[0], scale.Pixels(100));
    EXPECT_EQ(sizes.panes[1], scale.Pixels(100));
    EXPECT_EQ(sizes.smallIcon, scale.Pixels(16));
    EXPECT_EQ(sizes.largeIcon, scale.Pixels(32));
  }

  class RecordingSink final : public MessageSink {
   public:
    void ShowMessage(const std::string&) override {}
  };
};

TEST_F(DpiTest, TheProgramDeclaresItselfPerMonitorAware) {
  // Ostrel.exe is built beside the test program.
  const std::string manifest = ProgramManifest(ProgramDirectory() + "Ostrel.exe");
  EXPECT_NE(manifest.find(">PerMonitorV2</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

TEST_F(DpiTest, EverySizeInPixelsFollowsTheDpiAndTheTextsStayWhole) {
  MainDialog& d = StartOnSamples();
  const DisplayScale scale(ExpectedDpi());
  ASSERT_EQ(d.Scale(), scale);
  const Sizes sizes = CurrentSizes();
  ExpectScaledSizes(sizes, scale);
  std::printf("columns at %d DPI:", scale.Dpi());
  for (int width : sizes.columns) std::printf(" %d", width);
  std::printf("\n");

  // The minimum size is the template's as the system scaled it, within the work area.
  MONITORINFO monitor{sizeof monitor};
  ::GetMonitorInfoW(::MonitorFromWindow(d.Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_LE(d.MinWidth(), Width(monitor.rcWork));
  EXPECT_LE(d.MinHeight(), Height(monitor.rcWork));
  if (scale == DisplayScale()) {
    EXPECT_EQ(d.MinWidth(), Width(d.WindowRect()));
    EXPECT_EQ(d.MinHeight(), Height(d.WindowRect()));
  }

  // The layout's gaps.
  SetClientSize(scale.Pixels(600), scale.Pixels(450));
  const RECT client = d.ClientRect();
  const RECT list = ControlRect(IDC_POINT_LIST);
  const int buttonWidth = Width(Window(d.Item(IDC_EDIT_POINT)).ClientRect());
  EXPECT_EQ(list.right, client.right - buttonWidth - scale.Pixels(12));
  EXPECT_EQ(list.bottom, client.bottom - Height(d.Status().ClientRect()) - scale.Pixels(2));
  EXPECT_EQ(ControlRect(IDC_EDIT_POINT).right, client.right - scale.Pixels(5));

  // The drag cursors.
  for (int id : {IDC_DRAG_ONE_ROW, IDC_DRAG_ROWS, IDC_NO_DROP}) {
    const SIZE cursor = PictureSize(ProgramCursor(id, scale));
    EXPECT_EQ(cursor.cx, scale.Pixels(32)) << id;
    EXPECT_EQ(cursor.cy, scale.Pixels(32)) << id;
  }

  // Each heading and each text of the rows fits its column after the list's margin; the
  // icon number also beside its picture. (The coordinates overrun their columns a little
  // at 96 DPI already.)
  const ListView& view = d.PointList();
  auto textWidth = [&](const std::string& text) {
    const std::wstring wide = WidenText(text);
    return static_cast<int>(view.Send(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
  };
  constexpr int kLongitudeColumn = 5;
  for (int c = 0; c < kLongitudeColumn; ++c) {
    EXPECT_LE(textWidth(view.GetColumnText(c)) + scale.Pixels(6), sizes.columns[c]) << view.GetColumnText(c);
    for (int row = 0; row < view.GetItemCount(); ++row) {
      const std::string text = view.GetItemText(row, c);
      const int margin = c == 0 ? sizes.smallIcon + scale.Pixels(8) : scale.Pixels(6);
      EXPECT_LE(textWidth(text) + margin, sizes.columns[c]) << text;
    }
  }
  // The count in its pane of the status bar.
  const std::string count = d.Status().PaneText(2);
  EXPECT_NE(count.find("3"), std::string::npos);
  {
    const HDC dc = ::GetDC(d.Status());
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(d.Status().Send(WM_GETFONT)));
    const std::wstring wide = WidenText(count);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(d.Status(), dc);
    // The last pane ends under the sizing grip.
    EXPECT_LE(extent.cx + ::GetSystemMetrics(SM_CXVSCROLL), sizes.panes[1]) << count;
  }
  Photograph(d, "main");
  d.Send(WM_COMMAND, IDM_VIEW_IMPORT_SCREEN);
  Photograph(d, "import");

  // The edit dialog's preview shows the large picture.
  SIZE preview{};
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [&](Dialog& edit) {
      preview = PictureSize(Static(edit.Item(IDC_POINT_ICON)).GetIcon());
      edit.Show(SW_SHOW);
      Photograph(edit, "edit");
      edit.PostCommand(IDCANCEL);
    });
    d.Send(WM_COMMAND, IDM_VIEW_EDIT_SCREEN);
    d.PointList().SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    d.Send(WM_COMMAND, MAKEWPARAM(IDC_EDIT_POINT, BN_CLICKED));
    EXPECT_EQ(hook.Calls(), 1);
  }
  EXPECT_EQ(preview.cx, scale.Pixels(32));
}

TEST_F(DpiTest, MovedToAMonitorOfTwiceTheDpiAndBackTheWindowSizesItselfAgain) {
  MainDialog& d = StartOnSamples();
  const DisplayScale scale = d.Scale();
  const Sizes before = CurrentSizes();
  const RECT outer = d.WindowRect();
  const int minWidth = d.MinWidth();

  // Windows suggests the rectangle for the new DPI; the window takes it.
  const DisplayScale twice(2 * scale.Dpi());
  RECT suggested{outer.left, outer.top, outer.right - 100, outer.bottom - 50};
  d.Send(WM_DPICHANGED, MAKEWPARAM(twice.Dpi(), twice.Dpi()), reinterpret_cast<LPARAM>(&suggested));
  PumpMessages();
  EXPECT_EQ(d.Scale(), twice);
  EXPECT_EQ(Width(d.WindowRect()), Width(suggested));
  ExpectScaledSizes(CurrentSizes(), twice);
  EXPECT_EQ(ControlRect(IDC_EDIT_POINT).left,
            d.ClientRect().right - Width(Window(d.Item(IDC_EDIT_POINT)).ClientRect()) - twice.Pixels(5));

  d.Send(WM_DPICHANGED, MAKEWPARAM(scale.Dpi(), scale.Dpi()), reinterpret_cast<LPARAM>(&outer));
  PumpMessages();
  EXPECT_EQ(d.Scale(), scale);
  EXPECT_EQ(CurrentSizes(), before);
  EXPECT_EQ(d.MinWidth(), minWidth);
}

}  // namespace
