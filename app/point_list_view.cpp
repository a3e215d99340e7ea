#include "point_list_view.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/text_encoding.h"
#include "main_dialog.h"
#include "resource.h"

namespace {

struct ColumnSpec {
  const char* heading;
  int width;
};

constexpr ColumnSpec kColumns[kPointListColumns] = {
    {"アイコン", 60}, {"名称", 180}, {"愛称", 120}, {"位置", 180},
    {"ＴＥＬ", 100},  {"経度", 100}, {"緯度", 100},
};

// At or above this line (in list client coordinates) a drop goes to the top: anything
// above the list while the mouse is captured, and the column headers.
constexpr int kHeaderDropLine = 10;

MainDialog* OwnerDialog(HWND list) {
  return dynamic_cast<MainDialog*>(Window::FromHandle(::GetParent(list)));
}

}  // namespace

void PointListCtrl::SetupColumns() {
  SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  // The image lists belong to the main window, and both lists show them. A list view
  // destroys its image lists with itself unless it is told they are shared.
  ::SetWindowLongPtrW(m_hwnd, GWL_STYLE, ::GetWindowLongPtrW(m_hwnd, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  if (MainDialog* owner = OwnerDialog(m_hwnd)) {
    SetImageList(owner->LargeIcons().Handle(), LVSIL_NORMAL);
    SetImageList(owner->SmallIcons().Handle(), LVSIL_SMALL);
  }
  for (int c = 0; c < kPointListColumns; ++c) InsertColumn(c, kColumns[c].heading, kColumns[c].width);
  SetBkColor(kPointListBackground);
  SetTextBkColor(kPointListBackground);
  SetTextColor(kPointListText);
}

void PointListCtrl::SetItemRecordText(const std::string& text) {
  m_itemText = WidenText(text);
  m_item.pszText = m_itemText.data();
}

void PointListCtrl::InsertRow(const PointTextRow& row, int index) {
  m_item = LVITEMW{};
  m_item.mask = LVIF_TEXT | LVIF_IMAGE;
  m_item.iItem = index;
  SetItemRecordText(row.icon);
  m_item.iImage = IconImageIndex(row.icon);
  m_item.iItem = InsertItem(m_item);
  SetRowTexts(row, index);
}

void PointListCtrl::UpdateRow(const PointTextRow& row, int index) {
  m_item = LVITEMW{};
  m_item.mask = LVIF_TEXT | LVIF_IMAGE;
  m_item.iItem = index;
  SetItemRecordText(row.icon);
  m_item.iImage = IconImageIndex(row.icon);
  SetItem(m_item);
  SetRowTexts(row, index);
}

void PointListCtrl::SetRowTexts(const PointTextRow& row, int index) {
  const std::string* texts[] = {&row.name,  &row.nickname,  &row.location,
                                &row.phone, &row.longitude, &row.latitude};
  m_item = LVITEMW{};
  m_item.mask = LVIF_TEXT;
  m_item.iItem = index;
  for (int c = 1; c < kPointListColumns; ++c) {
    m_item.iSubItem = c;
    SetItemRecordText(*texts[c - 1]);
    SetItem(m_item);
  }
}

void PointListCtrl::ShowSlotsFrom(const PointFile& file, int from) {
  ListRedrawPause pause(*this);
  const int rows = ListedSlotCount(file);
  while (GetItemCount() > rows) DeleteItem(GetItemCount() - 1);
  for (int i = std::max(from, 0); i < rows; ++i) {
    const PointTextRow row = PointTextRow::FromSlot(file, i);
    if (i < GetItemCount())
      UpdateRow(row, i);
    else
      InsertRow(row, i);
  }
}

const MessageEntry PointListView::kMessageEntries[] = {
    OnReflectedNotify<&PointListView::OnBeginDrag>(LVN_BEGINDRAG),
    OnReflectedNotify<&PointListView::OnColumnClick>(LVN_COLUMNCLICK),
    OnMessage<&PointListView::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&PointListView::OnLButtonUp>(WM_LBUTTONUP),
};
OSTREL_DEFINE_MESSAGE_TABLE(PointListView, PointListCtrl);

PointFile* PointListView::Points() const {
  MainDialog* owner = OwnerDialog(m_hwnd);
  return owner ? &owner->Points() : nullptr;
}

void PointListView::MoveItem(int from, int to) { MoveItemTo(from, to); }

void PointListView::MoveItemTo(int from, int to) {
  if (to == from || to == from + 1) return;  // already there
  PointFile* points = Points();
  // The table decides: when it cannot move the point (the row is not in its leading run
  // of points), the row stays too, so that row i still shows slot i.
  if (!points || points->MoveRecord(to, from) < 0) return;

  ListRedrawPause pause(*this);
  InsertItem(to, GetItemText(from, 0));
  if (to < from) ++from;  // the insertion pushed the old row down

  LVITEMW item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
  item.stateMask = static_cast<UINT>(-1);
  item.iItem = from;
  GetItem(item);
  item.iItem = to;
  SetItem(item);
  const int columns = ColumnCount();
  for (int c = 0; c < columns; ++c) SetItemText(to, c, GetItemText(from, c));
  DeleteItem(from);
}

int PointListView::FirstSelectedFrom(int start) const { return GetNextItem(start - 1, LVNI_SELECTED); }

int PointListView::ColumnCount() const {
  int count = 0;
  while (HasColumn(count)) ++count;
  return count;
}

void PointListView::SetDragCursor() const {
  ::SetCursor(::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_DRAG_ONE_ROW)));
}

