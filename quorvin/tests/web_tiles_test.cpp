// The web tiles in the helper's window, against a tile server on the loopback address:
// tiles drawn as they arrive and written to the cache, shown from the cache when the server
// is gone, the offline state, the faults a server can show, the cap, the source menu.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"
#include "quorvin/built_in_map.h"
#include "quorvin/quorvin_resource.h"
#include "quorvin/quorvin_window.h"
#include "quorvin/save_area_dialog.h"
#include "quorvin/tests/editor_posts.h"
#include "quorvin/tests/fake_editor.h"
#include "quorvin/tests/map_picture.h"
#include "quorvin/tests/tile_server.h"
#include "registry/testing/memory_registry.h"

namespace {

using M = MapMessage;
constexpr GeoPosition kTokyoStation{139.7671, 35.6812};

class WebTilesTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Running());
    ASSERT_TRUE(editor.Create(true));
    ASSERT_TRUE(helper.Create());
    helper.Move(0, 0, 900, 700);
    helper.Show(SW_SHOWNOACTIVATE);
    PumpMessages();
    // Zoomed in on Tokyo: about a dozen tiles in view.
    Send(M::kAddTextEx, " 35/40/52450,139/46/01649,東京駅");
    Send(M::kAddTextEx, " 35/41/22000,139/42/02000,新宿");
    PumpMessages();
  }

  void Send(M command, std::string_view text) { PostTextCommand(helper, link, command, text); }
  void UseTemplate(const std::string& url) {
    Send(M::kObjectName, url);
    PumpMessages();
  }
  // Pumps the window's messages until `done` holds, for at most five seconds.
  bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i) {
      PumpMessages();
      helper.Update();
      if (done()) return true;
      ::Sleep(10);
    }
    return false;
  }
  std::string StatusText(int pane) const { return helper.Status().PaneText(pane); }
  // The source's pane: its name, and the network's state in brackets when there is one.
  std::string SourceWith(const std::string& network) const {
    return "タイル: 127.0.0.1" + (network.empty() ? std::string() : "  (" + network + ")");
  }
  // Whether every tile in view, whole or in part, is drawn in a tile colour (somewhere in
  // its visible part: labels and lines are drawn over tiles).
  bool AllTilesShown() {
    const MapPicture picture(helper);
    const MapView& view = helper.View();
    const TileRange range = VisibleTiles(view, view.Zoom());
    const double across = 1 << view.Zoom();
    for (int y = range.firstY; y <= range.lastY; ++y) {
      for (int x = range.firstX; x <= range.lastX; ++x) {
        const ScreenPoint low = view.ToScreen({x / across, y / across});
        const ScreenPoint high = view.ToScreen({(x + 1) / across, (y + 1) / across});
        const double left = std::max(0.0, low.x), right = std::min<double>(view.Width(), high.x);
        const double top = std::max(0.0, low.y), bottom = std::min<double>(view.Height(), high.y);
        if (right - left < 1 || bottom - top < 1) continue;
        bool shown = false;
        for (const double f : {0.3, 0.5, 0.7}) {
          const COLORREF pixel = picture.Pixel(static_cast<int>(left + (right - left) * f),
                                               static_cast<int>(top + (bottom - top) * f));
          shown = shown || pixel == kEvenTileColour || pixel == kOddTileColour;
        }
        if (!shown) return false;
      }
    }
    return true;
  }
  std::wstring CacheFolder() const {
    return cache.WidePath() + WidenText(WebSource(server.Template("tile")).cacheName) + L"\\";
  }
  bool Cached(TileKey key) const {
    return ::GetFileAttributesW((CacheFolder() + std::to_wstring(key.zoom) + L"\\" + std::to_wstring(key.x) + L"\\" +
                                 std::to_wstring(key.y))
                                    .c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  static inline const std::optional<BaseMap> baseMap = LoadBuiltInBaseMap();
  TileServer server;
  MemoryRegistry registry;
  DatumSetting setting{registry};
  MapSourceSetting sourceSetting{registry};
  LoopbackFetcher fetcher{1500};
  SteppedClock clock;
  TempDirectory cache;
  FakeEditor editor;
  EditorLink link;
  QuorvinWindow helper{baseMap ? &*baseMap : nullptr, setting, sourceSetting, {fetcher, clock, cache.WidePath()}};
};

TEST_F(WebTilesTest, TilesArriveAreCachedRefreshedAndShownOffline) {
  UseTemplate(server.Template("tile"));
  ASSERT_TRUE(helper.WebTiles());
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane), "タイル: 127.0.0.1");
  ASSERT_TRUE(PumpUntil([&] { return AllTilesShown(); }));
  EXPECT_LE(server.MostAtOnce(), 4);
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane), SourceWith(""));
  const MapPicture picture(helper);
  EXPECT_TRUE(picture.Save("quorvin-web-tiles"));
  // The credit line is drawn over the tiles, bottom left, on white.
  EXPECT_EQ(picture.Pixel(5, helper.View().Height() - 5), RGB(255, 255, 255));
  const ScreenPoint station = helper.PixelOf(kTokyoStation);
  EXPECT_EQ(picture.Pixel(std::lround(station.x), std::lround(station.y)), RGB(200, 30, 40)) << "points over tiles";

  const WorldPoint at = Project(kTokyoStation);
  const int zoom = helper.View().Zoom();
  const TileKey stationTile{zoom, static_cast<int>(at.x * (1 << zoom)), static_cast<int>(at.y * (1 << zoom))};
  EXPECT_TRUE(Cached(stationTile));
  const int fetched = server.Requests();

  // A month later the tiles are fetched again, and shown from the cache meanwhile.
  clock.now += kTileRefreshAge + 1;
  helper.Send(WM_COMMAND, IDM_SOURCE_BUILT_IN);
  helper.Send(WM_COMMAND, IDM_SOURCE_OBJECT);
  ASSERT_TRUE(PumpUntil([&] { return AllTilesShown() && server.Requests() >= 2 * fetched; }));

  // The server gone: what is cached shows, the rest is the built-in map, and the status
  // bar says so once a tile is missing.
  server.Stop();
  helper.Send(WM_COMMAND, IDM_SOURCE_BUILT_IN);
  helper.Send(WM_COMMAND, IDM_SOURCE_OBJECT);
  EXPECT_TRUE(PumpUntil([&] { return AllTilesShown(); }));
  helper.Post(WM_KEYDOWN, VK_RIGHT);
  for (int i = 0; i < 8; ++i) helper.Post(WM_KEYDOWN, VK_RIGHT);
  EXPECT_TRUE(PumpUntil([&] { return StatusText(QuorvinWindow::kSourcePane) == SourceWith("オフライン"); }));
  EXPECT_TRUE(PumpUntil([&] { return !AllTilesShown(); }));

  // The cap: lowered to a few tiles' size, the least recently drawn go from the disk.
  WebTileLayer& tiles = *helper.WebTiles();
  tiles.SetCap(3 * tiles.TypicalTileBytes());
  EXPECT_LE(tiles.CachedBytes(), 3 * tiles.TypicalTileBytes());
  // Emptying the cache leaves no tile file.
  tiles.EmptyCache();
  EXPECT_EQ(tiles.CachedBytes(), 0u);
  EXPECT_FALSE(Cached(stationTile));
}

