#include "app/main_dialog.h"

#include "app/about_dialog.h"
#include "framework/dropped_files.h"
#include "framework/prompts.h"
#include "framework/sjis_path.h"
#include "framework/text_encoding.h"
#include "import/foreign_points.h"
#include "resources/resource.h"

const MessageEntry MainDialog::kMessageEntries[] = {
    OnMessage<&MainDialog::OnPaint>(WM_PAINT),
    OnMessage<&MainDialog::OnQueryDragIcon>(WM_QUERYDRAGICON),
    OnMessage<&MainDialog::OnCtlColorDialog>(WM_CTLCOLORDLG),
    OnNotify<&MainDialog::OnPointListDoubleClick>(NM_DBLCLK, IDC_POINT_LIST),
    OnNotify<&MainDialog::OnPointListClick>(NM_CLICK, IDC_POINT_LIST),
    OnNotify<&MainDialog::OnPointListColumnClick>(LVN_COLUMNCLICK, IDC_POINT_LIST),
    OnMessage<&MainDialog::OnContextMenu>(WM_CONTEXTMENU),
    OnMessage<&MainDialog::OnSize>(WM_SIZE),
    OnMessage<&MainDialog::OnSizing>(WM_SIZING),
    OnMessage<&MainDialog::OnDropFiles>(WM_DROPFILES),
    OnMessage<&MainDialog::OnDestroy>(WM_DESTROY),
    OnMessage<&MainDialog::OnInitMenuPopup>(WM_INITMENUPOPUP),
    OnMessage<&MainDialog::OnMarkerNotice>(kMarkerNoticeMessage),
    OnMessage<&MainDialog::OnHelperReply>(kHelperReplyMessage),
    OnCommand<&MainDialog::OnFileOpen>(ID_FILE_OPEN),
    OnCommand<&MainDialog::OnFileSave>(ID_FILE_SAVE),
    OnCommand<&MainDialog::OnFileSaveAs>(ID_FILE_SAVE_AS),
    OnCommand<&MainDialog::OnRestoreBackup>(IDM_FILE_RESTORE_BACKUP),
    OnCommand<&MainDialog::OnFileImport>(IDM_FILE_IMPORT),
    OnCommand<&MainDialog::OnAppExit>(ID_APP_EXIT),
    OnCommand<&MainDialog::OnUndo>(ID_EDIT_UNDO),
    OnCommand<&MainDialog::OnRedo>(ID_EDIT_REDO),
    OnCommand<&MainDialog::OnFind>(ID_EDIT_FIND),
    OnCommand<&MainDialog::FindNext>(ID_EDIT_REPEAT),
    OnCommand<&MainDialog::OnEditPoint>(IDC_EDIT_POINT),
    OnCommand<&MainDialog::OnAddPoint>(IDC_ADD_POINT),
    OnCommand<&MainDialog::OnDeletePoint>(IDC_DELETE_POINT),
    OnCommand<&MainDialog::OnBulkEdit>(IDM_BULK_EDIT),
    OnCommand<&MainDialog::OnMoveToMarker>(IDM_MOVE_TO_MARKER),
    OnCommand<&MainDialog::OnMapDisplay>(IDC_MAP_DISPLAY),
    OnCommand<&MainDialog::OnCapturePosition>(IDC_TAKE_POSITION),
    OnCommand<&MainDialog::OnSelectAll>(IDM_SELECT_ALL),
    OnCommand<&MainDialog::OnDeselectAll>(IDM_DESELECT_ALL),
    OnCommand<&MainDialog::OnViewEditScreen>(IDM_VIEW_EDIT_SCREEN),
    OnCommand<&MainDialog::OnViewImportScreen>(IDM_VIEW_IMPORT_SCREEN),
    OnCommand<&MainDialog::OnSelectMapObject>(IDM_MAP_OBJECT),
    OnCommand<&MainDialog::OnDatumWgs84>(IDM_DATUM_WGS84),
    OnCommand<&MainDialog::OnDatumTokyo>(IDM_DATUM_TOKYO),
    OnCommand<&MainDialog::OnAppAbout>(ID_APP_ABOUT),
};
OSTREL_DEFINE_MESSAGE_TABLE(MainDialog, Dialog);