int PointListView::RowsTop() const {
  // The headers are taller than the fixed line; a drop on their lower part (or on the
  // gap below them) would otherwise hit no row and send the point to the end instead of
  // the top.
  const int top = static_cast<int>(Send(LVM_GETTOPINDEX));
  RECT r{};
  if (GetItemCount() == 0 || !GetItemRect(top, r)) return 0;
  return r.top;
}

void PointListView::SetDropHighlight(int row, bool on) const {
  if (row >= 0 && row < GetItemCount()) SetItemState(row, on ? LVIS_DROPHILITED : 0, LVIS_DROPHILITED);
}

void PointListView::OnBeginDrag(NMHDR* header, LRESULT* result) {
  *result = 0;
  if (!m_dragEnabled) return;
  const auto* view = reinterpret_cast<const NMLISTVIEW*>(header);
  m_dragging = true;
  m_dragSource = view->iItem;
  m_dropTarget = view->iItem;
  SetDragCursor();
  ::SetCapture(m_hwnd);
}

void PointListView::OnColumnClick(NMHDR*, LRESULT* result) { *result = 0; }

LRESULT PointListView::OnMouseMove(WPARAM, LPARAM lParam) {
  if (m_dragging) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int target;
    if (at.y <= kHeaderDropLine || at.y < RowsTop()) {
      target = 0;
    } else {
      target = HitTest(at);
      if (target < 0) target = GetItemCount();  // below the last row, or outside
    }
    if (target != m_dropTarget) {
      SetDropHighlight(m_dropTarget, false);
      SetDropHighlight(target, true);
      Update();
      m_dropTarget = target;
    }
    const RECT client = ClientRect();
    if (::PtInRect(&client, at))
      SetDragCursor();
    else
      ::SetCursor(::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_NO_DROP)));
  }
  return Default();
}

LRESULT PointListView::OnLButtonUp(WPARAM, LPARAM lParam) {
  if (!m_dragging) return Default();
  SetDropHighlight(m_dropTarget, false);
  m_dragging = false;
  ::ReleaseCapture();
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const RECT client = ClientRect();
  if (at.x > client.left && at.x < client.right && at.y > client.top && at.y < client.bottom) {
    MoveItem(m_dragSource, m_dropTarget);
    EnsureVisible(FirstSelectedFrom(0), false);
  }
  return 0;
}