TEST_F(WebTilesTest, EachFaultOfAServerGetsItsStatusTextAndBreaksNothing) {
  struct Case {
    const char* kind;
    const char* status;
  };
  const Case cases[] = {
      {"error", "タイルサーバーの応答: 500"},
      {"text", "タイルサーバーの応答が画像ではありません"},
      {"huge", "タイルが大きすぎます"},
      {"cut", "タイルが途中で切れました"},
      {"loop", "タイルの転送が多すぎます"},
      {"silent", "タイルサーバーが応答しません"},
  };
  for (const Case& c : cases) {
    UseTemplate(server.Template(c.kind));
    EXPECT_TRUE(PumpUntil([&] { return StatusText(QuorvinWindow::kSourcePane) == SourceWith(c.status); }))
        << c.kind << ": " << StatusText(QuorvinWindow::kSourcePane);
    EXPECT_FALSE(AllTilesShown());
  }
  // A 404 is the service's way of saying "nothing here": no fault shown.
  UseTemplate(server.Template("missing"));
  EXPECT_TRUE(PumpUntil([&] { return server.Requests() > 0 && helper.WebTiles()->KeptCount() > 0; }));
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane), SourceWith(""));
  // A template without {z}: the built-in map, and why.
  UseTemplate("http://127.0.0.1:1/{x}/{y}.png");
  EXPECT_FALSE(helper.ShowsTiles());
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane), "タイルのURLに {z} がありません。内蔵の地図を表示しています");
  // Still answering.
  helper.Post(WM_KEYDOWN, VK_RETURN);
  PumpMessages();
  EXPECT_EQ(editor.markerNotices, 1);
}