namespace {

// The first token of the command line: delimiters are comma, TAB, line feed and the
// double quote, so a quoted path may hold blanks and a blank never ends a path. Without
// any token the whole text is the path (an empty command line gives an empty path).
// The text is walked in place, so any length is taken whole.
std::string FirstCommandLineToken(const std::string& text) {
  constexpr char kDelimiters[] = ",\t\n\"";
  const size_t start = text.find_first_not_of(kDelimiters);
  if (start == std::string::npos) return text;
  const size_t end = text.find_first_of(kDelimiters, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string CurrentDirectory() {
  const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(length, L'\0');
  const DWORD got = ::GetCurrentDirectoryW(length, dir.data());
  dir.resize(got);
  return NarrowText(dir);
}

}  // namespace

MainDialog::MainDialog(const std::string& commandLine) : Dialog(IDD_MAIN) {
  m_filePath = FirstCommandLineToken(commandLine);
  RememberPath(m_filePath);
  m_importPanel.SetImportDir(m_fileDir);
  m_history.SetListener(this);
  m_hIcon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                            IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

MainDialog::~MainDialog() {
  // A modeless window (tests) still exists here; its last messages must find the
  // members alive, so it goes before they do.
  if (IsWindow()) Destroy();
  if (m_bkBrush) ::DeleteObject(m_bkBrush);
}

void MainDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_MARKER_LONGITUDE, m_lonEdit);
  dx.Control(IDC_MARKER_LATITUDE, m_latEdit);
  dx.Control(IDC_POINT_LIST, m_pointList);
  dx.Control(IDC_IMPORT_LIST, m_importPanel.ImportList());
}

BOOL MainDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  m_keys.Install(m_hwnd, IDR_MAINFRAME);
  m_helperLink.ReadMapObjectName();
  m_helperLink.RegisterMapMessages();

  m_statusBar.Create(m_hwnd, IDW_STATUS_BAR);
  m_statusBar.SetBkColor(RGB(164, 174, 192));
  {
    // The bar chose its height (one line of its font) when it was created; keep it.
    const RECT client = ClientRect();
    const RECT bar = m_statusBar.WindowRect();
    const int height = bar.bottom - bar.top;
    m_statusBar.Move(client.left, client.bottom - height, client.right - client.left, height);
  }
  SetStatusPanes();
  for (int pane = 0; pane < 3; ++pane) m_statusBar.SetPaneText(pane, "", pane == 0 ? SBT_NOBORDERS : 0);

  m_helperLink.CheckHelperPresent();
  m_maxPoints = kSlotCount;
  m_importPanel.ImportList().SetMaxPoints(m_maxPoints);
  {
    // The template's size, as the system scaled it for the monitor.
    const RECT outer = WindowRect();
    SetMinimumSize({outer.right - outer.left, outer.bottom - outer.top});
  }
  EnableItem(IDC_TAKE_POSITION, false);
  m_icons.LoadPointIcons(ProgramFolder(), Scale());
  m_bkColor = RGB(0, 0, 0);
  m_bkBrush = ::CreateSolidBrush(m_bkColor);
  if (m_viewMode == 1)
    LayoutImportScreen();
  else
    LayoutEditScreen();
  m_lonEdit.Enable(false);
  m_latEdit.Enable(false);
  // Each list marks this window's image lists as shared (LVS_SHAREIMAGELISTS) before it
  // takes them, so no list frees them with itself.
  m_pointList.SetupColumns(Scale());
  m_importPanel.ImportList().SetupColumns(Scale());
  if (!m_filePath.empty()) OpenPointFile(m_filePath);
  m_sizedOnce = true;
  return TRUE;
}

void MainDialog::OnOK() {
  // Enter reaches every dialog as IDOK; this window has no OK button, so it does nothing.
}

void MainDialog::OnCancel() {
  if (ConfirmClose()) EndDialog(IDCANCEL);
}

void MainDialog::OnAppExit() {
  // As the close box does: the dialog manager turns WM_CLOSE into the cancel command.
  Send(WM_CLOSE);
}

void MainDialog::OnAppAbout() {
  AboutDialog about(m_hwnd);
  about.DoModal();
}

void MainDialog::RememberPath(const std::string& path) {
  const PathParts parts = SplitPath(path);
  m_fileDir = parts.drive + parts.directory;
  if (m_fileDir.empty()) m_fileDir = CurrentDirectory();
  m_savePath = HasPointFileExtension(path) ? path : std::string();
}

void MainDialog::OpenPointFile(const std::string& path) {
  m_pointFile.LoadFile(path, m_fileStore, m_messageSink);
  m_history.Reset();
  m_sortColumn = -1;
  FillPointList();
}

