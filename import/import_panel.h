// ImportPanel: the import screen's own part of the main window. It owns the import list
// with its source file, the folder the import dialog starts in, and the import command;
// the rows a drag copies are its choice (ChooseDraggedRows: no row the unit cannot take, and
// duplicates only when the user says so), and their copy into the open file is its
// TransferPoints, which the window runs through its one way in for new points.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "import/import_list_view.h"
#include "pointfile/point_insertion.h"

class ImportPanel {
 public:
  ImportPanel(const PointIcons& icons, ImportListHost& host, FileStore& files, MessageSink& messages,
              const DatumSetting& datum)
      : m_importList(icons, host, files, messages, datum) {}

  // Where the import dialog first opens: the folder of the file the editor started with.
  void SetImportDir(std::string dir) { m_importDir = std::move(dir); }
  // The import command: the open dialog over `owner`, starting in the import folder, then
  // the chosen file loaded as the source. The folder follows the chosen file.
  void OnFileImport(HWND owner);
  // The rows of a drag to copy: the selected rows the unit can take, without the duplicates
  // of the open file's points unless the user wants them too (one question over `owner`:
  // Yes all, No only the new ones, Cancel nothing). Empty when nothing is to be copied; when
  // no dragged row can be stored the user is told so.
  std::vector<int> ChooseDraggedRows(HWND owner) const;
  // Copies the points of `rows` (ascending) of the import list into `target` in front of
  // `dropRow` (negative: after the last point), while it holds fewer than `maxPoints`.
  Insertion TransferPoints(PointFile& target, int dropRow, std::span<const int> rows, int maxPoints) const;

  ImportListView& ImportList() { return m_importList; }
  const std::string& ImportDir() const { return m_importDir; }

 private:
  ImportListView m_importList;
  std::string m_importDir;
  std::string m_importPath;
};