TEST_F(WebTilesTest, ACacheThatCannotBeWrittenStillShowsTheTiles) {
  // The cache's root is a file: no folder can be made under it.
  const std::string blocker = cache.File("not-a-folder");
  ASSERT_TRUE(WriteFileBytes(blocker, {'x'}));
  QuorvinWindow second(baseMap ? &*baseMap : nullptr, setting, sourceSetting,
                       {fetcher, clock, WidenText(blocker) + L"\\"});
  ASSERT_TRUE(second.Create());
  second.Move(0, 0, 600, 400);
  second.Show(SW_SHOWNOACTIVATE);
  PostTextCommand(second, link, M::kObjectName, server.Template("tile"));
  EXPECT_TRUE(PumpUntil([&] {
    second.Update();
    return second.Status().PaneText(QuorvinWindow::kSourcePane) == SourceWith("タイルのキャッシュに書き込めません") &&
           second.WebTiles()->KeptCount() > 0;
  }));
}

TEST_F(WebTilesTest, TheSourceMenuKeepsTheChoice) {
  helper.Send(WM_COMMAND, IDM_SOURCE_PALE);
  helper.Update();
  EXPECT_EQ(sourceSetting.LoadChoice(), "pale");
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane), "地理院地図 淡色");
  EXPECT_EQ(::GetMenuState(helper.GetMenu(), IDM_SOURCE_PALE, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  // The map-object name's source joins the menu but does not replace a kept choice.
  UseTemplate(server.Template("tile"));
  EXPECT_EQ(helper.WebTiles()->Source().cacheName, "pale");
  EXPECT_EQ(::GetMenuState(helper.GetMenu(), IDM_SOURCE_OBJECT, MF_BYCOMMAND) & MF_GRAYED, 0u);
  // The survey's maps are unreachable here (the test fetcher allows the loopback only):
  // offline, drawn over the built-in map, credited all the same.
  EXPECT_TRUE(PumpUntil([&] { return StatusText(QuorvinWindow::kSourcePane) == "地理院地図 淡色  (オフライン)"; }));
  const MapPicture picture(helper);
  EXPECT_EQ(picture.Pixel(5, helper.View().Height() - 5), RGB(255, 255, 255));
  EXPECT_TRUE(picture.Save("quorvin-offline"));

  helper.Send(WM_COMMAND, IDM_CACHE_CAP_1000);
  EXPECT_EQ(sourceSetting.LoadCapMegabytes(), 1000u);
  EXPECT_EQ(helper.WebTiles()->CapBytes(), 1000ull << 20);
  helper.Send(WM_COMMAND, IDM_SOURCE_OBJECT);
  EXPECT_EQ(sourceSetting.LoadChoice(), "object");
  EXPECT_EQ(helper.WebTiles()->Source().location, server.Template("tile"));
}

TEST_F(WebTilesTest, SavesTheAreaWithProgressCancelAndRefusal) {
  UseTemplate(server.Template("tile"));
  ASSERT_TRUE(PumpUntil([&] { return AllTilesShown(); }));
  WebTileLayer& tiles = *helper.WebTiles();
  const int zoom = helper.View().Zoom();
  helper.Send(WM_COMMAND, IDM_SAVE_AREA);
  SaveAreaDialog* dialog = helper.SaveDialog();
  ASSERT_TRUE(dialog);
  const std::uint64_t count = CountTilesToSave(helper.View().ToWorld({0, 0}),
                                               helper.View().ToWorld({helper.View().Width() - 0.5,
                                                                      helper.View().Height() - 0.5}),
                                               zoom, zoom + 1);
  dialog->ChooseDeepestZoom(zoom + 1);
  EXPECT_NE(dialog->ItemText(IDC_SAVE_ESTIMATE).find("タイル " + std::to_string(count) + " 枚"), std::string::npos)
      << dialog->ItemText(IDC_SAVE_ESTIMATE);
  dialog->OnOK();
  ASSERT_TRUE(PumpUntil([&] { return !tiles.Saving().Running(); }));
  EXPECT_EQ(tiles.Saving().done, count);
  EXPECT_EQ(dialog->ItemText(IDC_SAVE_STATE),
            "保存しました: " + std::to_string(count) + " / " + std::to_string(count) + " 枚");
  EXPECT_EQ(::SendMessageW(dialog->Item(IDC_SAVE_PROGRESS), PBM_GETPOS, 0, 0), 1000);
  EXPECT_TRUE(SaveWindowPicture(*dialog, "quorvin-save-area"));
  // Saved tiles stay when the cap is lowered; the rest go.
  const WorldPoint at = Project(kTokyoStation);
  const TileKey deeper{zoom + 1, static_cast<int>(at.x * (2 << zoom)), static_cast<int>(at.y * (2 << zoom))};
  EXPECT_TRUE(Cached(deeper));
  EXPECT_GT(tiles.SavedBytes(), 0u);
  dialog->OnCancel();  // closes it
  EXPECT_FALSE(helper.SaveDialog());

  // Cancelled part way.
  helper.Send(WM_COMMAND, IDM_SAVE_AREA);
  dialog = helper.SaveDialog();
  dialog->ChooseDeepestZoom(zoom + 3);
  dialog->OnOK();
  dialog->OnCancel();
  EXPECT_FALSE(tiles.Saving().Running());
  EXPECT_LT(tiles.Saving().done, tiles.Saving().total + 1);
  EXPECT_EQ(dialog->ItemText(IDC_SAVE_STATE).rfind("中止しました", 0), 0u) << dialog->ItemText(IDC_SAVE_STATE);
  dialog->OnCancel();

  // Refused: too many tiles from a wide view, and past the cap.
  for (int i = 0; i < 4; ++i) helper.Send(WM_CHAR, '-');
  helper.Send(WM_COMMAND, IDM_SAVE_AREA);
  dialog = helper.SaveDialog();
  dialog->ChooseDeepestZoom(18);
  EXPECT_TRUE(dialog->Refused());
  EXPECT_FALSE(::IsWindowEnabled(dialog->Item(IDOK)));
  EXPECT_NE(dialog->ItemText(IDC_SAVE_ESTIMATE).find("タイルが多すぎます"), std::string::npos);
  dialog->OnCancel();
  tiles.SetCap(0);
  EXPECT_TRUE(Cached(deeper));
  EXPECT_EQ(tiles.CachedBytes(), tiles.SavedBytes());
  helper.Send(WM_COMMAND, IDM_SAVE_AREA);
  helper.SaveDialog()->ChooseDeepestZoom(helper.View().Zoom());
  EXPECT_NE(helper.SaveDialog()->ItemText(IDC_SAVE_ESTIMATE).find("キャッシュの上限を超えます"), std::string::npos);
}

}  // namespace
