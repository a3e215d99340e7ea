// The helper's window driven as the editor drives it: real posted messages, replies read
// back message by message at a test window titled "Ostrel" with a menu.
#include "quorvin/quorvin_window.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"
#include "registry/testing/memory_registry.h"
#include "registry/win32_registry.h"
#include "pointfile/point_record.h"
#include "pointfile/text_forms.h"
#include "quorvin/built_in_map.h"
#include "quorvin/quorvin_resource.h"
#include "quorvin/tests/fake_editor.h"
#include "quorvin/tests/map_picture.h"
#include "quorvin/tests/tile_server.h"

namespace {

using M = MapMessage;

constexpr GeoPosition kTokyoStation{139.7671, 35.6812};

// Degrees of a coordinate text as the editor reads it.
double Degrees(const std::string& text) { return ParseDms(text) / 2048.0 / 3600.0; }

class HelperWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(baseMap);
    ASSERT_TRUE(editor.Create(true));
    ASSERT_TRUE(messageBox.Create(false));
    ASSERT_TRUE(helper.Create());
    helper.Move(0, 0, 900, 700);
    helper.Show(SW_SHOWNOACTIVATE);
    PumpMessages();
  }

  void Post(UINT subCommand, std::int32_t lParam) { ::PostMessageW(helper, link.CommandMessage(), subCommand, lParam); }
  // One text command, as the editor posts it.
  void Send(M command, std::string_view text) {
    for (const TextStep& step : EncodeTextCommand(command, text)) Post(link.Id(step.subCommand), step.lParam);
  }
  void SendStartSequence(const std::string& mapObject) {
    Send(M::kSetLayer, "4");
    Send(M::kObjectName, mapObject);
    Send(M::kInitMap, "");
  }
  // "SUB_ADD_TEXT_EX" for a position given in degrees, as the editor builds it from DMS texts.
  void SendPoint(GeoPosition p, const std::string& name) {
    auto helperForm = [](double degrees) {
      return ToHelperCoordinate(FormatDms(static_cast<std::uint32_t>(std::llround(degrees * kUnitsPerDegree))));
    };
    Send(M::kAddTextEx, helperForm(p.latitude) + "," + helperForm(p.longitude) + "," + name);
  }
  void Click(ScreenPoint at) {
    const LPARAM where = MAKELPARAM(std::lround(at.x), std::lround(at.y));
    helper.Post(WM_LBUTTONDOWN, MK_LBUTTON, where);
    helper.Post(WM_LBUTTONUP, 0, where);
    PumpMessages();
  }
  void RequestMarker() {
    Send(M::kGetMarkLat, "");
    Send(M::kGetMarkLon, "");
    PumpMessages();
  }
  // What one pixel spans at the view's zoom, in degrees of longitude.
  double PixelDegrees() const { return 360.0 / helper.View().WorldPixels(); }
  std::string StatusText(int pane) const { return helper.Status().PaneText(pane); }

  static inline const std::optional<BaseMap> baseMap = LoadBuiltInBaseMap();
  MemoryRegistry registry;
  DatumSetting setting{registry};
  MapSourceSetting sourceSetting{registry};
  LoopbackFetcher fetcher{2000};
  SteppedClock clock;
  TempDirectory cache;
  FakeEditor editor;
  FakeEditor messageBox;
  EditorLink link;
  QuorvinWindow helper{baseMap ? &*baseMap : nullptr, setting, sourceSetting, {fetcher, clock, cache.WidePath()}};
};

TEST_F(HelperWindowTest, ShowsThePlacedPointsAndWhatItWasSent) {
  SendStartSequence("ProAtlasW3.Map");
  Send(M::kDeleteText, "");
  SendPoint(kTokyoStation, "東京駅");
  SendPoint({139.6917, 35.6895}, "都庁, 第一本庁舎");
  SendPoint({139.8107, 35.7101}, "スカイツリー");
  PumpMessages();

  const std::vector<PlacedText>& texts = helper.Session().Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1].name, "都庁, 第一本庁舎");
  EXPECT_TRUE(helper.Session().MapInitialised());
  EXPECT_EQ(StatusText(QuorvinWindow::kLayerPane), "レイヤー 4");
  EXPECT_EQ(StatusText(QuorvinWindow::kTextsPane), "ポイント 3");
  EXPECT_EQ(StatusText(QuorvinWindow::kIgnoredPane), "無視 0");
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane),
            "地図ソフト「ProAtlasW3.Map」はここでは使えません。内蔵の地図を表示しています");
  EXPECT_FALSE(helper.ShowsTiles());
  // The view fits the three points, well zoomed in.
  EXPECT_GE(helper.View().Zoom(), 11);
  for (const GeoPosition p : {kTokyoStation, GeoPosition{139.6917, 35.6895}, GeoPosition{139.8107, 35.7101}}) {
    const ScreenPoint s = helper.PixelOf(p);
    EXPECT_GT(s.x, 0);
    EXPECT_LT(s.x, helper.View().Width());
    EXPECT_GT(s.y, 0);
    EXPECT_LT(s.y, helper.View().Height());
  }
  // The point is drawn on land: its dot is red, and the land around is not sea blue.
  const MapPicture picture(helper);
  const ScreenPoint station = helper.PixelOf(kTokyoStation);
  EXPECT_EQ(picture.Pixel(std::lround(station.x), std::lround(station.y)), RGB(200, 30, 40));
  EXPECT_TRUE(picture.Save("quorvin-points"));

  // A display command with nothing selected clears the map.
  Send(M::kDeleteText, "");
  PumpMessages();
  EXPECT_TRUE(helper.Session().Texts().empty());
  EXPECT_EQ(StatusText(QuorvinWindow::kTextsPane), "ポイント 0");
}

