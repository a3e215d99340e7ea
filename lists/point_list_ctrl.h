// What the two point lists of the main window share: the point list of the open file and the
// import list of a second one look alike (seven columns, colours, the point icons), fill
// their rows from a file's slots the same way, and hold their drawing back while a batch of
// rows changes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "framework/controls.h"
#include "framework/display_scale.h"
#include "lists/point_icons.h"
#include "lists/point_text_row.h"

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

// One of the program's cursors (IDC_ in resources/resource.h), 32 pixels at 96 DPI, scaled.
HCURSOR ProgramCursor(int id, DisplayScale scale);

class PointListCtrl : public ListView {
 public:
  explicit PointListCtrl(const PointIcons& icons) : m_icons(icons) {}

  // Extended styles, the point icons, the seven columns and the colours, at `scale`.
  void SetupColumns(DisplayScale scale);
  // The point icons (filled again for it) and the columns' widths at a new scale.
  void ApplyScale(DisplayScale scale);
  // The columns' widths at this list's scale: each its width at 96 DPI scaled, or grown
  // with the list's font where that grew more.
  std::array<int, kPointListColumns> ScaledColumnWidths() const;
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
  // Every row afresh, row i for slot i, `maxRows` at most.
  void FillRows(const PointFile& file, int maxRows);
  // Row `slot`, inserted before the row there, or rewritten, from the slot's point.
  void AddPointRow(const PointFile& file, int slot);
  void RefreshPointRow(const PointFile& file, int slot);

 protected:
  // Shows one of the program's cursors (IDC_ in resources/resource.h), at the list's scale.
  void SetCursorResource(int id) const;

 private:
  void SetImageLists();
  void SetItemRecordText(const std::string& text);
  // m_item for column 0 of row `index`: the icon number's text and its image.
  void SetIconItemRecord(const PointTextRow& row, int index);

  const PointIcons& m_icons;
  // The record every row operation fills and sends. Its text points into m_itemText.
  LVITEMW m_item{};
  std::wstring m_itemText;
  // The one work row every fill reads a slot into: its strings keep their storage.
  PointTextRow m_row;
};
