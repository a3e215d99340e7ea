// The main window's side of the import list: the import command, which chooses the source
// file, and the transfer of the points dragged from the import list into the open file.
#include <algorithm>
#include <optional>

#include "framework/prompts.h"
#include "framework/sjis_path.h"
#include "app/main_dialog.h"

namespace {

constexpr char kImportFilter[] = "地点ファイル ( *.pnt)|*.pnt|すべてのファイル (*.*)|*.*||";

}  // namespace

void MainDialog::OnFileImport() {
  // The import screen comes first and stays, whether a file is chosen or not.
  LayoutImportScreen();
  FileDialogRequest request;
  request.filter = kImportFilter;
  request.defaultExtension = "pnt";
  request.initialDirectory = m_importDir;
  request.hideReadOnly = true;
  const std::optional<std::string> path = Prompts().ChooseFile(m_hwnd, request);
  if (!path) return;
  m_importPath = *path;
  const PathParts parts = SplitPath(m_importPath);
  m_importDir = parts.drive + parts.directory;
  m_importList.LoadSource(m_importPath);
}

int MainDialog::PointListRowAt(POINT screen) const { return m_pointList.HitTest(m_pointList.ScreenToClient(screen)); }

void MainDialog::TransferPoints(int dropRow) {
  // What the drag left on the screen is painted before the copying starts.
  Update();
  if (dropRow < 0) dropRow = m_pointList.GetItemCount();
  // A file from elsewhere may have points after a gap. A copied point never goes past the
  // end of the leading run, where it would land on such a point; and since the table then
  // does not move in step with the rows, the rows are shown afresh from the slots.
  const bool gaps = m_pointFile.CountStrayPoints() > 0;
  if (gaps) dropRow = std::min(dropRow, m_pointFile.CountPoints());

  const PointFile& source = m_importList.SourceFile();
  bool full = false;
  {
    ListRedrawPause pause(m_pointList);
    // Every point goes in at the same row, each above the ones before it: the points end
    // up in the reverse of their order in the import list.
    for (int m = m_importList.GetNextItem(-1, LVNI_SELECTED); m >= 0; m = m_importList.GetNextItem(m, LVNI_SELECTED)) {
      if (!source.IsUsed(m)) continue;  // a blank row for a gap in the source
      if (m_pointFile.GetPointCount() >= m_maxPoints || m_pointFile.InsertRecord(dropRow) < 0) {
        full = true;
        break;
      }
      // Voice, date and time stay those of the fresh point.
      m_pointFile.CopyPointFrom(dropRow, source, m);
      m_pointFile.UpdateChecksum(dropRow);
      if (!gaps) {
        m_row = PointTextRow::FromSlot(m_pointFile, dropRow);
        AddPointRow(m_row, dropRow);
      }
    }
    if (gaps) m_pointList.ShowSlotsFrom(m_pointFile, dropRow);
  }
  UpdateStatusTexts();
  // The points copied so far stay. The box comes once the list shows them.
  if (full) ShowPointLimit();
}
