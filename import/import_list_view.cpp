#include "import/import_list_view.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "framework/dropped_files.h"
#include "import/foreign_points.h"
#include "resources/resource.h"

const MessageEntry ImportListView::kMessageEntries[] = {
    OnMessage<&ImportListView::OnDropFiles>(WM_DROPFILES),
    OnReflectedNotify<&ImportListView::OnBeginDrag>(LVN_BEGINDRAG),
    OnMessage<&ImportListView::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&ImportListView::OnLButtonUp>(WM_LBUTTONUP),
    OnReflectedNotify<&ImportListView::OnDeleteAllItems>(LVN_DELETEALLITEMS),
    OnReflectedNotify<&ImportListView::OnCustomDraw>(NM_CUSTOMDRAW),
};
OSTREL_DEFINE_MESSAGE_TABLE(ImportListView, PointListCtrl);

namespace {

// Far more than 250 points take in any of the formats; a larger file is refused unread.
constexpr std::size_t kMaxForeignBytes = 16u << 20;
constexpr std::size_t kFirstReadBytes = 1u << 20;
constexpr int kLongitudeColumn = 5, kLatitudeColumn = 6;

COLORREF RowTextColourIn(const std::vector<RowVerdict>& verdicts, int row) {
  if (row < 0 || row >= static_cast<int>(verdicts.size())) return kPointListText;
  if (verdicts[row].cannotStore) return kCannotStoreRowText;
  return verdicts[row].duplicate ? kDuplicateRowText : kPointListText;
}

}  // namespace

void ImportListView::LoadSource(const std::string& path) {
  if (const std::optional<Format> format = ForeignFormat(path)) {
    LoadForeignSource(path, *format);
    return;
  }
  m_sourcePath = path;
  m_sourceFile.LoadFile(path, m_files, m_messages);
  m_rowFacts.clear();
  ShowSource();
}

void ImportListView::ShowSource() {
  // As in the point list, a gap in a file from elsewhere shows as blank rows, so that the
  // points after it keep their own rows and can be copied too.
  FillRows(m_sourceFile, m_maxPoints);
  // A place its file gives no position for shows none, rather than the zeros its slot holds.
  for (int row = 0; row < static_cast<int>(m_rowFacts.size()) && row < GetItemCount(); ++row) {
    if (m_rowFacts[row].positionHeld) continue;
    SetItemText(row, kLongitudeColumn, "");
    SetItemText(row, kLatitudeColumn, "");
  }
  m_host.SourceChanged();
  Update();
}

void ImportListView::JudgeAgainst(const PointFile& open) {
  std::vector<RowVerdict> verdicts = JudgeSourceRows(m_sourceFile, GetItemCount(), m_rowFacts, open);
  // Only the rows whose colour changed are painted again (each row costs about half a
  // millisecond under Wine).
  const int rows = static_cast<int>(std::max(verdicts.size(), m_verdicts.size()));
  int first = rows, last = -1;
  for (int row = 0; row < rows; ++row) {
    if (RowTextColourIn(verdicts, row) == RowTextColourIn(m_verdicts, row)) continue;
    first = std::min(first, row);
    last = row;
  }
  m_verdicts = std::move(verdicts);
  if (last >= 0) RedrawItems(first, last);
}

COLORREF ImportListView::RowTextColour(int row) const { return RowTextColourIn(m_verdicts, row); }

void ImportListView::OnCustomDraw(NMHDR* header, LRESULT* result) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *result = CDRF_NOTIFYITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT:
      draw->clrText = RowTextColour(static_cast<int>(draw->nmcd.dwItemSpec));
      *result = CDRF_DODEFAULT;
      return;
    default:
      *result = CDRF_DODEFAULT;
  }
}

void ImportListView::LoadForeignSource(const std::string& path, Format format) {
  // Files of a few hundred points are far below the limit: the first read takes up to 1 MB,
  // and only a file that fills it is read again, up to the limit (a 16 MB buffer costs tens
  // of milliseconds under Wine, more than reading the file).
  std::string bytes;
  std::size_t got = 0;
  for (const std::size_t capacity : {kFirstReadBytes, kMaxForeignBytes + 1}) {
    bytes.resize(capacity);
    const FileCause cause = m_files.Read(path, reinterpret_cast<std::uint8_t*>(bytes.data()), capacity, got);
    if (cause != FileCause::kNone) {
      ShowFileError(cause, path, m_messages);
      return;
    }
    if (got < capacity) break;
  }
  if (got > kMaxForeignBytes) {
    m_messages.ShowMessage(path + "\n16 MB を超えるファイルは読み込めません。");
    return;
  }
  bytes.resize(got);
  const ForeignRead read =
      ReadForeignPoints(format, std::move(bytes), m_datum.Load() == ExchangeDatum::kTokyo, m_sourceFile);
  if (!read.message.empty()) m_messages.ShowMessage(path + "\n" + read.message);
  if (!read.loaded) return;
  m_sourcePath = path;
  m_rowFacts = read.rows;
  ShowSource();
}

bool ImportListView::IsForeignSource() const { return ForeignFormat(m_sourcePath).has_value(); }

void ImportListView::ReloadForeignSource() {
  if (!ForeignFormat(m_sourcePath)) return;
  const std::string path = m_sourcePath;
  m_sourcePath.clear();
  m_sourceFile = PointFile();
  m_rowFacts.clear();
  ShowSource();
  LoadSource(path);
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