TEST_F(HelperWindowTest, AClickPlacesTheMarkerAndRequestsAreAnsweredInOrder) {
  SendStartSequence("");
  SendPoint(kTokyoStation, "東京駅");
  SendPoint({139.70, 35.66}, "渋谷");
  PumpMessages();
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane), "内蔵の地図 (Natural Earth)");

  // No marker yet: a request gets no answer (an answer would read as 0° 0').
  RequestMarker();
  EXPECT_TRUE(editor.received.empty());

  Click(helper.PixelOf(kTokyoStation));
  ASSERT_EQ(editor.markerNotices, 1);
  editor.received.clear();
  RequestMarker();
  // "SUB_TEXT_START", one "SUB_TEXT_CHAR" per byte of " 35/40/52xxx", the request's id;
  // then the same for the longitude.
  ASSERT_EQ(editor.received.size(), 2u * 14u);
  EXPECT_EQ(editor.received[0], (PostedReply{kHelperReplyMessage, link.Id(M::kTextStart), 0}));
  EXPECT_EQ(editor.received[1], (PostedReply{kHelperReplyMessage, link.Id(M::kTextChar), ' '}));
  EXPECT_EQ(editor.received[2], (PostedReply{kHelperReplyMessage, link.Id(M::kTextChar), '3'}));
  EXPECT_EQ(editor.received[13], (PostedReply{kHelperReplyMessage, link.Id(M::kGetMarkLat), 0}));
  EXPECT_EQ(editor.received[14], (PostedReply{kHelperReplyMessage, link.Id(M::kTextStart), 0}));
  EXPECT_EQ(editor.received[15], (PostedReply{kHelperReplyMessage, link.Id(M::kTextChar), '1'}));
  EXPECT_EQ(editor.received[27], (PostedReply{kHelperReplyMessage, link.Id(M::kGetMarkLon), 0}));
  // Within what one pixel spans of the place clicked.
  EXPECT_NEAR(Degrees(editor.longitude), kTokyoStation.longitude, PixelDegrees());
  EXPECT_NEAR(Degrees(editor.latitude), kTokyoStation.latitude, PixelDegrees());
  // The editor's message boxes share its caption but have no menu: they get nothing.
  EXPECT_TRUE(messageBox.received.empty());

  const MapPicture picture(helper);
  EXPECT_TRUE(picture.Save("quorvin-marker"));

  // A drag pans and places nothing.
  const ScreenPoint before = helper.PixelOf(kTokyoStation);
  helper.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
  helper.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(340, 320));
  helper.Post(WM_LBUTTONUP, 0, MAKELPARAM(340, 320));
  PumpMessages();
  EXPECT_EQ(editor.markerNotices, 1);
  EXPECT_NEAR(helper.PixelOf(kTokyoStation).x, before.x + 40, 1e-6);
  EXPECT_NEAR(helper.PixelOf(kTokyoStation).y, before.y + 20, 1e-6);
}

TEST_F(HelperWindowTest, TheKeyboardPansZoomsAndPlacesTheMarkerAtTheCentre) {
  const int zoom = helper.View().Zoom();
  helper.Post(WM_CHAR, '+');
  helper.Post(WM_CHAR, '+');
  helper.Post(WM_CHAR, '-');
  PumpMessages();
  EXPECT_EQ(helper.View().Zoom(), zoom + 1);
  const WorldPoint centre = helper.View().Centre();
  helper.Post(WM_KEYDOWN, VK_RIGHT);
  PumpMessages();
  EXPECT_GT(helper.View().Centre().x, centre.x);

  helper.Post(WM_KEYDOWN, VK_RETURN);
  PumpMessages();
  ASSERT_EQ(editor.markerNotices, 1);
  RequestMarker();
  const GeoPosition middle = helper.View().PositionAt({helper.View().Width() / 2.0, helper.View().Height() / 2.0});
  EXPECT_NEAR(Degrees(editor.longitude), middle.longitude, 1e-6);
  EXPECT_NEAR(Degrees(editor.latitude), middle.latitude, 1e-6);
}

