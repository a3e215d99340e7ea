#include "app/point_list_view.h"

#include <windowsx.h>

#include "app/history/file_history.h"
#include "pointfile/point_file.h"
#include "resources/resource.h"

namespace {

// At or above this line (in list client coordinates) a drop goes to the top: anything
// above the list while the mouse is captured, and the column headers.
constexpr int kHeaderDropLine = 10;

}  // namespace

const MessageEntry PointListView::kMessageEntries[] = {
    OnReflectedNotify<&PointListView::OnBeginDrag>(LVN_BEGINDRAG),
    OnMessage<&PointListView::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&PointListView::OnLButtonUp>(WM_LBUTTONUP),
};
OSTREL_DEFINE_MESSAGE_TABLE(PointListView, PointListCtrl);

void PointListView::MoveItem(int from, int to) { MoveItemTo(from, to); }

void PointListView::MoveItemTo(int from, int to) {
  if (to == from || to == from + 1) return;  // already there
  // The table decides: when it cannot move the point (the row is not in its leading run
  // of points), the row stays too, so that row i still shows slot i.
  if (m_points.MoveRecord(to, from) < 0) return;

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

std::vector<int> PointListView::SelectedRows() const {
  std::vector<int> rows;
  for (int i = FirstSelectedFrom(0); i >= 0; i = FirstSelectedFrom(i + 1)) rows.push_back(i);
  return rows;
}

void PointListView::SelectRow(int index) const {
  SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int PointListView::ColumnCount() const {
  int count = 0;
  while (HasColumn(count)) ++count;
  return count;
}

void PointListView::ScrollToTop(int row) const {
  const int top = static_cast<int>(Send(LVM_GETTOPINDEX));
  RECT first{};
  if (row == top || GetItemCount() == 0 || !GetItemRect(0, first)) return;
  Send(LVM_SCROLL, 0, (row - top) * (first.bottom - first.top));
}

void PointListView::SetDragCursor() const { SetCursorResource(IDC_DRAG_ONE_ROW); }

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
      SetCursorResource(IDC_NO_DROP);
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
    FileHistory::Change change(m_history);
    MoveItem(m_dragSource, m_dropTarget);
    EnsureVisible(FirstSelectedFrom(0), false);
  }
  return 0;
}
