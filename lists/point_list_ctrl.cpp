#include "lists/point_list_ctrl.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <map>
#include <utility>

#include "framework/text_encoding.h"
#include "pointfile/point_file.h"
#include "resources/resource.h"

namespace {

struct ColumnSpec {
  const char* heading;
  int width;  // at 96 DPI
  // A text of the kind the column shows (UTF-16), to see how much the font grows.
  const wchar_t* sample;
};

constexpr ColumnSpec kColumns[kPointListColumns] = {
    {"アイコン", 60, L"55"},
    {"名称", 180, L"\u4e2d\u5c0a\u5bfa\u91d1\u8272\u5802"},
    {"愛称", 120, L"\u3069\u3046\u3054\u304a\u3093\u305b\u3093"},
    {"位置", 180, L"\u611b\u5a9b\u770c\u677e\u5c71\u5e02"},
    {"ＴＥＬ", 100, L"0829-44-2020"},
    {"経度", 100, L"139/46/01.649"},
    {"緯度", 100, L" 35/40/52.450"},
};

}  // namespace

// A list view keeps its own redraw switch and, when it is switched back on, sets its
// scroll bars; a scroll bar set while the list shows repaints at once (twice for each bar).
// The default handling of WM_SETREDRAW clears WS_VISIBLE without hiding anything, so the
// bars wait for the one repaint at the end. It also throws away what was waiting to be
// repainted (say, where a dialog just closed over the list): the rows' part of that is kept
// and repainted with the changed rows, so no row is painted twice; the frame's and the
// headers' part is painted first.
// A list that does not show is left alone: it must not be made visible.
ListRedrawPause::ListRedrawPause(const ListView& list) : m_list(list), m_shown(list.IsVisible()) {
  if (m_shown) {
    m_before = CurrentFrame();
    HRGN waiting = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetUpdateRgn(m_list, waiting, FALSE) > NULLREGION) {
      const RECT rowsArea = RowsArea(m_before);
      HRGN rows = ::CreateRectRgnIndirect(&rowsArea);
      if (::CombineRgn(waiting, waiting, rows, RGN_AND) > NULLREGION) {
        ::ValidateRgn(m_list, waiting);
        m_waiting = std::exchange(waiting, nullptr);
      }
      ::DeleteObject(rows);
    }
    if (waiting) ::DeleteObject(waiting);
    m_list.Update();
  }
  m_list.Send(WM_SETREDRAW, FALSE);
  if (m_shown) ::DefWindowProcW(m_list, WM_SETREDRAW, FALSE, 0);
}

