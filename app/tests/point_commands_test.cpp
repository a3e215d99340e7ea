// Edit, add and delete through the main window's commands, with the edit dialog filled
// through its controls.
#include "app/tests/editing_fixture.h"

#include <cstdint>
#include <vector>

#include "framework/controls.h"
#include "app/point_edit_dialog.h"

namespace {

const PointTyping kTokyo{"Tokyo", "eki", "Chiyoda", "03-1234", "139/46/01.500", "35/40/52.250", "12", 3};

class PointCommandsTest : public EditingTest {
 protected:
  // Saves through the menu's Save and returns the file's bytes.
  std::vector<unsigned char> SaveAndRead(const std::string& path) {
    Command(ID_FILE_SAVE);
    return ReadFileBytes(path);
  }
  static std::vector<unsigned char> Bytes(const PointFile& file) {
    return std::vector<unsigned char>(file.Image().begin(), file.Image().end());
  }
  // The pixels of the list's client area (rows and headers) as they are on the screen. (The
  // themed scroll bars are left out: Wine draws their thumb a shade apart from one repaint
  // to the next.)
  std::vector<std::uint32_t> ShownList() {
    PumpMessages();
    RECT r = List().ClientRect();
    ::MapWindowPoints(List(), HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC copy = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(copy, bitmap);
    ::BitBlt(copy, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> shown(pixels, pixels + static_cast<size_t>(width) * height);
    ::SelectObject(copy, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(copy);
    ::ReleaseDC(nullptr, screen);
    return shown;
  }
  // How many pixels differ from what the list shows once it has repainted all of itself.
  int PixelsAWholeRepaintChanges() {
    const std::vector<std::uint32_t> before = ShownList();
    ::RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::vector<std::uint32_t> after = ShownList();
    int changed = 0;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) changed += before[i] != after[i];
    return changed;
  }
  // Paints over part of the rows and leaves it to be repainted, as a closed dialog does.
  void ExposeRows(const RECT& part) {
    HDC dc = ::GetDC(List());
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(dc, &part, red);
    ::DeleteObject(red);
    ::ReleaseDC(List(), dc);
    ::InvalidateRect(List(), &part, TRUE);
  }
  // The stamp a new point got when it was inserted, copied into an expected image.
  void TakeStamp(PointFile& expected, int slot) {
    expected.SetTime(slot, Points().GetTime(slot));
    expected.SetDate(slot, Points().GetDate(slot));
    expected.UpdateChecksum(slot);
  }
};

TEST_F(PointCommandsTest, EditWithoutSelectionOpensNothing) {
  OpenFile(NumberedPoints(3));
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { d.PostCommand(IDCANCEL); });
  Command(IDC_EDIT_POINT);
  EXPECT_EQ(hook.Calls(), 0);
}

TEST_F(PointCommandsTest, EditChangesTheFirstSelectedPointAndOnlyTheChangedField) {
  const std::string path = OpenFile(NumberedPoints(8));
  SelectRows({3, 7});
  std::string shownName;
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [&](Dialog& d) {
    shownName = d.ItemText(IDC_POINT_NAME);
    d.SetItemText(IDC_POINT_NICKNAME, "hub");
    d.PostCommand(IDOK);
  });
  Command(IDC_EDIT_POINT);
  EXPECT_EQ(shownName, "P03");
  EXPECT_EQ(RowTexts(3).nickname, "hub");
  ExpectListMatchesTable();

  PointFile expected = NumberedPoints(8);
  expected.SetNickname(3, "hub");
  expected.UpdateChecksum(3);
  EXPECT_EQ(SaveAndRead(path), Bytes(expected));
}

TEST_F(PointCommandsTest, DoubleClickEditsTheFirstSelectedRowNotTheOneUnderThePointer) {
  OpenFile(NumberedPoints(8));
  SelectRows({2, 6});
  std::string shownName;
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [&](Dialog& d) {
    shownName = d.ItemText(IDC_POINT_NAME);
    d.SetItemText(IDC_POINT_ICON_NUMBER, "30");
    d.PostCommand(IDOK);
  });
  EXPECT_EQ(NotifyFromList(NM_DBLCLK, 6), 0);
  EXPECT_EQ(shownName, "P02");
  EXPECT_EQ(Points().GetIcon(2), 30);
  EXPECT_EQ(List().GetItemImage(2), 29);  // the row shows the point's new picture

