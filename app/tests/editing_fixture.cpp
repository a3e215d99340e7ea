#include "app/tests/editing_fixture.h"

#include "framework/controls.h"

PointFile NumberedPoints(int count) {
  PointFile file;
  for (int i = 0; i < count; ++i) {
    file.InsertRecord(i);
    char name[8];
    std::snprintf(name, sizeof name, "P%02d", i);
    file.SetName(i, name);
    file.SetLongitudeText(i, "139/44/28.000");
    file.SetLatitudeText(i, "35/39/29.000");
    file.SetIcon(i, i % 55 + 1);
    file.SetDate(i, (24u << 16) | (5u << 8) | 6u);
    file.SetTime(i, (12u << 16) | (34u << 8) | 56u);
  }
  // InsertRecord moves slots: seal them all once they are in place.
  for (int i = 0; i < count; ++i) file.UpdateChecksum(i);
  file.SetModified(false);
  return file;
}

PointFile WithStrayPoint(PointFile file, int slot, const std::string& name) {
  file.InsertRecord(slot);
  file.SetName(slot, name);
  file.UpdateChecksum(slot);
  return file;
}

void EditingTest::SetUp() {
  window.UseBackupFolder(backups);
  ASSERT_TRUE(window.Create(nullptr));
  window.Show(SW_SHOW);
  PumpMessages();
}

void EditingTest::TearDown() {
  if (window.IsWindow()) window.Destroy();
  PumpMessages();
}

std::string EditingTest::OpenFile(const PointFile& file, const std::string& name) {
  const std::string path = dir.File(name);
  const auto& image = file.Image();
  EXPECT_TRUE(WriteFileBytes(path, std::vector<unsigned char>(image.begin(), image.end())));
  window.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir.WidePath() + std::wstring(name.begin(), name.end())})));
  return path;
}

void EditingTest::AddPointAs(const PointTyping& typing) {
  ScopedDialogInitHook hook(IDD_POINT_EDIT, [&typing](Dialog& d) { TypeIntoEditDialog(d, typing); });
  Command(IDC_ADD_POINT);
}

LRESULT EditingTest::NotifyFromList(UINT code, int item) {
  NMITEMACTIVATE notice{};
  notice.hdr.hwndFrom = List().Handle();
  notice.hdr.idFrom = IDC_POINT_LIST;
  notice.hdr.code = code;
  notice.iItem = item;
  return window.Send(WM_NOTIFY, IDC_POINT_LIST, reinterpret_cast<LPARAM>(&notice));
}

void EditingTest::SelectRows(const std::vector<int>& rows) {
  List().SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : rows) List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

std::vector<int> EditingTest::SelectedRows() const {
  std::vector<int> rows;
  const PointListView& list = const_cast<EditingTest*>(this)->List();
  for (int i = -1; (i = list.GetNextItem(i, LVNI_SELECTED)) >= 0;) rows.push_back(i);
  return rows;
}

std::vector<std::string> EditingTest::RowNames() const {
  std::vector<std::string> names;
  const PointListView& list = const_cast<EditingTest*>(this)->List();
  for (int i = 0; i < list.GetItemCount(); ++i) names.push_back(list.GetItemText(i, 1));
  return names;
}

PointTextRow EditingTest::RowTexts(int row) const {
  const PointListView& list = const_cast<EditingTest*>(this)->List();
  PointTextRow texts;
  texts.icon = list.GetItemText(row, 0);
  texts.name = list.GetItemText(row, 1);
  texts.nickname = list.GetItemText(row, 2);
  texts.location = list.GetItemText(row, 3);
  texts.phone = list.GetItemText(row, 4);
  texts.longitude = list.GetItemText(row, 5);
  texts.latitude = list.GetItemText(row, 6);
  return texts;
}

void EditingTest::ExpectListMatchesTable() const {
  auto& self = *const_cast<EditingTest*>(this);
  const PointFile& file = self.Points();
  ASSERT_EQ(self.List().GetItemCount(), ListedSlotCount(file));
  for (int i = 0; i < self.List().GetItemCount(); ++i) {
    const PointTextRow expected = PointTextRow::FromSlot(file, i);
    EXPECT_EQ(RowTexts(i), expected) << "row " << i;
    EXPECT_EQ(self.List().GetItemImage(i), IconImageIndex(expected.icon)) << "row " << i;
  }
}

void TypeIntoEditDialog(Dialog& dialog, const PointTyping& typing) {
  dialog.SetItemText(IDC_POINT_NAME, typing.name);
  dialog.SetItemText(IDC_POINT_NICKNAME, typing.nickname);
  dialog.SetItemText(IDC_POINT_LOCATION, typing.location);
  dialog.SetItemText(IDC_POINT_PHONE, typing.phone);
  dialog.SetItemText(IDC_POINT_LONGITUDE, typing.longitude);
  dialog.SetItemText(IDC_POINT_LATITUDE, typing.latitude);
  if (!typing.iconNumber.empty()) dialog.SetItemText(IDC_POINT_ICON_NUMBER, typing.iconNumber);
  if (typing.voiceIndex >= 0) ComboBox(dialog.Item(IDC_POINT_VOICE)).SetCurSel(typing.voiceIndex);
  dialog.PostCommand(IDOK);
  dialog.PostCommand(IDCANCEL);
}

UINT EditingTest::EditMenuState(UINT id) {
  const Menu popup = Menu(window.GetMenu()).SubMenu(1);
  window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.Handle()), 1);
  return popup.ItemState(id) & (MF_GRAYED | MF_DISABLED);
}

bool EditingTest::PressCtrl(HWND target, WPARAM key) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
  const bool translated = ::CallMsgFilterW(&msg, MSGF_DIALOGBOX) != 0;
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  PumpMessages();
  return translated;
}