ListRedrawPause::~ListRedrawPause() {
  m_list.Send(WM_SETREDRAW, TRUE);
  if (!m_shown) return;
  ::DefWindowProcW(m_list, WM_SETREDRAW, TRUE, 0);
  const Frame after = CurrentFrame();
  UINT parts = RDW_INVALIDATE | RDW_ERASE;
  auto same = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  if (after.scrollStyles != m_before.scrollStyles || !same(after.horizontal, m_before.horizontal) ||
      !same(after.vertical, m_before.vertical))
    parts |= RDW_FRAME;
  // Made visible again, the list would repaint its frame (border and bars) as well, even
  // though none of it changed.
  if (!(parts & RDW_FRAME)) ::RedrawWindow(m_list, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
  // The headers move with the horizontal scroll position and the list's width. When they
  // stay, only the rows below them are repainted: the list does not clip its children, so
  // erasing the whole list would wipe out headers that are not going to be drawn again.
  if (same(after.header, m_before.header) && after.horizontal.nPos == m_before.horizontal.nPos) {
    const RECT rows = RowsArea(after);
    HRGN repaint = ::CreateRectRgnIndirect(&rows);
    // Rows that did not scroll keep their places: those above the first changed one stand.
    // (The strip between the headers and the top row is repainted all the same: the list
    // draws the end of the row above the top one into it.)
    const int top = static_cast<int>(m_list.Send(LVM_GETTOPINDEX));
    RECT first{}, topRow{};
    if (after.vertical.nPos == m_before.vertical.nPos && m_firstChangedRow > top &&
        m_list.GetItemRect(m_firstChangedRow, first, LVIR_BOUNDS) && m_list.GetItemRect(top, topRow, LVIR_BOUNDS)) {
      const RECT standing{rows.left, std::max(rows.top, topRow.top), rows.right, std::min(rows.bottom, first.top)};
      if (standing.top < standing.bottom) {
        HRGN stand = ::CreateRectRgnIndirect(&standing);
        ::CombineRgn(repaint, repaint, stand, RGN_DIFF);
        ::DeleteObject(stand);
      }
    }
    if (m_waiting) ::CombineRgn(repaint, repaint, m_waiting, RGN_OR);
    ::RedrawWindow(m_list, nullptr, repaint, parts | RDW_NOCHILDREN);
    ::DeleteObject(repaint);
  } else {
    ::RedrawWindow(m_list, nullptr, nullptr, parts | RDW_ALLCHILDREN);
  }
  if (m_waiting) ::DeleteObject(m_waiting);
}

RECT ListRedrawPause::RowsArea(const Frame& frame) const {
  RECT rows = m_list.ClientRect();
  rows.top = std::max(rows.top, frame.header.bottom);
  return rows;
}

ListRedrawPause::Frame ListRedrawPause::CurrentFrame() const {
  Frame frame;
  frame.scrollStyles = ::GetWindowLongPtrW(m_list, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL);
  for (SCROLLINFO* info : {&frame.horizontal, &frame.vertical}) {
    info->cbSize = sizeof *info;
    info->fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  }
  ::GetScrollInfo(m_list, SB_HORZ, &frame.horizontal);
  ::GetScrollInfo(m_list, SB_VERT, &frame.vertical);
  // (By its own style: while paused, the list and so its headers count as not shown.)
  HWND header = ListView_GetHeader(m_list);
  if (header && (::GetWindowLongPtrW(header, GWL_STYLE) & WS_VISIBLE)) frame.header = Window(header).RectInParent();
  return frame;
}

void PointListCtrl::SetupColumns(DisplayScale scale) {
  // Each column inserted while the list draws lays out its headers and scroll bars anew.
  ListRedrawPause pause(*this);
  SetScale(scale);
  SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  // The image lists belong to the main window, and both lists show them. A list view
  // destroys its image lists with itself unless it is told they are shared.
  ::SetWindowLongPtrW(m_hwnd, GWL_STYLE, ::GetWindowLongPtrW(m_hwnd, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  SetImageLists();
  const std::array<int, kPointListColumns> widths = ScaledColumnWidths();
  for (int c = 0; c < kPointListColumns; ++c) InsertColumn(c, kColumns[c].heading, widths[c]);
  SetBkColor(kPointListBackground);
  SetTextBkColor(kPointListBackground);
  SetTextColor(kPointListText);
}

void PointListCtrl::ApplyScale(DisplayScale scale) {
  ListRedrawPause pause(*this);
  SetScale(scale);
  SetImageLists();
  const std::array<int, kPointListColumns> widths = ScaledColumnWidths();
  for (int c = 0; c < kPointListColumns; ++c) Send(LVM_SETCOLUMNWIDTH, c, widths[c]);
}

void PointListCtrl::SetImageLists() {
  SetImageList(m_icons.Large().Handle(), LVSIL_NORMAL);
  SetImageList(m_icons.Small().Handle(), LVSIL_SMALL);
}

std::array<int, kPointListColumns> PointListCtrl::ScaledColumnWidths() const {
  std::array<int, kPointListColumns> widths;
  if (Scale() == DisplayScale()) {
    for (int c = 0; c < kPointListColumns; ++c) widths[c] = kColumns[c].width;
    return widths;
  }
  // Each column's heading and sample in the list's font at this DPI, against the same font
  // at 96 DPI: a column grows by the DPI or by as much as its texts grew, if more.
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(Send(WM_GETFONT)), sizeof font, &font);
  const HDC dc = ::CreateCompatibleDC(nullptr);
  HFONT fonts[2];
  fonts[0] = ::CreateFontIndirectW(&font);
  // A font's height is its point size at the DPI, rounded; cut back to 96 DPI it may round
  // up past the height it has there. Truncated it errs on the small side, so the columns
  // err on the wide side.
  font.lfHeight = static_cast<LONG>(static_cast<long long>(font.lfHeight) * DisplayScale::kBaseDpi / Scale().Dpi());
  fonts[1] = ::CreateFontIndirectW(&font);
  const HGDIOBJ old = ::GetCurrentObject(dc, OBJ_FONT);
  for (int c = 0; c < kPointListColumns; ++c) {
    const std::wstring heading = WidenText(kColumns[c].heading);
    widths[c] = Scale().Pixels(kColumns[c].width);
    for (const std::wstring& text : {heading, std::wstring(kColumns[c].sample)}) {
      SIZE extents[2]{};
      for (int f = 0; f < 2; ++f) {
        ::SelectObject(dc, fonts[f]);
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extents[f]);
      }
      widths[c] = std::max(widths[c], ScaledTextWidth(Scale(), kColumns[c].width, extents[0].cx, extents[1].cx));
    }
  }
  ::SelectObject(dc, old);
  for (HFONT f : fonts) ::DeleteObject(f);
  ::DeleteDC(dc);
  return widths;
}

HCURSOR ProgramCursor(int id, DisplayScale scale) {
  // LoadCursor takes the system's cursor size; a list on a monitor of another DPI asks for
  // its own. Each size of each cursor is loaded once and kept for the program's life.
  const int size = scale.Pixels(32);
  static std::map<std::pair<int, int>, HCURSOR> loaded;
  HCURSOR& cursor = loaded[{id, size}];
  if (!cursor)
    cursor = static_cast<HCURSOR>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_CURSOR, size, size, 0));
  return cursor;
}

