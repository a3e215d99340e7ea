// Start-up of the main window: the command line, initialisation, drops, and closing.
#include <windows.h>
#include <commctrl.h>

#include "app/about_dialog.h"
#include "app/editor_app.h"
#include "framework/dialog_init_hooks.h"
#include "framework/text_encoding.h"
#include "app/tests/main_window_fixture.h"
#include "resources/resource.h"

namespace {

std::string StatusPane(MainDialog& d, int pane) { return d.Status().PaneText(pane); }

}  // namespace

TEST_F(MainWindowTest, StartsEmptyWithoutACommandLine) {
  MainDialog& d = Start("");
  EXPECT_EQ(d.Text(), "Ostrel");
  EXPECT_EQ(d.FilePath(), "");
  EXPECT_EQ(d.SavePath(), "");
  EXPECT_EQ(d.PointList().GetItemCount(), 0);
  for (int pane = 0; pane < 3; ++pane) EXPECT_EQ(StatusPane(d, pane), "") << pane;
  EXPECT_TRUE(m_prompts.Records().empty());
  EXPECT_EQ(d.ViewMode(), 0);

  // Icons, disabled marker controls, the remembered minimum size.
  EXPECT_EQ(reinterpret_cast<HICON>(d.Send(WM_GETICON, ICON_BIG)), d.Icon());
  EXPECT_EQ(reinterpret_cast<HICON>(d.Send(WM_GETICON, ICON_SMALL)), d.Icon());
  EXPECT_NE(d.Icon(), nullptr);
  EXPECT_FALSE(Window(d.Item(IDC_TAKE_POSITION)).IsEnabled());
  EXPECT_FALSE(Window(d.Item(IDC_MARKER_LATITUDE)).IsEnabled());
  EXPECT_FALSE(Window(d.Item(IDC_MARKER_LONGITUDE)).IsEnabled());
  const RECT outer = d.WindowRect();
  EXPECT_EQ(d.MinWidth(), Width(outer));
  EXPECT_EQ(d.MinHeight(), Height(outer));
  // Created at (0, 0), then centred on the screen's work area.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(outer.left + outer.right, work.left + work.right, 2);
  EXPECT_NEAR(outer.top + outer.bottom, work.top + work.bottom, 2);
  // With no path the dialogs start in the current directory.
  wchar_t cwd[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, cwd);
  EXPECT_EQ(d.FileDir(), NarrowText(cwd));
  EXPECT_EQ(d.Import().ImportDir(), d.FileDir());
}

