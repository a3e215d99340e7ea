// Undo and redo through the main window: every kind of change put back byte for byte with
// the list's rows, selection, focus and scroll position; the modified flag, the question on
// closing, the menu items and the keys.
#include <functional>

#include "app/tests/editing_fixture.h"

namespace {

const PointTyping kNewPoint{"Added", "", "", "", "139/46/01.500", "35/40/52.250", "7", -1};

struct Shown {
  std::array<std::uint8_t, kPointFileLength> image;
  std::vector<int> selected;
  int focused;
  int top;
  std::string count;
};

class HistoryTest : public EditingTest {
 protected:
  Shown Now() {
    return {Points().Image(), SelectedRows(), List().GetNextItem(-1, LVNI_FOCUSED),
            static_cast<int>(List().Send(LVM_GETTOPINDEX)), window.Status().PaneText(2)};
  }
  void ExpectShows(const Shown& expected, const char* what) {
    const Shown now = Now();
    EXPECT_TRUE(now.image == expected.image) << what;
    EXPECT_EQ(now.selected, expected.selected) << what;
    EXPECT_EQ(now.focused, expected.focused) << what;
    EXPECT_EQ(now.top, expected.top) << what;
    EXPECT_EQ(now.count, expected.count) << what;
    ExpectListMatchesTable();
  }
  void Drag(int from, int to) {
    NotifyFromList(LVN_BEGINDRAG, from);
    RECT r{};
    List().GetItemRect(to, r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    List().Send(WM_MOUSEMOVE, MK_LBUTTON, at);
    List().Send(WM_LBUTTONUP, 0, at);
  }
  void ClickHeader(int column) {
    NMLISTVIEW notice{};
    notice.hdr = {List().Handle(), IDC_POINT_LIST, LVN_COLUMNCLICK};
    notice.iItem = -1;
    notice.iSubItem = column;
    window.Send(WM_NOTIFY, IDC_POINT_LIST, reinterpret_cast<LPARAM>(&notice));
  }
};

TEST_F(HistoryTest, EveryKindOfChangeIsUndoneAndRedoneExactly) {
  struct Case {
    const char* name;
    std::vector<int> selected;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"edit", {12}, [this] {
         ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) {
           d.SetItemText(IDC_POINT_NAME, "Renamed");
           d.PostCommand(IDOK);
         });
         Command(IDC_EDIT_POINT);
       }},
      {"add", {20}, [this] {
         ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kNewPoint); });
         Command(IDC_ADD_POINT);
       }},
      {"delete three rows", {3, 4, 30}, [this] { Command(IDC_DELETE_POINT); }},
      {"drag", {25}, [this] { Drag(25, 22); }},
      // The points are in name order already: the second click reverses them.
      {"sort", {2, 7}, [this] { ClickHeader(1), ClickHeader(1); }},
      {"bulk edit", {2, 5, 9}, [this] {
         ScopedDialogInitHook hook(IDD_BULK_EDIT, [](Dialog& d) {
           ::SendMessageW(d.Item(IDC_BULK_ICON), CB_SETCURSEL, 12, 0);
           ComboBox(d.Item(IDC_BULK_VOICE)).SetCurSel(4);
           d.PostCommand(IDOK);
         });
         Command(IDM_BULK_EDIT);
       }},
      {"content replaced", {1}, [this] { window.ReplacePoints(NumberedPoints(5)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenFile(NumberedPoints(40));
    List().EnsureVisible(39, false);
    List().ScrollToTop(10);
    SelectRows(c.selected);
    List().SetItemState(c.selected.front(), LVIS_FOCUSED, LVIS_FOCUSED);
    const Shown before = Now();
    c.change();
    const Shown after = Now();
    ASSERT_FALSE(after.image == before.image);
    ASSERT_TRUE(Points().IsModified());

    // Moved about between the steps: the undo puts the list back all the same.
    SelectRows({0});
    List().ScrollToTop(0);
    Command(ID_EDIT_UNDO);
    ExpectShows(before, "undone");
    EXPECT_FALSE(Points().IsModified());
    Command(ID_EDIT_REDO);
    ExpectShows(after, "redone");
    EXPECT_TRUE(Points().IsModified());
    Command(ID_EDIT_REDO);  // nothing more to redo: nothing moves
    ExpectShows(after, "redone once");
  }
}

TEST_F(HistoryTest, AHeaderClickSortsTheFileAndASecondReverses) {
  PointFile file = NumberedPoints(4);
  file.SetName(1, "Z");
  file.SetIcon(2, 99);
  file.UpdateChecksum(1);
  file.UpdateChecksum(2);
  OpenFile(file);
  ClickHeader(1);
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P02", "P03", "Z"}));
  ClickHeader(1);
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"Z", "P03", "P02", "P00"}));
  ClickHeader(0);  // another column starts ascending
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "Z", "P03", "P02"}));
  ExpectListMatchesTable();
  EXPECT_TRUE(Points().IsModified());
  for (int undo = 0; undo < 3; ++undo) Command(ID_EDIT_UNDO);
  EXPECT_TRUE(Points().Image() == file.Image());
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(HistoryTest, BulkEditSetsTheChosenFieldsOnEverySelectedPoint) {
  OpenFile(WithStrayPoint(NumberedPoints(6), 9, "Far"));
  SelectRows({1});
  EXPECT_EQ(EditMenuState(IDM_BULK_EDIT), static_cast<UINT>(MF_GRAYED));
  SelectRows({1, 4, 7, 9});  // row 7: a blank row of the gap
  EXPECT_EQ(EditMenuState(IDM_BULK_EDIT), 0u);
  std::vector<std::string> offered;
  ScopedDialogInitHook hook(IDD_BULK_EDIT, [&](Dialog& d) {
    const int icons = static_cast<int>(::SendMessageW(d.Item(IDC_BULK_ICON), CB_GETCOUNT, 0, 0));
    offered = {std::to_string(icons), ComboBox(d.Item(IDC_BULK_VOICE)).GetLBText(0),
               std::to_string(ComboBox(d.Item(IDC_BULK_VOICE)).GetCount())};
    ::SendMessageW(d.Item(IDC_BULK_ICON), CB_SETCURSEL, 30, 0);  // icon 30; the voice stays
    d.PostCommand(IDOK);
  });
  const PointFile before = Points();
  Command(IDM_BULK_EDIT);
  EXPECT_EQ(offered, (std::vector<std::string>{"56", "変更しない", "18"}));
  for (int slot : {1, 4, 9}) {
    EXPECT_EQ(Points().GetIcon(slot), 30) << slot;
    EXPECT_EQ(Points().GetVoiceCode(slot), before.GetVoiceCode(slot)) << slot;
    EXPECT_EQ(Points().GetChecksum(slot), Points().ComputeChecksum(slot)) << slot;
  }
  EXPECT_EQ(Points().GetIcon(2), before.GetIcon(2));
  EXPECT_FALSE(Points().IsUsed(7));
  ExpectListMatchesTable();
  Command(ID_EDIT_UNDO);
  EXPECT_TRUE(Points().Image() == before.Image());
}