LRESULT MainDialog::OnDropFiles(WPARAM wParam, LPARAM) {
  const std::optional<std::string> path = TakeLastDroppedFile(reinterpret_cast<HDROP>(wParam), m_messageSink);
  if (!path) return 0;
  // Points from elsewhere go to the import list, from where the user drags the ones to keep.
  if (ForeignFormat(*path)) {
    LayoutImportScreen();
    m_importPanel.ImportList().LoadSource(*path);
    return 0;
  }
  m_filePath = *path;
  RememberPath(m_filePath);
  OpenPointFile(m_filePath);
  return 0;
}

LRESULT MainDialog::OnPaint(WPARAM, LPARAM) {
  if (!IsIconic()) return Default();
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hwnd, &paint);
  Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
  const RECT client = ClientRect();
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, m_hIcon);
  ::EndPaint(m_hwnd, &paint);
  return 0;
}

LRESULT MainDialog::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT MainDialog::OnCtlColorDialog(WPARAM wParam, LPARAM) {
  if (!m_bkBrush) return Default();
  ::SetBkColor(reinterpret_cast<HDC>(wParam), m_bkColor);
  return reinterpret_cast<LRESULT>(m_bkBrush);
}

LRESULT MainDialog::OnDestroy(WPARAM, LPARAM) {
  // The brush goes first: nothing paints the dialog any more.
  if (m_bkBrush) ::DeleteObject(m_bkBrush);
  m_bkBrush = nullptr;
  m_keys.Uninstall();
  m_helperLink.CloseHelper();
  return 0;
}

// --- Routed to the map link ------------------------------------------------------------

void MainDialog::OnMapDisplay() { m_helperLink.OnMapDisplay(m_pointFile, m_pointList.SelectedRows(), m_hwnd); }

void MainDialog::OnCapturePosition() { m_helperLink.OnCapturePosition(); }

void MainDialog::OnSelectMapObject() { m_helperLink.OnSelectMapObject(m_hwnd); }

LRESULT MainDialog::OnMarkerNotice(WPARAM, LPARAM) {
  m_helperLink.OnMarkerNotice();
  return 0;
}

LRESULT MainDialog::OnHelperReply(WPARAM wParam, LPARAM lParam) {
  m_helperLink.OnHelperReply(wParam, lParam);
  return 0;
}

void MainDialog::MarkerAvailable() {
  m_lonEdit.Enable(true);
  m_latEdit.Enable(true);
  EnableItem(IDC_TAKE_POSITION, true);
}

void MainDialog::MarkerTextsChanged(const MarkerTexts& marker) {
  m_latEdit.SetText(marker.latitude);
  m_lonEdit.SetText(marker.longitude);
}

void MainDialog::PointCaptured(const MarkerTexts& marker) {
  InsertPoints([&](PointFile& file, int maxPoints) { return CapturePoint(file, marker, maxPoints); },
               NewRows::kSelect);
  m_pointList.Update();
}

// --- Routed to the import screen -------------------------------------------------------

void MainDialog::OnFileImport() {
  // The import screen comes first and stays, whether a file is chosen or not.
  LayoutImportScreen();
  m_importPanel.OnFileImport(m_hwnd);
}

void MainDialog::OnDatumWgs84() { ChooseDatum(ExchangeDatum::kWgs84); }

void MainDialog::OnDatumTokyo() { ChooseDatum(ExchangeDatum::kTokyo); }

void MainDialog::ChooseDatum(ExchangeDatum datum) {
  if (m_datumSetting.Load() == datum) return;
  m_datumSetting.Save(datum);
  // Rows already converted to the other datum would be copied there: they are read again.
  m_importPanel.ImportList().ReloadForeignSource();
}

RECT MainDialog::GetPointListRect() const { return m_pointList.WindowRect(); }

int MainDialog::PointListRowAt(POINT screen) const { return m_pointList.HitTest(m_pointList.ScreenToClient(screen)); }

void MainDialog::TransferPoints(int dropRow) {
  // What the drag left on the screen is painted before the copying starts (or the question).
  Update();
  const std::vector<int> rows = m_importPanel.ChooseDraggedRows(m_hwnd);
  if (rows.empty()) return;
  InsertPoints(
      [&](PointFile& file, int maxPoints) { return m_importPanel.TransferPoints(file, dropRow, rows, maxPoints); },
      NewRows::kKeepSelection);
}

void MainDialog::SourceChanged() { OpenFileChanged(); }

void MainDialog::OpenFileChanged() {
  m_importPanel.ImportList().JudgeAgainst(m_pointFile);
  ShowPathPane();
}
