// The two screens of the main window, resizing and the minimum size.
#include "app/tests/main_window_fixture.h"
#include "resources/resource.h"

namespace {

constexpr int kTopRow[] = {IDC_MARKER_LATITUDE,  IDC_MARKER_LATITUDE_LABEL, IDC_MARKER_LONGITUDE,
                           IDC_MARKER_LONGITUDE_LABEL, IDC_TAKE_POSITION, IDC_MAP_DISPLAY};

}  // namespace

TEST_F(MainWindowTest, WithoutTheHelperTheListStartsAtTheTop) {
  MainDialog& d = Start("");
  EXPECT_FALSE(d.MapLink().HelperPresent());
  for (int id : kTopRow) EXPECT_FALSE(ControlVisible(id)) << id;
  const RECT client = d.ClientRect();
  const RECT list = ControlRect(IDC_POINT_LIST);
  const int buttonWidth = Width(Window(d.Item(IDC_EDIT_POINT)).ClientRect());
  const int statusHeight = Height(d.Status().ClientRect());
  EXPECT_EQ(list.left, 0);
  EXPECT_EQ(list.top, 0);
  EXPECT_EQ(list.right, client.right - buttonWidth - 12);
  EXPECT_EQ(list.bottom, client.bottom - statusHeight - 2);
  EXPECT_TRUE(ControlVisible(IDC_POINT_LIST));
  EXPECT_FALSE(ControlVisible(IDC_IMPORT_LIST));

  // The status bar: along the bottom, the full width, three panes of which the last two
  // are 100 pixels wide.
  const RECT bar = d.Status().RectInParent();
  EXPECT_EQ(bar.left, 0);
  EXPECT_EQ(bar.right, client.right);
  EXPECT_EQ(bar.bottom, client.bottom);
  EXPECT_EQ(d.Status().ControlId(), IDW_STATUS_BAR);
  int edges[3] = {};
  ASSERT_EQ(d.Status().Send(SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[2], -1);
  EXPECT_EQ(edges[1] - edges[0], 100);
  EXPECT_EQ(Width(d.Status().ClientRect()) - edges[1], 100);
}

TEST_F(MainWindowTest, WithTheHelperTheMarkerRowComesFirst) {
  InstallHelper();
  MainDialog& d = Start("");
  EXPECT_TRUE(d.MapLink().HelperPresent());
  for (int id : kTopRow) EXPECT_TRUE(ControlVisible(id)) << id;
  const int buttonHeight = Height(Window(d.Item(IDC_EDIT_POINT)).ClientRect());
  EXPECT_EQ(ControlRect(IDC_POINT_LIST).top, buttonHeight + 5);
  d.Send(WM_COMMAND, IDM_VIEW_IMPORT_SCREEN);
  EXPECT_EQ(ControlRect(IDC_IMPORT_LIST).top, buttonHeight + 5);
  EXPECT_EQ(ControlRect(IDC_POINT_LIST).top, buttonHeight + 5);
}

TEST_F(MainWindowTest, ResizingMovesTheButtonsAndTheStatusBar) {
  MainDialog& d = Start("");
  SetClientSize(900, 600);
  const RECT client = d.ClientRect();
  ASSERT_EQ(client.right, 900);
  const int statusHeight = Height(d.Status().ClientRect());
  for (int id : {IDC_EDIT_POINT, IDC_ADD_POINT, IDC_DELETE_POINT, IDCANCEL}) {
    const RECT r = ControlRect(id);
    EXPECT_EQ(r.right, 900 - 5) << id;
    EXPECT_TRUE(ControlVisible(id)) << id;
  }
  // The three point buttons keep their heights on the screen; "終了" sits on the status bar.
  RECT units{344, 33, 378, 47};
  ::MapDialogRect(d.Handle(), &units);
  EXPECT_EQ(ControlRect(IDC_EDIT_POINT).top, units.top);
  EXPECT_EQ(ControlRect(IDCANCEL).bottom, 600 - statusHeight);
  const RECT bar = d.Status().RectInParent();
  EXPECT_EQ(bar.right, 900);
  EXPECT_EQ(bar.bottom, 600);
  EXPECT_EQ(Height(bar), Height(d.Status().WindowRect()));
  const RECT list = ControlRect(IDC_POINT_LIST);
  EXPECT_EQ(list.right, 900 - Width(Window(d.Item(IDC_EDIT_POINT)).ClientRect()) - 12);
  EXPECT_EQ(list.bottom, 600 - statusHeight - 2);
}

TEST_F(MainWindowTest, SwitchingTheScreenMovesOnlyTheLists) {
  MainDialog& d = Start("");
  SetClientSize(800, 500);
  const RECT button = ControlRect(IDC_ADD_POINT);
  const RECT close = ControlRect(IDCANCEL);
  const RECT bar = d.Status().RectInParent();

  d.Send(WM_COMMAND, IDM_VIEW_IMPORT_SCREEN);
  EXPECT_EQ(d.ViewMode(), 1);
  EXPECT_TRUE(ControlVisible(IDC_IMPORT_LIST));
  EXPECT_TRUE(ControlVisible(IDC_POINT_LIST));
  const RECT buttonAfter = ControlRect(IDC_ADD_POINT);
  const RECT closeAfter = ControlRect(IDCANCEL);
  EXPECT_TRUE(::EqualRect(&button, &buttonAfter));
  EXPECT_TRUE(::EqualRect(&close, &closeAfter));
  const RECT barAfter = d.Status().RectInParent();
  EXPECT_TRUE(::EqualRect(&bar, &barAfter));

  // A resize keeps the import screen.
  SetClientSize(700, 450);
  EXPECT_EQ(d.ViewMode(), 1);
  EXPECT_TRUE(ControlVisible(IDC_IMPORT_LIST));

  d.Send(WM_COMMAND, IDM_VIEW_EDIT_SCREEN);
  EXPECT_EQ(d.ViewMode(), 0);
  EXPECT_FALSE(ControlVisible(IDC_IMPORT_LIST));
  EXPECT_EQ(ControlRect(IDC_POINT_LIST).left, 0);
}

TEST_F(MainWindowTest, TheImportScreenSplitsTheRoomBesideTheButtons) {
  MainDialog& d = Start("");
  SetClientSize(600, 400);
  // A button width of 50: W = 600 - 50 - 10 = 540, H = 270.
  const RECT edit = ControlRect(IDC_EDIT_POINT);
  Window(d.Item(IDC_EDIT_POINT)).Move(edit.left, edit.top, 50, Height(edit));
  d.Send(WM_COMMAND, IDM_VIEW_IMPORT_SCREEN);
  const RECT import = ControlRect(IDC_IMPORT_LIST);
  const RECT points = ControlRect(IDC_POINT_LIST);
  EXPECT_EQ(import.left, 0);
  EXPECT_EQ(import.right, 270);
  EXPECT_EQ(points.left, 270);
  EXPECT_EQ(points.right, 540);
  EXPECT_EQ(import.bottom, points.bottom);
}

TEST_F(MainWindowTest, TheWindowKeepsItsMinimumSize) {
  MainDialog& d = Start("");
  const int minWidth = d.MinWidth();
  const int minHeight = d.MinHeight();
  ASSERT_GT(minWidth, 0);

  // Dragging the left edge inward past the minimum: the right edge gives way.
  RECT r{300, 100, 300 + minWidth - 80, 100 + minHeight + 40};
  EXPECT_TRUE(d.Send(WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.right, 300 + minWidth);
  EXPECT_EQ(r.bottom, 100 + minHeight + 40);

  RECT shorter{0, 0, minWidth + 10, minHeight - 1};
  d.Send(WM_SIZING, WMSZ_BOTTOM, reinterpret_cast<LPARAM>(&shorter));
  EXPECT_EQ(shorter.right, minWidth + 10);
  EXPECT_EQ(shorter.bottom, minHeight);

  RECT larger{10, 20, 10 + minWidth + 5, 20 + minHeight + 5};
  const RECT before = larger;
  d.Send(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&larger));
  EXPECT_TRUE(::EqualRect(&before, &larger));
}