TEST_F(MainWindowTest, AQuotedPathMayHoldBlanks) {
  const std::string path = MakePointFile("with blank.pnt", 3);
  MainDialog& d = Start("\"" + path + "\"");
  EXPECT_EQ(d.FilePath(), path);
  EXPECT_EQ(d.SavePath(), path);
  EXPECT_EQ(d.FileDir(), m_dir.Path());
  EXPECT_EQ(d.Points().GetPointCount(), 3);
  EXPECT_EQ(d.PointList().GetItemCount(), 3);
  EXPECT_EQ(StatusPane(d, 0), path);
  EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(MainWindowTest, OnlyTheFirstOfCommaSeparatedPathsOpens) {
  const std::string first = MakePointFile("first.pnt", 2);
  const std::string second = MakePointFile("second.pnt", 5);
  MainDialog& d = Start(first + "," + second);
  EXPECT_EQ(d.FilePath(), first);
  EXPECT_EQ(d.Points().GetPointCount(), 2);
}

TEST_F(MainWindowTest, ABlankDoesNotEndAPath) {
  const std::string first = MakePointFile("a.pnt", 2);
  const std::string second = MakePointFile("b.pnt", 5);
  MainDialog& d = Start(first + " " + second);
  EXPECT_EQ(d.FilePath(), first + " " + second);
  EXPECT_EQ(d.Points().GetPointCount(), 0);
  ASSERT_EQ(m_prompts.Messages().size(), 1u);  // the load says it could not open the file
  EXPECT_NE(m_prompts.Messages()[0].find(second), std::string::npos);
}

TEST_F(MainWindowTest, OddCommandLinesAreTakenAsTheyAre) {
  // Only delimiters: no token, so the whole text is the path.
  EXPECT_EQ(Start("\",\"").FilePath(), "\",\"");

  // Longer than any fixed buffer: taken whole, nothing written past anything.
  const std::string longPath = m_dir.Path() + std::string(600, 'x') + ".pnt";
  MainDialog& d = Start("\"" + longPath + "\",other");
  EXPECT_EQ(d.FilePath(), longPath);
  EXPECT_EQ(d.SavePath(), longPath);

  // Not a .pnt name: nothing to save back to.
  const std::string text = m_dir.File("notes.TXT");
  EXPECT_EQ(Start(text).SavePath(), "");
  EXPECT_EQ(m_dialog->FileDir(), m_dir.Path());
}

TEST(CommandLine, ArrivesInShiftJisOrIsRefused) {
  std::string refusal;
  EXPECT_EQ(CommandLineText(L"\"C:\\地図 表\\a.pnt\"", &refusal), "\"C:\\地図 表\\a.pnt\"");
  EXPECT_EQ(refusal, "");
  // A name Shift_JIS cannot hold would open some other file: nothing opens, the user is told.
  const wchar_t* hangul = L"C:\\\uD55C.pnt";
  EXPECT_EQ(CommandLineText(hangul, &refusal), "");
  EXPECT_NE(refusal.find("開けません"), std::string::npos);
}

TEST_F(MainWindowTest, RememberPathSplitsShiftJisPaths) {
  MainDialog& d = Start("");
  // 表 ends in the byte of '\': the directory must not be cut inside it.
  d.RememberPath("C:\\地図表\\点.PnT");
  EXPECT_EQ(d.FileDir(), "C:\\地図表\\");
  EXPECT_EQ(d.SavePath(), "C:\\地図表\\点.PnT");
  d.RememberPath("C:\\表.pnt\\x");
  EXPECT_EQ(d.SavePath(), "");
}

TEST_F(MainWindowTest, TheLastOfThreeDroppedFilesOpens) {
  const std::string a = MakePointFile("a.pnt", 1);
  const std::string b = MakePointFile("b.pnt", 2);
  const std::string c = MakePointFile("c 3.pnt", 3);
  MainDialog& d = Start("");
  d.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({WidenText(a), WidenText(b), WidenText(c)})));
  EXPECT_EQ(d.FilePath(), c);
  EXPECT_EQ(d.SavePath(), c);
  EXPECT_EQ(d.Points().GetPointCount(), 3);
  EXPECT_EQ(StatusPane(d, 0), c);
}

TEST_F(MainWindowTest, ADroppedPathShiftJisCannotHoldOpensNothing) {
  const std::string a = MakePointFile("a.pnt", 2);
  MainDialog& d = Start(a);
  const std::wstring foreign = m_dir.WidePath() + L"\uD55C.pnt";
  d.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({foreign})));
  ASSERT_EQ(m_prompts.Messages().size(), 1u);
  EXPECT_NE(m_prompts.Messages()[0].find("開けません"), std::string::npos);
  EXPECT_EQ(d.FilePath(), a);
  EXPECT_EQ(d.Points().GetPointCount(), 2);
}

TEST_F(MainWindowTest, EnterDoesNothing) {
  MainDialog& d = Start("");
  d.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
  PumpMessages();
  EXPECT_TRUE(d.IsWindow());
  EXPECT_TRUE(m_prompts.Records().empty());
}

