// MainDialog: the main window (template 132, menu 128). It holds the open file and its point
// list, and joins the subsystems, each an object that owns its state: the point icons, the
// map link (HelperLink) and the import screen (ImportPanel). Every command, notification and
// message arrives here and is routed to its handler; the window's own handlers live in the
// files of what they do:
//   main_dialog.cpp          construction, initialisation, drops, painting, closing, routing
//   main_layout.cpp          the two layouts, resizing, minimum size
//   point_list_commands.cpp  filling the list, status texts, row click, context menu
//   file_commands.cpp        open, save (with its backup), save as, restore, the question on closing
//   point_commands.cpp       edit, add, delete, bulk edit, move to the marker, the point edit
//                            dialog, new points
//   history_commands.cpp     undo, redo, the menu items' state
//   find_commands.cpp        the find box, find next
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/find_box.h"
#include "app/history/file_history.h"
#include "app/point_list_view.h"
#include "framework/accelerators.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/prompts.h"
#include "framework/win32_backup_folder.h"
#include "framework/win32_file_store.h"
#include "import/import_panel.h"
#include "lists/point_icons.h"
#include "maplink/helper_link.h"
#include "maplink/win32_helper_channel.h"
#include "pointfile/backup_folder.h"
#include "pointfile/point_file.h"
#include "pointfile/point_insertion.h"
#include "registry/datum_setting.h"
#include "registry/win32_registry.h"

