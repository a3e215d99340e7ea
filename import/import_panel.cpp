#include "import/import_panel.h"

#include <optional>
#include <utility>
#include <vector>

#include "framework/prompts.h"
#include "framework/sjis_path.h"
#include "import/preview.h"
#include "import/transfer.h"

namespace {

// The point files first, as ever; then the interchange files, one format an entry.
constexpr char kImportFilter[] =
    "地点ファイル ( *.pnt)|*.pnt|"
    "GPX ( *.gpx)|*.gpx|"
    "KML/KMZ ( *.kml; *.kmz)|*.kml;*.kmz|"
    "CSV/TXT ( *.csv; *.txt)|*.csv;*.txt|"
    "GeoJSON/JSON ( *.geojson; *.json)|*.geojson;*.json|"
    "all of these|*.pnt;*.gpx;*.kml;*.kmz;*.csv;*.txt;*.geojson;*.json|"
    "すべてのファイル (*.*)|*.*||";

}  // namespace

void ImportPanel::OnFileImport(HWND owner) {
  FileDialogRequest request;
  request.filter = kImportFilter;
  request.defaultExtension = "pnt";
  request.initialDirectory = m_importDir;
  request.hideReadOnly = true;
  const std::optional<std::string> path = Prompts().ChooseFile(owner, request);
  if (!path) return;
  m_importPath = *path;
  const PathParts parts = SplitPath(m_importPath);
  m_importDir = parts.drive + parts.directory;
  m_importList.LoadSource(m_importPath);
}

std::vector<int> ImportPanel::ChooseDraggedRows(HWND owner) const {
  std::vector<int> selected;
  for (int m = m_importList.GetNextItem(-1, LVNI_SELECTED); m >= 0; m = m_importList.GetNextItem(m, LVNI_SELECTED))
    selected.push_back(m);
  DraggedRows dragged = SortDraggedRows(m_importList.Verdicts(), selected);
  if (dragged.storable.empty()) {
    if (dragged.cannotStore > 0) Prompts().ShowMessage(owner, kNothingStorableText);
    return {};
  }
  if (dragged.Duplicates() == 0) return std::move(dragged.storable);
  switch (Prompts().AskYesNoCancel(owner, DuplicateQuestionText(dragged.Duplicates()))) {
    case IDYES:
      return std::move(dragged.storable);
    case IDNO:
      return std::move(dragged.fresh);
    default:
      return {};
  }
}

Insertion ImportPanel::TransferPoints(PointFile& target, int dropRow, std::span<const int> rows,
                                      int maxPoints) const {
  return ::TransferPoints(target, dropRow, m_importList.SourceFile(), rows, maxPoints,
                          m_importList.IsForeignSource() ? Stamps::kFromSource : Stamps::kFresh);
}