  SelectRows({});
  NotifyFromList(NM_DBLCLK, 6);
  EXPECT_EQ(hook.Calls(), 1);
}

TEST_F(PointCommandsTest, OkWithoutChangesAndCancelLeaveThePointAndTheFlag) {
  OpenFile(NumberedPoints(4));
  const std::vector<unsigned char> before = Bytes(Points());
  SelectRows({1});
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { d.PostCommand(IDOK); });
    Command(IDC_EDIT_POINT);
  }
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) {
      d.SetItemText(IDC_POINT_NAME, "changed");
      d.PostCommand(IDCANCEL);
    });
    Command(IDC_EDIT_POINT);
  }
  EXPECT_EQ(Bytes(Points()), before);
  EXPECT_FALSE(Points().IsModified());
  ExpectListMatchesTable();
}

TEST_F(PointCommandsTest, AddPutsTheTypedPointBeforeTheSelectedOneAndSelectsOnlyIt) {
  const std::string path = OpenFile(NumberedPoints(8));
  SelectRows({5, 6});
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kTokyo); });
  Command(IDC_ADD_POINT);
  ASSERT_EQ(Points().GetPointCount(), 9);
  EXPECT_EQ(RowTexts(5).name, "Tokyo");
  EXPECT_EQ(RowTexts(6).name, "P05");
  EXPECT_EQ(SelectedRows(), std::vector<int>{5});
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  9");
  ExpectListMatchesTable();

  PointFile expected = NumberedPoints(8);
  expected.InsertRecord(5);
  expected.SetName(5, "Tokyo");
  expected.SetLocation(5, "Chiyoda");
  expected.SetLongitudeText(5, "139/46/01.500");
  expected.SetLatitudeText(5, "35/40/52.250");
  expected.SetIcon(5, 12);
  expected.SetNickname(5, "eki");
  expected.SetPhone(5, "03-1234");
  expected.SetVoiceCode(5, 0x040);  // siren, the box's fourth entry
  TakeStamp(expected, 5);
  const std::vector<unsigned char> saved = SaveAndRead(path);
  EXPECT_EQ(saved, Bytes(expected));

  // A few bytes by hand: in use, 139°46'01.5" = 503161.5 s = 0x3D6BCC00 units, icon 12,
  // the flag word with created, nickname, phone and the siren's voice bits.
  ASSERT_EQ(saved.size(), 64048u);
  const unsigned char* slot = saved.data() + 48 + 5 * 256;
  EXPECT_EQ(std::vector<unsigned char>(slot, slot + 8),
            (std::vector<unsigned char>{0, 0, 0, 1, 0x3D, 0x6B, 0xCC, 0x00}));
  EXPECT_EQ(slot[149], 12);
  EXPECT_EQ(slot[150], 0xE0);
  EXPECT_EQ(slot[151], 0x40);
}

TEST_F(PointCommandsTest, APointAddedNearTheEndOfALongListIsScrolledIntoView) {
  OpenFile(NumberedPoints(200));
  SelectRows({199});
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kTokyo); });
  Command(IDC_ADD_POINT);
  ASSERT_EQ(RowTexts(199).name, "Tokyo");
  // The list scrolled while its redrawing was paused; the row must be on the screen now.
  const int top = static_cast<int>(List().Send(LVM_GETTOPINDEX));
  const int perPage = static_cast<int>(List().Send(LVM_GETCOUNTPERPAGE));
  EXPECT_LE(top, 199);
  EXPECT_LT(199, top + perPage);
  RECT row{};
  row.left = LVIR_BOUNDS;
  ASSERT_TRUE(List().Send(LVM_GETITEMRECT, 199, reinterpret_cast<LPARAM>(&row)));
  const RECT client = List().ClientRect();
  EXPECT_GE(row.top, client.top);
  EXPECT_LE(row.bottom, client.bottom);
}

TEST_F(PointCommandsTest, AddWithoutSelectionGoesToTheTopAndCancelChangesNothing) {
  OpenFile(NumberedPoints(3));
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kTokyo); });
    Command(IDC_ADD_POINT);
  }
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"Tokyo", "P00", "P01", "P02"}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});

  const std::vector<unsigned char> before = Bytes(Points());
  SelectRows({2});
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { d.PostCommand(IDCANCEL); });
  Command(IDC_ADD_POINT);
  EXPECT_EQ(Bytes(Points()), before);
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});
  ExpectListMatchesTable();
}