TEST_F(HistoryTest, AStepBackToTheSavedStateAsksNothingOnClosing) {
  const std::string path = OpenFile(NumberedPoints(6));
  EXPECT_EQ(EditMenuState(ID_EDIT_UNDO), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(EditMenuState(ID_EDIT_REDO), static_cast<UINT>(MF_GRAYED));
  SelectRows({1});
  Command(IDC_DELETE_POINT);
  Command(ID_FILE_SAVE);  // saved with five points
  SelectRows({1});
  Command(IDC_DELETE_POINT);
  EXPECT_EQ(EditMenuState(ID_EDIT_UNDO), 0u);
  EXPECT_EQ(EditMenuState(ID_EDIT_REDO), static_cast<UINT>(MF_GRAYED));

  // The next save fails: the mark stays at the five points on the disk.
  prompts.QueueFile(dir.File("gone\\points.pnt"));
  Command(ID_FILE_SAVE_AS);
  ASSERT_EQ(prompts.Messages().size(), 1u);
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(Points().GetPointCount(), 5);
  EXPECT_FALSE(Points().IsModified());
  EXPECT_EQ(EditMenuState(ID_EDIT_REDO), 0u);
  Command(ID_EDIT_UNDO);
  EXPECT_TRUE(Points().IsModified());  // six points: not what the disk holds
  Command(ID_EDIT_REDO);
  Command(IDCANCEL);  // closes without a question
  EXPECT_TRUE(prompts.Questions().empty());
  EXPECT_FALSE(window.IsWindow());
  EXPECT_EQ(ReadFileBytes(path).size(), 64048u);
}

TEST_F(HistoryTest, ReplacingTheContentWithTheSameChangesNothing) {
  OpenFile(NumberedPoints(6));
  window.ReplacePoints(NumberedPoints(6));
  EXPECT_FALSE(window.History().CanUndo());
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(HistoryTest, OpeningAFileStartsAFreshHistory) {
  OpenFile(NumberedPoints(6));
  SelectRows({0});
  Command(IDC_DELETE_POINT);
  OpenFile(NumberedPoints(3), "other.pnt");
  EXPECT_FALSE(window.History().CanUndo());
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(Points().GetPointCount(), 3);
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(HistoryTest, CtrlZAndCtrlYActInTheListButAnEditBoxKeepsItsOwnCtrlZ) {
  OpenFile(NumberedPoints(6));
  SelectRows({0, 1});
  Command(IDC_DELETE_POINT);
  EXPECT_FALSE(PressCtrl(window.Item(IDC_MARKER_LONGITUDE), 'Z'));
  EXPECT_EQ(Points().GetPointCount(), 4);
  EXPECT_TRUE(PressCtrl(List().Handle(), 'Z'));
  EXPECT_EQ(Points().GetPointCount(), 6);
  EXPECT_TRUE(PressCtrl(window.Item(IDC_MARKER_LONGITUDE), 'Y'));
  EXPECT_EQ(Points().GetPointCount(), 4);
  // Nothing is taken while a modal dialog is up over the window.
  window.Enable(false);
  EXPECT_FALSE(PressCtrl(List().Handle(), 'Z'));
  window.Enable(true);
}

}  // namespace
