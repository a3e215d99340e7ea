// The point list: what it shows, the row click, the marks, and dragging rows.
#include "editing_fixture.h"

namespace {

POINT RowCentre(const PointListView& list, int row) {
  RECT r{};
  list.GetItemRect(row, r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class PointListTest : public EditingTest {
 protected:
  // A drag as the list sees it: begin-drag on `from`, the mouse moved to `at` (list
  // client coordinates), the button released there.
  void Drag(int from, POINT at) {
    NotifyFromList(LVN_BEGINDRAG, from);
    List().Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    List().Send(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
  void DragOnto(int from, int to) {
    List().EnsureVisible(to, false);
    Drag(from, RowCentre(List(), to));
  }
  std::vector<std::string> Names(std::initializer_list<int> numbers) {
    std::vector<std::string> names;
    for (int n : numbers) names.push_back((n < 10 ? "P0" : "P") + std::to_string(n));
    return names;
  }
};

TEST_F(PointListTest, ShowsOneRowPerPointWithItsIconAndTheCount) {
  const std::string path = OpenFile(NumberedPoints(12));
  EXPECT_EQ(List().GetItemCount(), 12);
  ExpectListMatchesTable();
  EXPECT_EQ(RowTexts(6).icon, "07");
  EXPECT_EQ(List().GetItemImage(6), 6);
  EXPECT_EQ(RowTexts(0).longitude, "139/44/28.000");
  EXPECT_EQ(RowTexts(0).latitude, " 35/39/29.000");
  EXPECT_EQ(window.Status().PaneText(0), path);
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  12");

  OpenFile(PointFile(), "empty.pnt");
  EXPECT_EQ(List().GetItemCount(), 0);
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  0");

  OpenFile(NumberedPoints(kSlotCount), "full.pnt");
  EXPECT_EQ(List().GetItemCount(), kSlotCount);
  ExpectListMatchesTable();
}

TEST_F(PointListTest, HasTheColumnsColoursAndStylesOfThePointList) {
  const char* headings[] = {"アイコン", "名称", "愛称", "位置", "ＴＥＬ", "経度", "緯度"};
  const int widths[] = {60, 180, 120, 180, 100, 100, 100};
  ASSERT_EQ(List().ColumnCount(), 7);
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(List().GetColumnText(c), headings[c]);
    EXPECT_EQ(List().GetColumnWidth(c), widths[c]);
  }
  EXPECT_EQ(List().GetExtendedStyle() & 0x21u, 0x21u);
  EXPECT_EQ(List().GetBkColor(), RGB(52, 95, 129));
  EXPECT_EQ(List().GetTextBkColor(), RGB(52, 95, 129));
  EXPECT_EQ(List().GetTextColor(), RGB(255, 255, 255));
  // Both lists show the window's image lists, so neither may destroy them with itself.
  EXPECT_TRUE(::GetWindowLongPtrW(List().Handle(), GWL_STYLE) & LVS_SHAREIMAGELISTS);
  EXPECT_EQ(List().GetImageList(LVSIL_SMALL), window.SmallIcons().Handle());
  EXPECT_EQ(List().GetImageList(LVSIL_NORMAL), window.LargeIcons().Handle());
  EXPECT_EQ(window.SmallIcons().GetImageCount(), 55);
  EXPECT_EQ(window.LargeIcons().GetImageCount(), 55);
}

TEST_F(PointListTest, AGapInAForeignFileShowsAsBlankRowsSoRowsStayOnTheirSlots) {
  PointFile file = NumberedPoints(3);
  file.InsertRecord(6);  // a point beyond an empty slot
  file.SetName(6, "STRAY");
  file.UpdateChecksum(6);
  OpenFile(file);
  ASSERT_EQ(List().GetItemCount(), 7);
  EXPECT_EQ(RowTexts(4), PointTextRow{});
  EXPECT_EQ(List().GetItemImage(4), -1);
  EXPECT_EQ(RowTexts(6).name, "STRAY");
  ExpectListMatchesTable();
}

TEST_F(PointListTest, ClickReportsTheFirstSelectedRowInTheStatusBar) {
  OpenFile(NumberedPoints(20));
  SelectRows({11, 14});
  EXPECT_EQ(NotifyFromList(NM_CLICK, 14), 0);
  EXPECT_EQ(window.Status().PaneText(1), "  12行");
  EXPECT_TRUE(List().GetItemState(11, LVIS_FOCUSED));

  SelectRows({});
  window.Status().SetPaneText(1, "");
  NotifyFromList(NM_CLICK, -1);
  EXPECT_EQ(window.Status().PaneText(1), "");
}

TEST_F(PointListTest, SelectAllAndDeselectSetMarksButKeepTheSelection) {
  OpenFile(NumberedPoints(4));
  SelectRows({1});
  Command(IDM_SELECT_ALL);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(List().GetItemState(i, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  Command(IDM_DESELECT_ALL);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(List().GetItemState(i, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(Points().IsModified(), 0);
}

TEST_F(PointListTest, DraggingARowUpOrDownMovesItsPointToo) {
  OpenFile(NumberedPoints(8));
  SelectRows({5});
  DragOnto(5, 2);
  EXPECT_EQ(RowNames(), Names({0, 1, 5, 2, 3, 4, 6, 7}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});  // the selection moved with the row
  ExpectListMatchesTable();
  EXPECT_EQ(Points().IsModified(), 1);
  EXPECT_FALSE(List().IsDragging());

  DragOnto(0, 4);  // before row 4: the point ends at index 3
  EXPECT_EQ(RowNames(), Names({1, 5, 2, 0, 3, 4, 6, 7}));
  ExpectListMatchesTable();
}

TEST_F(PointListTest, DroppingOnItselfOrItsNextRowMovesNothing) {
  OpenFile(NumberedPoints(8));
  DragOnto(3, 4);
  DragOnto(3, 3);
  EXPECT_EQ(RowNames(), Names({0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(Points().IsModified(), 0);
}

TEST_F(PointListTest, DroppingBelowTheRowsOrOnTheHeadersMovesToTheEndOrTop) {
  OpenFile(NumberedPoints(5));
  const RECT client = List().ClientRect();
  Drag(1, {client.right / 2, client.bottom - 3});
  EXPECT_EQ(RowNames(), Names({0, 2, 3, 4, 1}));
  Drag(3, {client.right / 2, 5});
  EXPECT_EQ(RowNames(), Names({4, 0, 2, 3, 1}));
  // The lower part of the headers, down to the first row, counts as the top as well.
  RECT first{};
  List().GetItemRect(0, first);
  Drag(4, {client.right / 2, first.top - 2});
  EXPECT_EQ(RowNames(), Names({1, 4, 0, 2, 3}));
  ExpectListMatchesTable();
}

TEST_F(PointListTest, ReleasingOutsideTheListMovesNothingAndClearsTheHighlight) {
  OpenFile(NumberedPoints(5));
  const POINT over = RowCentre(List(), 3);
  NotifyFromList(LVN_BEGINDRAG, 0);
  List().Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(List().DropTarget(), 3);
  EXPECT_TRUE(List().GetItemState(3, LVIS_DROPHILITED));
  List().Send(WM_LBUTTONUP, 0, MAKELPARAM(-20, over.y));
  EXPECT_FALSE(List().GetItemState(3, LVIS_DROPHILITED));
  EXPECT_FALSE(List().IsDragging());
  EXPECT_EQ(RowNames(), Names({0, 1, 2, 3, 4}));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(PointListTest, AFullListDragsAndStaysInStepWithTheTable) {
  OpenFile(NumberedPoints(kSlotCount));
  DragOnto(200, 10);
  EXPECT_EQ(RowTexts(10).name, "P200");
  ExpectListMatchesTable();
  Drag(0, {List().ClientRect().right / 2, List().ClientRect().bottom - 3});
  ExpectListMatchesTable();
}

TEST_F(PointListTest, APointBehindAGapCannotBeDraggedAndItsRowStays) {
  PointFile file = NumberedPoints(3);
  file.InsertRecord(5);
  file.SetName(5, "STRAY");
  file.UpdateChecksum(5);
  OpenFile(file);
  DragOnto(5, 0);
  EXPECT_EQ(RowTexts(5).name, "STRAY");
  EXPECT_EQ(RowTexts(0).name, "P00");
  ExpectListMatchesTable();
}

TEST(PointIcons, MissingIconFilesFallBackToTheBuiltInIcon) {
  TempDirectory empty;
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(empty.WidePath().c_str()));
  {
    MainDialog window("");
    ASSERT_TRUE(window.Create(nullptr));
    EXPECT_EQ(window.SmallIcons().GetImageCount(), 55);
    EXPECT_EQ(window.LargeIcons().GetImageCount(), 55);
    int cx = 0, cy = 0;
    window.LargeIcons().GetIconSize(cx, cy);
    EXPECT_EQ(cx, 32);
    window.Destroy();
  }
  ::SetCurrentDirectoryW(previous);
}

}  // namespace
