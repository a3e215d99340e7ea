// MainDialog: the main window (template 132, menu 128). It owns every long-lived object of
// the program and routes each command, notification and message to its handler. The
// handlers live in the files of what they do:
//   main_dialog.cpp          construction, initialisation, drops, painting, closing
//   main_layout.cpp          the two layouts, resizing, minimum size
//   point_list_commands.cpp  filling the list, status texts, icons, row click, context menu
//   file_commands.cpp        open, save, save as, the question on closing
//   point_commands.cpp       edit, add, delete, the point edit dialog
//   maplink/map_link.cpp     the helper program: start, text commands, replies, close
//   maplink/map_commands.cpp map display, position capture, the map-object choice
//   import/import_commands.cpp  the import command, the transfer from the import list
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/prompts.h"
#include "framework/win32_file_store.h"
#include "import/import_list_view.h"
#include "maplink/helper_protocol.h"
#include "maplink/map_message_ids.h"
#include "maplink/map_object_dialog.h"
#include "pointfile/point_file.h"
#include "app/point_list_host.h"
#include "app/point_list_view.h"
#include "app/point_text_row.h"

class MainDialog : public Dialog, public PointListHost {
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
  void RefreshPointRow(int index);
  void AddPointRow(const PointTextRow& row, int index);
  void SelectRow(int index);
  void UpdateStatusTexts();
  void LoadPointIcons();
  HICON GetLargeIcon(int image) const;  // the caller destroys it
  RECT GetPointListRect() const override;  // screen coordinates

  // --- File commands --------------------------------------------------------------------
  void SavePoints(const std::string& path);
  void AskSaveAs();
  // The question on closing: true when the window may close.
  bool ConfirmClose();

  // --- Point commands -------------------------------------------------------------------
  // Runs the point edit dialog for slot `index`; IDOK when a point was stored.
  int EditPoint(bool isNew, int index);
  // The message that the open file holds as many points as it may.
  void ShowPointLimit();

  // --- Layout ---------------------------------------------------------------------------
  void LayoutEditScreen();
  void LayoutImportScreen();
  void AlignRight(int controlId);

  // --- Import list (import/import_commands.cpp) ---------------------------------------
  // Copies the points of the rows selected in the import list in front of `dropRow` of
  // the point list (negative: after the last row).
  void TransferPoints(int dropRow) override;
  int PointListRowAt(POINT screen) const override;

  // --- Map link -------------------------------------------------------------------------
  void RegisterMapMessages();
  // Whether the helper program stands beside the program (m_helperPresent).
  void CheckHelperPresent();
  // Starts the helper beside the program, when there is one, and sends the start
  // sequence: layer, map-object name, map start. Marks the helper started either way.
  void StartHelper();
  // Posts one text command to the helper's window; with no such window it is lost.
  void SendTextCommand(MapMessage command, std::string_view text);
  // Asks the helper to end and waits for it, a few seconds at most.
  void CloseHelper();

  // --- For the list controls, the dialogs it runs, and tests ----------------------------
  PointFile& Points() override { return m_pointFile; }
  PointListView& PointList() { return m_pointList; }
  ImportListView& ImportList() { return m_importList; }
  StatusBar& Status() { return m_statusBar; }
  const ImageList& SmallIcons() const override { return m_smallIcons; }
  const ImageList& LargeIcons() const override { return m_largeIcons; }
  const std::string& FilePath() const { return m_filePath; }
  const std::string& SavePath() const { return m_savePath; }
  const std::string& FileDir() const { return m_fileDir; }
  const std::string& ImportDir() const { return m_importDir; }
  int ViewMode() const { return m_viewMode; }
  bool HelperPresent() const { return m_helperPresent; }
  bool HelperStarted() const { return m_helperStarted; }
  const std::string& MapObjectName() const { return m_mapObjectName; }
  MapObjectDialog& MapObjects() { return m_mapObjectDialog; }
  int MinWidth() const { return m_minWidth; }
  int MinHeight() const { return m_minHeight; }
  HICON Icon() const { return m_hIcon; }
  HBRUSH BackgroundBrush() const { return m_bkBrush; }
  FileStore& Files() override { return m_fileStore; }
  MessageSink& Messages() override { return m_messageSink; }

 protected:
  void DoDataExchange(DataExchange& dx) override;

 private:
  // Window messages (main_dialog.cpp, main_layout.cpp).
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnCtlColorDialog(WPARAM, LPARAM);
  LRESULT OnDropFiles(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnSizing(WPARAM, LPARAM);
  void OnAppAbout();
  void OnAppExit();
  void OnViewEditScreen();
  void OnViewImportScreen();

  // Point list (point_list_commands.cpp).
  void OnPointListClick(NMHDR* header, LRESULT* result);
  void OnPointListDoubleClick(NMHDR* header, LRESULT* result);
  LRESULT OnContextMenu(WPARAM, LPARAM);
  void OnSelectAll();
  void OnDeselectAll();

  // File commands (file_commands.cpp).
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();

  // Import list (import/import_commands.cpp).
  void OnFileImport();

  // Point commands (point_commands.cpp).
  void OnEditPoint();
  void OnAddPoint();
  void OnDeletePoint();

  // Map link (maplink/map_link.cpp, maplink/map_commands.cpp).
  void OnMapDisplay();
  void OnCapturePosition();
  void OnSelectMapObject();
  LRESULT OnMarkerNotice(WPARAM, LPARAM);
  LRESULT OnHelperReply(WPARAM, LPARAM);
  UINT MapMessageId(MapMessage message) const { return m_mapMessages.Id(message); }
  HWND FindHelperWindow() const;
  void ReleaseHelperProcess();

  // Members in the order the window's parts were designed in.
  StatusBar m_statusBar;
  // Registered message ids of the helper protocol.
  MapMessageIds m_mapMessages;
  TextAssembler m_replyText;
  PROCESS_INFORMATION m_helperProcess{};
  HWND m_helperWindow = nullptr;
  std::string m_markerLongitude;
  PointFile m_pointFile;
  ImageList m_smallIcons;
  ImageList m_largeIcons;
  int m_editIndex = 0;
  PointTextRow m_row;
  unsigned char m_viewMode = 0;  // 0 edit screen, 1 import screen
  std::string m_fileDir;
  COLORREF m_bkColor = RGB(0, 0, 0);
  std::string m_filePath;
  std::string m_savePath;
  HBRUSH m_bkBrush = nullptr;
  std::string m_keyName;
  int m_maxPoints = 0;
  std::string m_mapObjectName;
  Edit m_lonEdit;
  Edit m_latEdit;
  PointListView m_pointList{*this};
  ImportListView m_importList{*this};
  bool m_helperPresent = false;
  bool m_helperStarted = false;
  std::string m_markerLatitude;
  MapObjectDialog m_mapObjectDialog;
  int m_minWidth = 0;
  int m_minHeight = 0;
  HICON m_hIcon = nullptr;
  std::string m_importDir;
  std::string m_importPath;
  // Set once the window has been initialised: size notifications before that (during
  // creation) find no controls to place.
  bool m_sizedOnce = false;
  // How the core reaches files and the user.
  Win32FileStore m_fileStore;
  MessageBoxSink m_messageSink{*this};

  OSTREL_MESSAGE_TABLE();
};