void PointListCtrl::SetCursorResource(int id) const { ::SetCursor(ProgramCursor(id, Scale())); }

void PointListCtrl::SetItemRecordText(const std::string& text) {
  m_itemText = WidenText(text);
  m_item.pszText = m_itemText.data();
}

void PointListCtrl::SetIconItemRecord(const PointTextRow& row, int index) {
  m_item = LVITEMW{};
  m_item.mask = LVIF_TEXT | LVIF_IMAGE;
  m_item.iItem = index;
  SetItemRecordText(row.icon);
  m_item.iImage = IconImageIndex(row.icon);
}

void PointListCtrl::InsertRow(const PointTextRow& row, int index) {
  SetIconItemRecord(row, index);
  m_item.iItem = InsertItem(m_item);
  SetRowTexts(row, index);
}

void PointListCtrl::UpdateRow(const PointTextRow& row, int index) {
  SetIconItemRecord(row, index);
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
    if (i < GetItemCount())
      RefreshPointRow(file, i);
    else
      AddPointRow(file, i);
  }
}

void PointListCtrl::FillRows(const PointFile& file, int maxRows) {
  ListRedrawPause pause(*this);
  DeleteAllItems();
  // A file from elsewhere may have empty slots before a used one; they show as blank rows,
  // so that every point keeps its own row.
  const int rows = std::min(ListedSlotCount(file), maxRows);
  for (int i = 0; i < rows; ++i) AddPointRow(file, i);
}

void PointListCtrl::AddPointRow(const PointFile& file, int slot) {
  m_row.ReadSlot(file, slot);
  InsertRow(m_row, slot);
}

void PointListCtrl::RefreshPointRow(const PointFile& file, int slot) {
  m_row.ReadSlot(file, slot);
  UpdateRow(m_row, slot);
}