TEST_F(HelperWindowTest, AMarkerTheHelperFormCannotCarryIsRefused) {
  // One point at 0° 0': the view centres on it; west and south of it the helper form,
  // which has no sign, has nothing to say.
  Send(M::kAddTextEx, "  0/00/00000,  0/00/00000,origin");
  PumpMessages();
  const ScreenPoint origin = helper.PixelOf({0, 0});
  Click({origin.x - 50, origin.y + 50});
  EXPECT_EQ(editor.markerNotices, 0);
  EXPECT_EQ(StatusText(QuorvinWindow::kPositionPane), "この位置は送れません");
  RequestMarker();
  EXPECT_TRUE(editor.received.empty());
  // North-east of it is fine.
  Click({origin.x + 50, origin.y - 50});
  EXPECT_EQ(editor.markerNotices, 1);
}

TEST_F(HelperWindowTest, TheTokyoDatumShiftsPointsInAndTheMarkerOut) {
  helper.Send(WM_COMMAND, IDM_DATUM_TOKYO);
  EXPECT_EQ(setting.Load(), ExchangeDatum::kTokyo);
  EXPECT_EQ(::GetMenuState(helper.GetMenu(), IDM_DATUM_TOKYO, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  PumpMessages();
  // The position pane names the datum first, whether or not the cursor is over the map.
  EXPECT_EQ(StatusText(QuorvinWindow::kPositionPane).rfind("日本", 0), 0u);

  // Tokyo Station's coordinates on the Tokyo datum, as an old point file holds them.
  const GeoPosition tokyoDatum = Wgs84ToTokyo(kTokyoStation);
  SendPoint(tokyoDatum, "東京駅 (旧)");
  SendPoint({tokyoDatum.longitude + 0.01, tokyoDatum.latitude + 0.01}, "近く");
  PumpMessages();
  // Drawn where the station really is.
  Click(helper.PixelOf(kTokyoStation));
  RequestMarker();
  // The cursor's position in the unit's datum first, then in the other one.
  const ScreenPoint station = helper.PixelOf(kTokyoStation);
  helper.Post(WM_MOUSEMOVE, 0, MAKELPARAM(std::lround(station.x), std::lround(station.y)));
  PumpMessages();
  const std::string position = StatusText(QuorvinWindow::kPositionPane);
  EXPECT_EQ(position.rfind("日本 35/", 0), 0u) << position;
  EXPECT_NE(position.find("  世界 35/"), std::string::npos) << position;
  // And the marker goes back in the Tokyo datum.
  EXPECT_NEAR(Degrees(editor.longitude), tokyoDatum.longitude, PixelDegrees());
  EXPECT_NEAR(Degrees(editor.latitude), tokyoDatum.latitude, PixelDegrees());

  // Switching back: the marker stays on the ground, its coordinates become WGS 84.
  helper.Send(WM_COMMAND, IDM_DATUM_WGS84);
  EXPECT_EQ(setting.Load(), ExchangeDatum::kWgs84);
  EXPECT_EQ(StatusText(QuorvinWindow::kPositionPane).rfind("世界 35/", 0), 0u);
  RequestMarker();
  EXPECT_NEAR(Degrees(editor.longitude), kTokyoStation.longitude, PixelDegrees());
  EXPECT_NEAR(Degrees(editor.latitude), kTokyoStation.latitude, PixelDegrees());
}

TEST_F(HelperWindowTest, BadInputIsIgnoredCountedAndBounded) {
  Post(12345, 0);  // no registered name has this id
  Send(M::kAddTextEx, "35/39/29123");
  Send(M::kAddTextEx, "north,east,x");
  Send(M::kAddTextEx, "95/00/00000,139/44/05007,x");
  Send(M::kTextEnd, "");
  PumpMessages();
  EXPECT_EQ(helper.Session().IgnoredCount(), 5u);
  EXPECT_EQ(StatusText(QuorvinWindow::kIgnoredPane), "無視 5");
  EXPECT_TRUE(helper.Session().Texts().empty());

  PROCESS_MEMORY_COUNTERS_EX before{sizeof before};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before), sizeof before);
  // Over 100,000 messages: a text that never ends (50,000 characters), then 1,750 valid
  // texts (29 messages each), far past the cap; in batches, as a queue on Windows holds
  // 10,000 posted messages at most.
  Post(link.Id(M::kTextStart), 0);
  for (int batch = 0; batch < 10; ++batch) {
    for (int i = 0; i < 5000; ++i) Post(link.Id(M::kTextChar), static_cast<std::int32_t>(0xFFFF938C));
    PumpMessages();
  }
  Post(link.Id(M::kObjectName), 0);
  const std::vector<TextStep> point = EncodeTextCommand(M::kAddTextEx, " 35/40/52450,139/46/01649,p");
  ASSERT_EQ(point.size(), 29u);
  for (int batch = 0; batch < 50; ++batch) {
    for (int i = 0; i < 35; ++i) {
      for (const TextStep& step : point) Post(link.Id(step.subCommand), step.lParam);
    }
    PumpMessages();
  }
  PumpMessages();
  PROCESS_MEMORY_COUNTERS_EX after{sizeof after};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after), sizeof after);
  ASSERT_TRUE(helper.IsWindow());
  EXPECT_EQ(helper.Session().SourceName().size(), kMaxTextBytes - 1) << "double-byte characters, whole";
  EXPECT_EQ(helper.Session().Texts().size(), HelperSession::kMaxTexts);
  EXPECT_LT(after.PrivateUsage - std::min(after.PrivateUsage, before.PrivateUsage), 32u << 20);
  // Still answering.
  Click({450, 300});
  RequestMarker();
  EXPECT_FALSE(editor.latitude.empty());
}

