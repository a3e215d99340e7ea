// The point list's contents, the status texts, the icon image lists, and the list's own
// commands and notifications.
#include <windowsx.h>

#include <array>
#include <cstdio>
#include <utility>

#include "framework/text_encoding.h"
#include "app/main_dialog.h"
#include "resources/resource.h"

namespace {

constexpr int kIconListInitial = 4;
constexpr int kIconListGrowth = 4;
constexpr int kEditMenuPosition = 1;  // "編集" in menu 128

}  // namespace

void MainDialog::FillPointList() {
  {
    ListRedrawPause pause(m_pointList);
    m_pointList.DeleteAllItems();
    // Row i shows slot i. A file from elsewhere may have empty slots before a used one;
    // they show as blank rows, so that every point keeps its own row.
    const int rows = ListedSlotCount(m_pointFile);
    for (int i = 0; i < rows; ++i) {
      m_row.ReadSlot(m_pointFile, i);
      AddPointRow(m_row, i);
    }
  }
  // Filled before the window first shows (a file named on the command line), the list is
  // told the size of its rows now rather than in its first paint.
  if (!m_pointList.IsVisible()) m_pointList.MeasureRows();
  UpdateStatusTexts();
  m_pointList.Update();
}

void MainDialog::RefreshPointRow(int index) {
  m_row.ReadSlot(m_pointFile, index);
  m_pointList.UpdateRow(m_row, index);
}

void MainDialog::AddPointRow(const PointTextRow& row, int index) { m_pointList.InsertRow(row, index); }

void MainDialog::SelectRow(int index) {
  m_pointList.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void MainDialog::UpdateStatusTexts() {
  m_statusBar.SetPaneText(0, m_filePath, SBT_NOBORDERS);
  m_statusBar.SetPaneText(1, "");
  m_statusBar.SetPaneText(2, "地点登録数  " + std::to_string(m_pointFile.GetPointCount()));
}

void MainDialog::LoadPointIcons() {
  // The icons are looked up in the current directory, not beside the program: users keep
  // their own sets of pictures with their point files. A plain picture is drawn from the
  // file's bytes; any other file is loaded as an icon, as it always was.
  std::array<IconFilePicture, kPointIconCount> pictures;
  std::array<HICON, kPointIconCount> loaded{};
  for (int n = 1; n <= kPointIconCount; ++n) {
    wchar_t name[16];
    std::swprintf(name, 16, L"mark%02d.ico", n);
    if (!pictures[n - 1].Read(name))
      loaded[n - 1] = static_cast<HICON>(::LoadImageW(nullptr, name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  }
  for (auto [list, size] : {std::pair{&m_largeIcons, 32}, std::pair{&m_smallIcons, 16}}) {
    list->Create(size, size, ILC_COLOR32 | ILC_MASK, kIconListInitial, kIconListGrowth);
    // A missing picture still takes its place, so that image k stays icon number k + 1.
    // The built-in one is taken at the list's own size; the loaded ones are scaled to it.
    HICON missing = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MISSING_POINT),
                                                    IMAGE_ICON, size, size, 0));
    std::array<StripPicture, kPointIconCount> shown;
    for (int i = 0; i < kPointIconCount; ++i) {
      if (pictures[i].Ok())
        shown[i] = &pictures[i];
      else
        shown[i] = loaded[i] ? loaded[i] : missing;
    }
    list->AddIcons(shown);
    if (missing) ::DestroyIcon(missing);
  }
  for (HICON icon : loaded) {
    if (icon) ::DestroyIcon(icon);
  }
}

HICON MainDialog::GetLargeIcon(int image) const { return m_largeIcons.GetIcon(image, ILD_NORMAL); }

RECT MainDialog::GetPointListRect() const { return m_pointList.WindowRect(); }

void MainDialog::OnPointListClick(NMHDR*, LRESULT* result) {
  *result = 0;
  // With several rows selected the first one is reported, whichever was clicked.
  const int first = m_pointList.FirstSelectedFrom(0);
  if (first < 0) return;
  SelectRow(first);
  char text[16];
  std::snprintf(text, sizeof text, " %3d行", first + 1);
  m_statusBar.SetPaneText(1, text);
}

void MainDialog::OnPointListDoubleClick(NMHDR*, LRESULT* result) {
  *result = 0;
  OnEditPoint();
}

LRESULT MainDialog::OnContextMenu(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != m_pointList.Handle()) return 0;
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (at.x == -1 && at.y == -1) {
    // From the keyboard (Shift+F10, the menu key) there is no mouse point: show the menu
    // at the list's corner rather than at the corner of the screen.
    const RECT list = m_pointList.WindowRect();
    at = {list.left + 8, list.top + 8};
  }
  Menu menu;
  if (!menu.Load(IDR_MAINFRAME)) return 0;
  menu.SubMenu(kEditMenuPosition).TrackPopup(TPM_RIGHTBUTTON, at, m_hwnd);
  menu.Destroy();
  return 0;
}

// The two marks have no picture (the list has no check boxes) and nothing reads them;
// they are set as the commands always set them.
void MainDialog::OnSelectAll() {
  for (int i = 0; i < m_pointFile.GetPointCount(); ++i) m_pointList.SetCheck(i, true);
}

void MainDialog::OnDeselectAll() {
  for (int i = 0; i < m_pointFile.GetPointCount(); ++i) m_pointList.SetCheck(i, false);
}