TEST_F(MainWindowTest, EveryWayOfClosingEndsTheWindow) {
  // Button "終了", the close box (WM_CLOSE), the menu's exit command, Esc (IDCANCEL).
  const std::vector<std::pair<UINT, WPARAM>> routes = {
      {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
      {WM_CLOSE, 0},
      {WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0)},
      {WM_SYSCOMMAND, SC_CLOSE},
  };
  for (const auto& [message, wParam] : routes) {
    MainDialog& d = Start("");
    d.Send(message, wParam);
    PumpMessages();
    EXPECT_FALSE(d.IsWindow()) << message << " " << wParam;
  }
}

TEST_F(MainWindowTest, TheDialogIsBlackAndControlsKeepTheirColours) {
  MainDialog& d = Start("");
  HDC dc = ::GetDC(d.Handle());
  ::SetBkColor(dc, RGB(1, 2, 3));
  EXPECT_EQ(d.Send(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(d.Handle())),
            reinterpret_cast<LRESULT>(d.BackgroundBrush()));
  EXPECT_EQ(::GetBkColor(dc), RGB(0, 0, 0));
  LOGBRUSH brush{};
  ::GetObjectW(d.BackgroundBrush(), sizeof brush, &brush);
  EXPECT_EQ(brush.lbColor, RGB(0, 0, 0));
  // A button is coloured by the system, not with the black brush.
  EXPECT_NE(d.Send(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(d.Item(IDCANCEL))),
            reinterpret_cast<LRESULT>(d.BackgroundBrush()));
  ::ReleaseDC(d.Handle(), dc);
  EXPECT_EQ(d.Send(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(d.Icon()));
}

TEST_F(MainWindowTest, TheMenuOffersTheCommandsInOrder) {
  MainDialog& d = Start("");
  const Menu bar(d.GetMenu());
  const std::vector<std::string> titles = {"ﾌｧｲﾙ(&F)", "編集", "変換", "表示", "地図", "ﾍﾙﾌﾟ"};
  ASSERT_EQ(bar.ItemCount(), static_cast<int>(titles.size()));
  // Per pop-up: (text, id), a separator as ("", 0).
  const std::vector<std::vector<std::pair<std::string, UINT>>> items = {
      {{"開く", ID_FILE_OPEN}, {"", 0}, {"上書き保存(pnt)", ID_FILE_SAVE},
       {"名前を付けて保存(pnt)", ID_FILE_SAVE_AS}, {"バックアップから復元", IDM_FILE_RESTORE_BACKUP}, {"", 0}, {"インポート", IDM_FILE_IMPORT}, {"", 0},
       {"ｱﾌﾟﾘｹｰｼｮﾝの終了", ID_APP_EXIT}},
      {{"元に戻す\tCtrl+Z", ID_EDIT_UNDO}, {"やり直し\tCtrl+Y", ID_EDIT_REDO}, {"", 0},
       {"変更", IDC_EDIT_POINT}, {"追加", IDC_ADD_POINT}, {"削除", IDC_DELETE_POINT}, {"", 0},
       {"コピー\tCtrl+C", ID_EDIT_COPY}, {"貼り付け\tCtrl+V", ID_EDIT_PASTE}, {"一括変更", IDM_BULK_EDIT}, {"", 0},
       {"検索\tCtrl+F", ID_EDIT_FIND}, {"次を検索\tF3", ID_EDIT_REPEAT}, {"", 0},
       {"地図表示", IDC_MAP_DISPLAY}, {"位置取り込み", IDC_TAKE_POSITION},
       {"位置をマーカーへ移動", IDM_MOVE_TO_MARKER}},
      {{"", 0}, {"全て選択", IDM_SELECT_ALL}, {"選択解除", IDM_DESELECT_ALL}},
      {{"編集画面", IDM_VIEW_EDIT_SCREEN}, {"インポート", IDM_VIEW_IMPORT_SCREEN}},
      {{"選択", IDM_MAP_OBJECT}, {"", 0}, {"世界測地系", IDM_DATUM_WGS84}, {"日本測地系", IDM_DATUM_TOKYO}},
      {{"ﾊﾞｰｼﾞｮﾝ情報", ID_APP_ABOUT}},
  };
  for (int i = 0; i < bar.ItemCount(); ++i) {
    EXPECT_EQ(bar.ItemText(i), titles[i]);
    const Menu popup = bar.SubMenu(i);
    ASSERT_EQ(popup.ItemCount(), static_cast<int>(items[i].size())) << titles[i];
    for (int j = 0; j < popup.ItemCount(); ++j) {
      const auto& [text, id] = items[i][j];
      if (id == 0) {
        EXPECT_TRUE(popup.IsSeparator(j)) << titles[i] << " " << j;
      } else {
        EXPECT_EQ(popup.ItemText(j), text);
        EXPECT_EQ(popup.ItemId(j), id);
      }
    }
  }
}

TEST_F(MainWindowTest, TheControlsSitWhereTheTemplatePutsThem) {
  MainDialog& d = Start("");
  struct Expected {
    int id;
    RECT units;  // x, y, width, height in dialog units
    const char* text;
  };
  const Expected controls[] = {
      {IDC_ADD_POINT, {344, 65, 34, 14}, "新規追加"},   {IDC_DELETE_POINT, {344, 97, 34, 14}, "削除"},
      {IDC_EDIT_POINT, {344, 33, 34, 14}, "編集"},      {IDC_MAP_DISPLAY, {268, 1, 34, 14}, "地図表示"},
      {IDC_TAKE_POSITION, {169, 2, 34, 14}, "位置取込"}, {IDC_MARKER_LATITUDE, {32, 2, 46, 12}, ""},
      {IDC_MARKER_LATITUDE_LABEL, {8, 3, 17, 11}, "緯度"}, {IDC_MARKER_LONGITUDE, {106, 2, 47, 12}, ""},
      {IDC_MARKER_LONGITUDE_LABEL, {84, 3, 17, 10}, "経度"}, {IDCANCEL, {344, 242, 34, 14}, "終了"},
  };
  for (const Expected& c : controls) {
    // The dialog manager converts the position and the size each on its own.
    RECT pixels = c.units;
    ::MapDialogRect(d.Handle(), &pixels);
    const RECT actual = ControlRect(c.id);
    EXPECT_EQ(actual.left, pixels.left) << c.id;
    EXPECT_EQ(actual.top, pixels.top) << c.id;
    EXPECT_EQ(Width(actual), pixels.right) << c.id;
    EXPECT_EQ(Height(actual), pixels.bottom) << c.id;
    EXPECT_EQ(d.ItemText(c.id), c.text) << c.id;
  }
  // The import list takes dropped files itself; the point list does not.
  EXPECT_TRUE(::GetWindowLongPtrW(d.Item(IDC_IMPORT_LIST), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(::GetWindowLongPtrW(d.Item(IDC_POINT_LIST), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_TRUE(::GetWindowLongPtrW(d.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  // The image lists are the window's: neither list may destroy them.
  for (int id : {IDC_POINT_LIST, IDC_IMPORT_LIST})
    EXPECT_TRUE(::GetWindowLongPtrW(d.Item(id), GWL_STYLE) & LVS_SHAREIMAGELISTS) << id;
  EXPECT_FALSE(::GetWindowLongPtrW(d.Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
}

TEST_F(MainWindowTest, TheAboutBoxOpensOverTheWindow) {
  MainDialog& d = Start("");
  ScopedDialogInitHook hook(IDD_ABOUTBOX, [&](Dialog& about) {
    EXPECT_EQ(about.Text(), "Merlowのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(::GetWindow(about.Handle(), GW_OWNER), d.Handle());
    about.PostCommand(IDOK);
  });
  d.Send(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0));
  EXPECT_EQ(hook.Calls(), 1);
  EXPECT_TRUE(d.IsWindow());
}