TEST_F(HelperWindowTest, ATileFolderShowsUnderTheTextsAndBadTilesStayEmpty) {
  TempDirectory tiles;
  SendPoint(kTokyoStation, "東京駅");
  SendPoint({139.70, 35.66}, "渋谷");
  PumpMessages();
  const int zoom = helper.View().Zoom();
  const WorldPoint station = Project(kTokyoStation);
  const int tileX = static_cast<int>(station.x * (1 << zoom)), tileY = static_cast<int>(station.y * (1 << zoom));
  const std::wstring column = tiles.WidePath() + std::to_wstring(zoom) + L"\\" + std::to_wstring(tileX);
  ::CreateDirectoryW((tiles.WidePath() + std::to_wstring(zoom)).c_str(), nullptr);
  ::CreateDirectoryW(column.c_str(), nullptr);
  ::CreateDirectoryW((tiles.WidePath() + std::to_wstring(zoom) + L"\\" + std::to_wstring(tileX + 1)).c_str(), nullptr);
  constexpr COLORREF kOrange = RGB(250, 160, 40);
  ASSERT_TRUE(WriteSolidPng(column + L"\\" + std::to_wstring(tileY) + L".png", kOrange));
  // The tile to the right is no image; the one below is missing.
  ASSERT_TRUE(WriteFileBytes(NarrowText(tiles.WidePath()) + std::to_string(zoom) + "\\" + std::to_string(tileX + 1) +
                                 "\\" + std::to_string(tileY) + ".jpg",
                             {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));

  Send(M::kObjectName, tiles.Path());
  PumpMessages();
  ASSERT_TRUE(helper.ShowsTiles());
  EXPECT_EQ(StatusText(QuorvinWindow::kSourcePane), "タイル: " + tiles.Path());

  const MapPicture picture(helper);
  EXPECT_TRUE(picture.Save("quorvin-tiles"));
  const ScreenPoint corner = helper.View().ToScreen({static_cast<double>(tileX) / (1 << zoom),
                                                     static_cast<double>(tileY) / (1 << zoom)});
  auto pixelAt = [&](double dx, double dy) {
    return picture.Pixel(static_cast<int>(corner.x + dx), static_cast<int>(corner.y + dy));
  };
  EXPECT_EQ(pixelAt(20, 200), kOrange) << "the tile";
  EXPECT_NE(pixelAt(256 + 128, 128), kOrange) << "the tile that is no image";
  EXPECT_NE(pixelAt(128, 256 + 128), kOrange) << "the missing tile";
  // The texts are drawn over the tiles.
  const ScreenPoint dot = helper.PixelOf(kTokyoStation);
  EXPECT_EQ(picture.Pixel(std::lround(dot.x), std::lround(dot.y)), RGB(200, 30, 40));

  // Back to a map program's name: the built-in map.
  Send(M::kObjectName, "Mapple.Document");
  PumpMessages();
  EXPECT_FALSE(helper.ShowsTiles());
}

TEST_F(HelperWindowTest, EndsOnWmClose) {
  const HWND window = helper.Handle();
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(window));
}

TEST(RegistryDatumSetting, KeepsTheChoiceForTheNextStart) {
  DatumSetting setting(SystemRegistry());
  const ExchangeDatum before = setting.Load();
  setting.Save(ExchangeDatum::kTokyo);
  EXPECT_EQ(DatumSetting(SystemRegistry()).Load(), ExchangeDatum::kTokyo);
  setting.Save(ExchangeDatum::kWgs84);
  EXPECT_EQ(DatumSetting(SystemRegistry()).Load(), ExchangeDatum::kWgs84);
  setting.Save(before);
}

}  // namespace