class MainDialog : public Dialog,
                   private HelperLinkHost,
                   private ImportListHost,
                   private FindBoxHost,
                   private FileChangeListener {
 public:
  // `commandLine` is the text after the program's name (Shift_JIS); its first token names
  // the file opened at start-up.
  explicit MainDialog(const std::string& commandLine);
  ~MainDialog() override;

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // --- Start-up and files opened from outside ------------------------------------------
  // Sets m_fileDir and m_savePath from a path.
  void RememberPath(const std::string& path);
  // Loads `path` into m_pointFile (the load reports its own errors) and refills the list.
  void OpenPointFile(const std::string& path);

  // --- Point list and status bar --------------------------------------------------------
  void FillPointList();
  void UpdateStatusTexts();
  // Status pane 0: on the import screen with a source shown, the summary of its rows;
  // otherwise the open file's path.
  void ShowPathPane();

  // --- File commands --------------------------------------------------------------------
  // The save step: a backup of the file it replaces first (when that fails, the user decides
  // whether to save without one), then the safe save.
  void SavePoints(const std::string& path);
  void AskSaveAs();
  // The question on closing: true when the window may close.
  bool ConfirmClose();

  // --- Point commands -------------------------------------------------------------------
  // Runs the point edit dialog for slot `index`; IDOK when a point was stored.
  int EditPoint(bool isNew, int index);
  // The message that the open file holds as many points as it may.
  void ShowPointLimit();

  // --- Undo and redo --------------------------------------------------------------------
  // Puts `content` in place of the open file's points as one change that can be undone,
  // refills the list and the count; the file is written only when the user saves. Any
  // other command that changes the file whole opens a FileHistory::Change around its work.
  void ReplacePoints(const PointFile& content);

  // --- Layout ---------------------------------------------------------------------------
  void LayoutEditScreen();
  void LayoutImportScreen();
  void AlignRight(int controlId);
  // The status bar's two fixed panes, 100 pixels each at 96 DPI.
  void SetStatusPanes();
  // The smallest size the user may drag the window to: `size`, within the monitor's work area.
  void SetMinimumSize(PixelSize size);

  // --- The window's state and parts, for the dialogs it runs and for tests --------------
  PointFile& Points() { return m_pointFile; }
  PointListView& PointList() { return m_pointList; }
  FileHistory& History() { return m_history; }
  FindBox& Finder() { return m_findBox; }
  StatusBar& Status() { return m_statusBar; }
  const PointIcons& Icons() const { return m_icons; }
  HelperLink& MapLink() { return m_helperLink; }
  DatumSetting& Datum() { return m_datumSetting; }
  ImportPanel& Import() { return m_importPanel; }
  const std::string& FilePath() const { return m_filePath; }
  const std::string& SavePath() const { return m_savePath; }
  const std::string& FileDir() const { return m_fileDir; }
  // Where backups go: %LOCALAPPDATA%\Ostrel\Backups unless a test puts another folder in place.
  void UseBackupFolder(BackupFolder& folder) { m_backups = &folder; }
  int ViewMode() const { return m_viewMode; }
  int MinWidth() const { return m_minWidth; }
  int MinHeight() const { return m_minHeight; }
  HICON Icon() const { return m_hIcon; }
  HBRUSH BackgroundBrush() const { return m_bkBrush; }

 protected:
  void DoDataExchange(DataExchange& dx) override;

 private:
  // How the new rows of an insertion are selected.
  enum class NewRows {
    kKeepSelection,   // the rows selected before stay selected (a drop from the import list)
    kSelect,          // only the new rows are selected (a capture)
    kSelectAndFocus,  // ... and the first of them has the focus (an added point)
  };
  // The one way new points reach the open file: `insert` puts them into the file (through
  // InsertPoints, with this window's limit), then their rows are shown, the count follows,
  // and a file that took fewer than asked for gets the one message about the limit.
  Insertion InsertPoints(const std::function<Insertion(PointFile&, int maxPoints)>& insert, NewRows newRows);

  // The map link's and the import list's view of this window.
  void MarkerAvailable() override;
  void MarkerTextsChanged(const MarkerTexts& marker) override;
  void PointCaptured(const MarkerTexts& marker) override;
  RECT GetPointListRect() const override;
  int PointListRowAt(POINT screen) const override;
  void TransferPoints(int dropRow) override;
  void SourceChanged() override;
  // The source's rows judged again against the open file, and their summary shown.
  void OpenFileChanged() override;

  // The find box's view of this window (find_commands.cpp): the rows holding the text are
  // selected, the first scrolled into view; the next one after the focused row.
  void FindTextChanged(const std::string& text) override;
  void FindNext() override;
  void OnFind();

  // Window messages (main_dialog.cpp, main_layout.cpp).
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnCtlColorDialog(WPARAM, LPARAM);
  LRESULT OnDropFiles(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnSizing(WPARAM, LPARAM);
  void OnScaleChanged(DisplayScale previous) override;
  void OnAppAbout();
  void OnAppExit();
  void OnViewEditScreen();
  void OnViewImportScreen();

  // Point list (point_list_commands.cpp).
  void OnPointListClick(NMHDR* header, LRESULT* result);
  void OnPointListDoubleClick(NMHDR* header, LRESULT* result);
  // A header click sorts the points by that column; a second click on it reverses.
  void OnPointListColumnClick(NMHDR* header, LRESULT* result);
  LRESULT OnContextMenu(WPARAM, LPARAM);
  void OnSelectAll();
  void OnDeselectAll();

  // File commands (file_commands.cpp).
  // Keeps the file at `path` as a backup before a save replaces it; false when that failed
  // and the user chose not to save without one.
  bool KeepBackupBeforeSave(const std::string& path);
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();
  void OnRestoreBackup();

  // Undo and redo (history_commands.cpp).
  void OnUndo();
  void OnRedo();
  LRESULT OnInitMenuPopup(WPARAM, LPARAM);

  // Point commands (point_commands.cpp).
  void OnEditPoint();
  void OnAddPoint();
  void OnDeletePoint();
  // With two or more points selected: their icon and voice guidance at once.
  void OnBulkEdit();
  void OnMoveToMarker();
  // The one row 位置をマーカーへ移動 moves, or -1 when there is no marker position yet, or
  // not exactly one row selected, or the row is the blank row of an empty slot.
  int RowToMoveToMarker() const;

  // Routed to the map link and the import screen (main_dialog.cpp).
  void OnMapDisplay();
  void OnCapturePosition();
  void OnSelectMapObject();
  LRESULT OnMarkerNotice(WPARAM, LPARAM);
  LRESULT OnHelperReply(WPARAM, LPARAM);
  void OnFileImport();
  // The unit's datum, which imported points are converted to; the helper's setting too.
  void OnDatumWgs84();
  void OnDatumTokyo();
  void ChooseDatum(ExchangeDatum datum);

  // How the core reaches files and the user.
  Win32FileStore m_fileStore;
  Win32BackupFolder m_backupFolder{DefaultBackupDirectory()};
  BackupFolder* m_backups = &m_backupFolder;
  MessageBoxSink m_messageSink{*this};
  StatusBar m_statusBar;
  PointFile m_pointFile;
  PointIcons m_icons;
  PointListView m_pointList{m_icons, m_pointFile, m_history};
  FileHistory m_history{m_pointFile, m_pointList};
  AcceleratorHook m_keys;
  FindBox m_findBox{*this};
  std::string m_findText;
  Win32HelperChannel m_helperChannel;
  HelperLink m_helperLink{m_helperChannel, *this};
  DatumSetting m_datumSetting{SystemRegistry()};
  ImportPanel m_importPanel{m_icons, *this, m_fileStore, m_messageSink, m_datumSetting};
  unsigned char m_viewMode = 0;  // 0 edit screen, 1 import screen
  std::string m_fileDir;
  COLORREF m_bkColor = RGB(0, 0, 0);
  std::string m_filePath;
  std::string m_savePath;
  HBRUSH m_bkBrush = nullptr;
  int m_maxPoints = 0;
  int m_sortColumn = -1;  // the column the last header click sorted by, while the file is open
  bool m_sortDescending = false;
  Edit m_lonEdit;
  Edit m_latEdit;
  int m_minWidth = 0;
  int m_minHeight = 0;
  PixelSize m_laidOutSize{};  // the template's size at the window's scale, before clamping
  HICON m_hIcon = nullptr;
  // Set once the window has been initialised: size notifications before that (during
  // creation) find no controls to place.
  bool m_sizedOnce = false;

  OSTREL_MESSAGE_TABLE();
};
