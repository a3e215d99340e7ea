#include "import/import_list_view.h"

#include <windowsx.h>

#include <optional>

#include "framework/dropped_files.h"
#include "resources/resource.h"

const MessageEntry ImportListView::kMessageEntries[] = {
    OnMessage<&ImportListView::OnDropFiles>(WM_DROPFILES),
    OnReflectedNotify<&ImportListView::OnBeginDrag>(LVN_BEGINDRAG),
    OnMessage<&ImportListView::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&ImportListView::OnLButtonUp>(WM_LBUTTONUP),
    OnReflectedNotify<&ImportListView::OnDeleteAllItems>(LVN_DELETEALLITEMS),
};
OSTREL_DEFINE_MESSAGE_TABLE(ImportListView, PointListCtrl);

void ImportListView::LoadSource(const std::string& path) {
  m_sourcePath = path;
  m_sourceFile.LoadFile(path, m_files, m_messages);
  // As in the point list, a gap in a file from elsewhere shows as blank rows, so that the
  // points after it keep their own rows and can be copied too.
  FillRows(m_sourceFile, m_maxPoints);
  Update();
}

void ImportListView::OnDeleteAllItems(NMHDR*, LRESULT* result) {
  // Nothing is kept per row, so the list need not tell of each row it deletes: one
  // notification, not one per row through the main window (a new source would otherwise
  // take a few milliseconds longer under Wine).
  *result = TRUE;
}

void ImportListView::SetDragCursor() const {
  SetCursorResource(GetSelectedCount() >= 2 ? IDC_DRAG_ROWS : IDC_DRAG_ONE_ROW);
}

LRESULT ImportListView::OnDropFiles(WPARAM wParam, LPARAM) {
  // Only the last file of the drop counts. Where the import dialog starts stays as it was.
  if (const std::optional<std::string> path = TakeLastDroppedFile(reinterpret_cast<HDROP>(wParam), m_messages))
    LoadSource(*path);
  return 0;
}

void ImportListView::OnBeginDrag(NMHDR*, LRESULT* result) {
  *result = 0;
  m_dragging = true;
  SetDragCursor();
  // The button may be released anywhere: over the point list, which is where the drop
  // goes, or outside the window.
  ::SetCapture(m_hwnd);
}

LRESULT ImportListView::OnMouseMove(WPARAM, LPARAM lParam) {
  if (m_dragging) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const RECT client = ClientRect();
    const RECT pointList = m_host.GetPointListRect();
    if (::PtInRect(&client, at) || ::PtInRect(&pointList, ClientToScreen(at)))
      SetDragCursor();
    else
      SetCursorResource(IDC_NO_DROP);
  }
  return Default();
}

LRESULT ImportListView::OnLButtonUp(WPARAM, LPARAM lParam) {
  LRESULT result = 0;
  if (m_dragging) {
    m_dragging = false;
    // Released before the copying: a message box it shows (the point limit) must get the
    // mouse, which the list would otherwise keep.
    ::ReleaseCapture();
    const POINT screen = ClientToScreen({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    const RECT pointList = m_host.GetPointListRect();
    if (::PtInRect(&pointList, screen)) m_host.TransferPoints(m_host.PointListRowAt(screen));
  } else {
    result = Default();
  }
  SetCursorResource(IDC_PLAIN_ARROW);
  return result;
}