TEST_F(PointCommandsTest, AddStopsAtTheLimitOf250Points) {
  OpenFile(NumberedPoints(kSlotCount));
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { d.PostCommand(IDCANCEL); });
  Command(IDC_ADD_POINT);
  EXPECT_EQ(hook.Calls(), 0);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"250地点以上は登録出来ません"});

  OpenFile(NumberedPoints(kSlotCount - 1), "almost.pnt");
  ScopedDialogInitHook typing(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kTokyo); });
  Command(IDC_ADD_POINT);
  EXPECT_EQ(Points().GetPointCount(), kSlotCount);
  ExpectListMatchesTable();
}

TEST_F(PointCommandsTest, DeleteRemovesTheSelectedPointsAndSelectsWhatFollows) {
  OpenFile(NumberedPoints(8));
  SelectRows({2, 3});
  Command(IDC_DELETE_POINT);
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P04", "P05", "P06", "P07"}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});
  EXPECT_TRUE(List().GetItemState(2, LVIS_FOCUSED));
  ExpectListMatchesTable();

  SelectRows({1, 4});  // P01 and P06
  Command(IDC_DELETE_POINT);
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P04", "P05", "P07"}));
  EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3}));  // the old P04 and P07
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  4");

  SelectRows({3});
  Command(IDC_DELETE_POINT);
  EXPECT_TRUE(SelectedRows().empty());
  ExpectListMatchesTable();
  SelectRows({});
  Command(IDC_DELETE_POINT);
  EXPECT_EQ(Points().GetPointCount(), 3);
}

TEST_F(PointCommandsTest, AddAndDeleteRepaintWhatChangedAsAWholeRepaintWould) {
  // The rows above the first changed one are not repainted; what a closed dialog left
  // behind is. The focus leaving a row above the selection changes that row too.
  OpenFile(NumberedPoints(60));
  const RECT rows = List().ClientRect();
  SelectRows({6});
  List().SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
  ExposeRows({rows.left + 40, rows.top + 60, rows.left + 300, rows.top + 120});
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kTokyo); });
    Command(IDC_ADD_POINT);
  }
  ASSERT_EQ(RowTexts(6).name, "Tokyo");
  EXPECT_EQ(PixelsAWholeRepaintChanges(), 0) << "after the add";

  SelectRows({4, 9});
  List().SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
  ExposeRows({rows.left + 100, rows.top + 30, rows.left + 200, rows.top + 200});
  Command(IDC_DELETE_POINT);
  ASSERT_EQ(Points().GetPointCount(), 59);
  EXPECT_EQ(PixelsAWholeRepaintChanges(), 0) << "after the delete";

  // Scrolled to a new row at the end: everything moved.
  List().EnsureVisible(58, false);
  SelectRows({58});
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kTokyo); });
    Command(IDC_ADD_POINT);
  }
  EXPECT_EQ(PixelsAWholeRepaintChanges(), 0) << "after an add at the end";
}

TEST_F(PointCommandsTest, CommandsOnAFileWithAGapKeepEveryRowOnItsSlot) {
  OpenFile(WithStrayPoint(NumberedPoints(3), 5, "STRAY"));

  SelectRows({5});  // adding before the point behind the gap: it joins the leading run
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { TypeIntoEditDialog(d, kTokyo); });
    Command(IDC_ADD_POINT);
  }
  EXPECT_EQ(Points().GetName(3), "Tokyo");
  EXPECT_EQ(SelectedRows(), std::vector<int>{3});
  ExpectListMatchesTable();

  SelectRows({4});  // the blank row of the empty slot: nothing to edit
  {
    ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) { d.PostCommand(IDCANCEL); });
    Command(IDC_EDIT_POINT);
    EXPECT_EQ(hook.Calls(), 0);
  }

  SelectRows({0, 5});
  Command(IDC_DELETE_POINT);
  EXPECT_EQ(Points().GetName(0), "P01");
  EXPECT_FALSE(Points().IsUsed(5));
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  ExpectListMatchesTable();
}

}  // namespace
