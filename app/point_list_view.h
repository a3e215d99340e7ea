// The two list controls of the main window share PointListCtrl (columns, colours, rows
// from a PointTextRow); PointListView is the point list, whose rows can be dragged to
// reorder the points. Both reach the window that holds them through PointListHost.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/controls.h"
#include "app/point_list_host.h"
#include "app/point_text_row.h"

class PointFile;

inline constexpr COLORREF kPointListBackground = RGB(52, 95, 129);
inline constexpr COLORREF kPointListText = RGB(255, 255, 255);
inline constexpr int kPointListColumns = 7;

// Holds a list's drawing back while a batch of rows changes, then lets it repaint once,
// and only what changed: the rows (all of them, or those from the first changed one down
// when the rows did not scroll), the scroll bars and the column headers when they moved,
// and what was waiting to be repainted before. Each row inserted or removed while the list
// draws updates the scroll bars and repaints at once, which under Wine costs several
// milliseconds a row; the bars and headers are drawn from themed bitmaps, which costs
// several milliseconds a repaint; and each row costs about half a millisecond to paint.
class ListRedrawPause {
 public:
  explicit ListRedrawPause(const ListView& list);
  ~ListRedrawPause();
  ListRedrawPause(const ListRedrawPause&) = delete;
  ListRedrawPause& operator=(const ListRedrawPause&) = delete;

  // Rows above `row` (as they stand when the batch ends) keep their texts, states and
  // places; unless the rows scroll, only `row` and those below it are repainted.
  void RowsChangedFrom(int row) { m_firstChangedRow = row; }

 private:
  // What the frame and the headers show: the scroll bars and where the headers stand.
  struct Frame {
    LONG_PTR scrollStyles = 0;
    SCROLLINFO horizontal{};
    SCROLLINFO vertical{};
    RECT header{};
  };
  Frame CurrentFrame() const;
  // The list's client area below the headers.
  RECT RowsArea(const Frame& frame) const;

  const ListView& m_list;
  bool m_shown;
  Frame m_before;
  HRGN m_waiting = nullptr;  // the rows' part of the list waiting to be repainted
  int m_firstChangedRow = 0;
};

class PointListCtrl : public ListView {
 public:
  explicit PointListCtrl(PointListHost& host) : m_host(host) {}

  // Extended styles, the host's image lists, the seven columns and the colours.
  void SetupColumns();
  // Row `index` with the icon text and picture in column 0, then the other texts.
  void InsertRow(const PointTextRow& row, int index);
  // The same on the existing row `index` (its states stay).
  void UpdateRow(const PointTextRow& row, int index);
  // Columns 1-6 of row `index`.
  void SetRowTexts(const PointTextRow& row, int index);
  // Rewrites the rows from `from` on from their slots and makes the row count the file's
  // listed slot count. Commands use it where a file's gaps keep the table from moving in
  // step with the rows; the rows' states stay where they are.
  void ShowSlotsFrom(const PointFile& file, int from);

 protected:
  // Shows one of the program's cursors (IDC_ in resources/resource.h).
  static void SetCursorResource(int id);

  PointListHost& m_host;
  // The record every row operation fills and sends. Its text points into m_itemText.
  LVITEMW m_item{};

 private:
  void SetItemRecordText(const std::string& text);
  // m_item for column 0 of row `index`: the icon number's text and its image.
  void SetIconItemRecord(const PointTextRow& row, int index);
  std::wstring m_itemText;
};

class PointListView : public PointListCtrl {
 public:
  using PointListCtrl::PointListCtrl;

  virtual void MoveItem(int from, int to);
  // Puts row `from` (and its point) before row `to`; `to` = the row count puts it last.
  virtual void MoveItemTo(int from, int to);
  // The first selected row at or after `start`, or -1.
  int FirstSelectedFrom(int start) const;
  int ColumnCount() const;
  void SetDragCursor() const;

  bool IsDragging() const { return m_dragging; }
  int DropTarget() const { return m_dropTarget; }

 private:
  void OnBeginDrag(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  void SetDropHighlight(int row, bool on) const;
  int RowsTop() const;  // where the first shown row begins, in list client coordinates

  bool m_dragEnabled = true;
  bool m_dragging = false;
  int m_dragSource = 0;
  int m_dropTarget = 0;

  OSTREL_MESSAGE_TABLE();
};
