// The point list (control 1000): the open file's points, row i for slot i. Its rows can be
// dragged to reorder the points.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "lists/point_list_ctrl.h"

class FileHistory;
class PointFile;

class PointListView : public PointListCtrl {
 public:
  // `points` is the open file, whose points a drag moves, each move one step of `history`.
  PointListView(const PointIcons& icons, PointFile& points, FileHistory& history)
      : PointListCtrl(icons), m_points(points), m_history(history) {}

  virtual void MoveItem(int from, int to);
  // Puts row `from` (and its point) before row `to`; `to` = the row count puts it last.
  virtual void MoveItemTo(int from, int to);
  // The first selected row at or after `start`, or -1.
  int FirstSelectedFrom(int start) const;
  // The selected rows, ascending.
  std::vector<int> SelectedRows() const;
  // Row `index` selected and focused.
  void SelectRow(int index) const;
  int ColumnCount() const;
  // Scrolls the rows so that `row` is the top one shown (as far as the rows go).
  void ScrollToTop(int row) const;
  void SetDragCursor() const;

  bool IsDragging() const { return m_dragging; }
  int DropTarget() const { return m_dropTarget; }

 private:
  void OnBeginDrag(NMHDR* header, LRESULT* result);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  void SetDropHighlight(int row, bool on) const;
  int RowsTop() const;  // where the first shown row begins, in list client coordinates

  PointFile& m_points;
  FileHistory& m_history;
  bool m_dragEnabled = true;
  bool m_dragging = false;
  int m_dragSource = 0;
  int m_dropTarget = 0;

  OSTREL_MESSAGE_TABLE();
};
