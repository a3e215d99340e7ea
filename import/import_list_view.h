// The import list (control 1024): the points of a second file, the source file, beside the
// point list of the open one: a point file, or an interchange file (GPX, KML, KMZ, CSV,
// GeoJSON) whose points are held as a point file's slots in the unit's datum. The user
// loads the source from the file menu or by dropping a file on the list or the window,
// then drags selected rows onto the point list, and the host copies their points into the
// open file. Each row is judged against the open file and the unit (preview.h): duplicates
// show in grey, rows the unit cannot take in red. The source file is only ever read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "exchange/format.h"
#include "import/preview.h"
#include "lists/point_list_ctrl.h"
#include "pointfile/point_file.h"
#include "registry/datum_setting.h"

// The text of a row that duplicates a point of the open file, and of one the unit cannot
// take: on the list's dark blue, a grey that still reads and a red that is not lost in it.
inline constexpr COLORREF kDuplicateRowText = RGB(168, 176, 186);
inline constexpr COLORREF kCannotStoreRowText = RGB(255, 110, 110);

// What the import list needs of the window it copies points into.
class ImportListHost {
 public:
  // The point list's window rectangle, in screen coordinates: where a drag may end.
  virtual RECT GetPointListRect() const = 0;
  // The row of the point list under a point in screen coordinates, or -1 on no row.
  virtual int PointListRowAt(POINT screen) const = 0;
  // Copies the rows selected in the import list into the open file in front of row
  // `dropRow` of the point list; a negative row means after the last one.
  virtual void TransferPoints(int dropRow) = 0;
  // A source was loaded (or the list emptied): the host judges it against the open file
  // (JudgeAgainst) and shows its summary.
  virtual void SourceChanged() = 0;

 protected:
  ~ImportListHost() = default;
};

class ImportListView : public PointListCtrl {
 public:
  // Source files are read through `files`; what goes wrong is told through `messages`;
  // interchange files are converted to the datum `datum` holds when they are loaded.
  ImportListView(const PointIcons& icons, ImportListHost& host, FileStore& files, MessageSink& messages,
                 const DatumSetting& datum)
      : PointListCtrl(icons), m_host(host), m_files(files), m_messages(messages), m_datum(datum) {}

  // Loads `path` as the source file and shows its points, row i for slot i. The load
  // reports its own failures. Whatever is not a point file leaves the list empty; an
  // interchange file that cannot be read leaves the list as it was.
  void LoadSource(const std::string& path);
  // Reads an interchange source again, after the datum setting changed. A source that can
  // no longer be read leaves the list empty rather than showing rows in the other datum.
  void ReloadForeignSource();
  // The most rows the list shows: the slots of a point file.
  void SetMaxPoints(int maxPoints) { m_maxPoints = maxPoints; }
  // The drag cursor: one row (105) with at most one row selected, several (144) otherwise.
  void SetDragCursor() const;

  // Judges every row again against `open`, the file the rows would be copied into, and
  // repaints the rows.
  void JudgeAgainst(const PointFile& open);
  const std::vector<RowVerdict>& Verdicts() const { return m_verdicts; }
  // Whether the list shows a source with at least one point, and the summary of its rows.
  bool ShowsSource() const { return CountVerdicts(m_verdicts).points > 0; }
  std::string SummaryText() const { return PreviewSummaryText(CountVerdicts(m_verdicts)); }
  // The colour of a row's text: the list's own, grey for a duplicate, red for a row that
  // cannot be stored.
  COLORREF RowTextColour(int row) const;

  const PointFile& SourceFile() const { return m_sourceFile; }
  const std::string& SourcePath() const { return m_sourcePath; }
  // Whether the source is an interchange file rather than a point file.
  bool IsForeignSource() const;
  bool IsDragging() const { return m_dragging; }

 private:
  void LoadForeignSource(const std::string& path, Format format);
  // The rows afresh from the source file and its facts, then the host told.
  void ShowSource();
  void OnCustomDraw(NMHDR* header, LRESULT* result);
  LRESULT OnDropFiles(WPARAM, LPARAM);
  void OnDeleteAllItems(NMHDR* header, LRESULT* result);
  void OnBeginDrag(NMHDR* header, LRESULT* result);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);

  ImportListHost& m_host;
  FileStore& m_files;
  MessageSink& m_messages;
  const DatumSetting& m_datum;
  PointFile m_sourceFile;
  std::vector<SourceRowFacts> m_rowFacts;  // of an interchange source; empty for a point file
  std::vector<RowVerdict> m_verdicts;      // one per row
  std::string m_sourcePath;
  bool m_dragging = false;
  int m_maxPoints = kSlotCount;

  OSTREL_MESSAGE_TABLE();
};
