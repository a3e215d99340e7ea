// The map link in the main window, through a channel held in memory: what the editor posts
// to the helper, and what it makes of the helper's notices and replies.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/text_encoding.h"
#include "maplink/tests/map_link_fixture.h"
#include "pointfile/text_forms.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Sent(const char* name, const std::string& text = "") { return std::string(name) + " 0x00000000 " + text; }

// The messages of one text command as the helper writes them down.
std::vector<std::string> TextCommand(const char* name, const std::string& text) {
  std::vector<std::string> lines = {"SUB_TEXT_START 0x00000000"};
  char line[40];
  for (unsigned char c : text) {
    std::snprintf(line, sizeof line, "SUB_TEXT_CHAR 0x%08X", c);
    lines.push_back(line);
  }
  lines.push_back(Sent(name, text));
  return lines;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(MapLinkTest, TheFirstMapDisplayStartsTheHelperBesideTheProgram) {
  OpenFile(NumberedPoints(3));
  Command(IDC_MAP_DISPLAY);
  ASSERT_EQ(channel.started.size(), 1u);
  EXPECT_EQ(Upper(NarrowText(channel.started[0])), Upper(ProgramDirectory() + "Quorvin2.exe"));
  // The start sequence, 21 messages, then the map's texts cleared (nothing is selected).
  EXPECT_EQ(Messages(), Join({TextCommand("SUB_SET_LAYER", "4"), TextCommand("SUB_OBJECT_NAME", "ProAtlasW3.Map"),
                              TextCommand("SUB_INIT_MAP", ""), TextCommand("SUB_DELETE_TEXT", "")}));
  EXPECT_TRUE(window.MapLink().HelperStarted());
  for (const MemoryHelperChannel::Posted& post : channel.posted) EXPECT_EQ(post.window, MemoryHelperChannel::kStartedWindow);

  // Once started, a map display with nothing selected is two messages.
  const size_t before = Messages().size();
  Command(IDC_MAP_DISPLAY);
  EXPECT_EQ(Messages().size(), before + 2);
  EXPECT_EQ(channel.started.size(), 1u);
}

TEST_F(MapLinkTest, MapDisplayPlacesTheSelectedPointsInSlotOrder) {
  PointFile file = NumberedPoints(8);
  file.SetName(1, "東京");
  file.SetLatitudeText(1, " 35/39/29.123");
  file.SetLongitudeText(1, "139/44/05.500");
  file.UpdateChecksum(1);
  OpenFile(file);
  SelectRows({7, 1, 4});
  Command(IDC_MAP_DISPLAY);
  ASSERT_EQ(Commands().size(), 7u);
  EXPECT_EQ(LastCommands(4),
            (std::vector<std::string>{Sent("SUB_DELETE_TEXT"),
                                      Sent("SUB_ADD_TEXT_EX", " 35/39/29123,139/44/05500,東京"),
                                      Sent("SUB_ADD_TEXT_EX", " 35/39/29000,139/44/28000,P04"),
                                      Sent("SUB_ADD_TEXT_EX", " 35/39/29000,139/44/28000,P07")}));
  // A double-byte character travels as one message.
  const std::vector<std::string> messages = Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "SUB_TEXT_CHAR 0xFFFF938C"), messages.end());
}

// A full file whose names take the whole field, 19 characters of two bytes, the last three
// the point's number: about 12,000 posts to the helper, more than one queue holds.
PointFile FullFileOfLongNames() {
  PointFile file = NumberedPoints(kSlotCount);
  const char* const digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    std::string name;
    for (int i = 0; i < 16; ++i) name += "長";
    for (int place : {100, 10, 1}) name += digits[slot / place % 10];
    file.SetName(slot, name);
    file.UpdateChecksum(slot);
  }
  return file;
}

class FullQueueTest : public MapLinkTest {
 protected:
  void SetUp() override {
    MapLinkTest::SetUp();
    OpenFile(FullFileOfLongNames());
    ASSERT_EQ(Points().GetName(249).size(), 38u);
    std::vector<int> all(kSlotCount);
    for (int row = 0; row < kSlotCount; ++row) all[row] = row;
    SelectRows(all);
    channel.queueLimit = 10000;  // Windows' default for one thread's posted messages
  }
  // The texts the helper placed, in order.
  std::vector<std::string> PlacedTexts() const {
    std::vector<std::string> texts;
    for (const std::string& command : Commands()) {
      if (command.rfind("SUB_ADD_TEXT_EX ", 0) == 0) texts.push_back(command.substr(command.find(' ', 16) + 1));
    }
    return texts;
  }
};

TEST_F(FullQueueTest, EveryPointArrivesWholeOnceTheHelperDrainsItsQueue) {
  Command(IDC_MAP_DISPLAY);
  EXPECT_GT(channel.refusals, 0);
  const std::vector<std::string> texts = PlacedTexts();
  ASSERT_EQ(texts.size(), static_cast<size_t>(kSlotCount));
  for (int slot = 0; slot < kSlotCount; ++slot)
    EXPECT_EQ(texts[slot], " 35/39/29000,139/44/28000," + Points().GetName(slot)) << slot;
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{});
}

TEST_F(FullQueueTest, AHelperThatNeverDrainsIsGivenUpAndTheUserToldHowManyPointsAreMissing) {
  channel.helperDrains = false;
  Command(IDC_MAP_DISPLAY);
  const size_t placed = PlacedTexts().size();
  ASSERT_LT(placed, static_cast<size_t>(kSlotCount));
  EXPECT_EQ(prompts.Messages(),
            std::vector<std::string>{std::to_string(kSlotCount - placed) +
                                     "地点を地図に送れませんでした（地図ヘルパーが応答しません）"});
  // One post waited for, then given up: the points after it do not each wait again.
  EXPECT_EQ(channel.refusals, channel.waits + 1);
  EXPECT_LE(channel.waits, 100);
}

TEST_F(MapLinkTest, AMarkerNoticeAsksForThePositionAndShowsIt) {
  EXPECT_FALSE(Window(window.Item(IDC_TAKE_POSITION)).IsEnabled());
  EXPECT_FALSE(Window(window.Item(IDC_MARKER_LATITUDE)).IsEnabled());
  ReceiveMarker("35/39/29123", "139/44/05007");
  EXPECT_EQ(window.ItemText(IDC_MARKER_LATITUDE), "35.39.29.123");
  EXPECT_EQ(window.ItemText(IDC_MARKER_LONGITUDE), "139.44.05.007");
  for (int id : {IDC_MARKER_LATITUDE, IDC_MARKER_LONGITUDE, IDC_TAKE_POSITION})
    EXPECT_TRUE(Window(window.Item(id)).IsEnabled()) << id;
}

TEST_F(MapLinkTest, CaptureAppendsANewPointAtTheMarkerAndSelectsOnlyIt) {
  OpenFile(NumberedPoints(5));
  SelectRows({2});
  ReceiveMarker("35/39/29123", "139/44/05007");
  const std::uint32_t today = CurrentDate();
  Command(IDC_TAKE_POSITION);
  ASSERT_EQ(Points().GetPointCount(), 6);
  EXPECT_EQ(Points().GetName(5), "新しいポイント");
  EXPECT_EQ(Points().GetLatitude(5), ParseDms("35/39/29.123"));
  EXPECT_EQ(Points().GetLongitude(5), ParseDms("139/44/05.007"));
  EXPECT_EQ(Points().GetChecksum(5), Points().ComputeChecksum(5));
  EXPECT_EQ(Points().GetIcon(5), 1);
  EXPECT_EQ(Points().GetNickname(5) + Points().GetLocation(5) + Points().GetPhone(5), "");
  EXPECT_EQ(Points().GetDateText(5), FormatDateText(today >> 16, (today >> 8) & 0xFF, today & 0xFF));
  const std::uint32_t now = CurrentTime();
  const std::string time = Points().GetTimeText(5);
  const int seconds = std::stoi(time.substr(0, 2)) * 3600 + std::stoi(time.substr(3, 2)) * 60 + std::stoi(time.substr(6, 2));
  EXPECT_LE(static_cast<int>((now >> 16) * 3600 + ((now >> 8) & 0xFF) * 60 + (now & 0xFF)) - seconds, 5) << time;
  EXPECT_TRUE(Points().IsModified());
  EXPECT_EQ(SelectedRows(), std::vector<int>{5});
  ExpectListMatchesTable();

  // The marker stays: the next capture adds another point at the same place.
  Command(IDC_TAKE_POSITION);
  ASSERT_EQ(Points().GetPointCount(), 7);
  EXPECT_EQ(Points().GetLatitude(6), Points().GetLatitude(5));
  EXPECT_EQ(SelectedRows(), std::vector<int>{6});

  // Each capture is one step: both undone, the file is as opened and row 2 selected again.
  window.Send(WM_COMMAND, ID_EDIT_UNDO);
  window.Send(WM_COMMAND, ID_EDIT_UNDO);
  EXPECT_EQ(Points().GetPointCount(), 5);
  EXPECT_FALSE(Points().IsModified());
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});
  ExpectListMatchesTable();
}

// Whether 位置をマーカーへ移動 is enabled when the edit menu opens.
bool MoveToMarkerEnabled(MainDialog& window) {
  const Menu edit = Menu(::GetMenu(window.Handle())).SubMenu(1);
  window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit.Handle()), 1);
  return !(edit.ItemState(IDM_MOVE_TO_MARKER) & MF_GRAYED);
}

TEST_F(MapLinkTest, MoveToMarkerGivesTheOneSelectedPointTheMarkersPositionAsOneUndoableStep) {
  OpenFile(WithStrayPoint(NumberedPoints(4), 6, "STRAY"));
  SelectRows({2});
  EXPECT_FALSE(MoveToMarkerEnabled(window));
  Command(IDM_MOVE_TO_MARKER);  // no marker yet: nothing moves
  EXPECT_FALSE(Points().IsModified());

  ReceiveMarker("35/39/29123", "139/44/05500");
  // Exactly one row, and one that holds a point.
  const std::pair<std::vector<int>, bool> selections[] = {
      {{2}, true}, {{}, false}, {{1, 2}, false}, {{5}, false}, {{6}, true}};
  for (const auto& [rows, enabled] : selections) {
    SelectRows(rows);
    EXPECT_EQ(MoveToMarkerEnabled(window), enabled) << ::testing::PrintToString(rows);
  }
  SelectRows({5});
  Command(IDM_MOVE_TO_MARKER);
  EXPECT_FALSE(Points().IsModified());

  SelectRows({2});
  const PointFile before = Points();
  Command(IDM_MOVE_TO_MARKER);
  EXPECT_EQ(Points().GetLatitude(2), ParseDms("35/39/29.123"));
  EXPECT_EQ(Points().GetLongitude(2), ParseDms("139/44/05.500"));
  EXPECT_EQ(Points().GetChecksum(2), Points().ComputeChecksum(2));
  EXPECT_EQ(Points().GetName(2), before.GetName(2));
  EXPECT_EQ(Points().GetDateText(2) + Points().GetTimeText(2), before.GetDateText(2) + before.GetTimeText(2));
  EXPECT_EQ(Points().GetLatitude(1), before.GetLatitude(1));
  EXPECT_TRUE(Points().IsModified());
  EXPECT_EQ(RowTexts(2).latitude, " 35/39/29.123");
  EXPECT_EQ(SelectedRows(), std::vector<int>{2});
  ExpectListMatchesTable();
  // The next map display shows it there.
  Command(IDC_MAP_DISPLAY);
  EXPECT_EQ(LastCommands(1), std::vector<std::string>{Sent("SUB_ADD_TEXT_EX", " 35/39/29123,139/44/05500,P02")});

  // One step back puts the point where it was, byte for byte; one step forward moves it again.
  const PointFile moved = Points();
  Command(ID_EDIT_UNDO);
  EXPECT_TRUE(Points().Image() == before.Image());
  EXPECT_FALSE(Points().IsModified());
  EXPECT_EQ(RowTexts(2).latitude, before.GetLatitudeText(2));
  Command(ID_EDIT_REDO);
  EXPECT_TRUE(Points().Image() == moved.Image());
  ExpectListMatchesTable();
}

TEST_F(MapLinkTest, OnAFileWithAGapBlankRowsAreNotShownAndCaptureFillsTheGap) {
  PointFile file = NumberedPoints(3);
  file.InsertRecord(5);
  file.SetName(5, "STRAY");
  file.SetLatitudeText(5, "35/39/29.000");
  file.SetLongitudeText(5, "139/44/28.000");
  file.UpdateChecksum(5);
  OpenFile(file);
  SelectRows({2, 3, 5});  // row 3 is the blank row of an empty slot
  Command(IDC_MAP_DISPLAY);
  EXPECT_EQ(LastCommands(2),
            (std::vector<std::string>{Sent("SUB_ADD_TEXT_EX", " 35/39/29000,139/44/28000,P02"),
                                      Sent("SUB_ADD_TEXT_EX", " 35/39/29000,139/44/28000,STRAY")}));

  ReceiveMarker("35/39/29123", "139/44/05007");
  Command(IDC_TAKE_POSITION);
  EXPECT_EQ(Points().GetName(3), "新しいポイント");
  EXPECT_EQ(Points().GetName(5), "STRAY");
  ExpectListMatchesTable();
  // Filling the last empty slot joins the point behind it to the run.
  Command(IDC_TAKE_POSITION);
  EXPECT_EQ(Points().GetPointCount(), 6);
  EXPECT_EQ(SelectedRows(), std::vector<int>{4});
  ExpectListMatchesTable();
}

TEST_F(MapLinkTest, CaptureIntoAFullTableShowsTheLimit) {
  OpenFile(NumberedPoints(249));
  ReceiveMarker("35/39/29123", "139/44/05007");
  Command(IDC_TAKE_POSITION);
  EXPECT_EQ(Points().GetPointCount(), 250);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{});
  Command(IDC_TAKE_POSITION);
  EXPECT_EQ(Points().GetPointCount(), 250);
  EXPECT_EQ(List().GetItemCount(), 250);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"250地点以上は登録出来ません"});
}

TEST_F(MapLinkTest, WithoutAMarkerCaptureStartsTheHelperAndAddsNothing) {
  OpenFile(NumberedPoints(3));
  Command(IDC_TAKE_POSITION);
  EXPECT_TRUE(window.MapLink().HelperStarted());
  EXPECT_EQ(Points().GetPointCount(), 3);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{});
}

TEST_F(MapLinkTest, ARepliedTextThatIsNoCoordinateGivesNoMarker) {
  OpenFile(NumberedPoints(3));
  // An empty reply would read as "." and put a point at 0/0; an error text likewise.
  ReceiveMarker("", "no marker");
  EXPECT_EQ(window.ItemText(IDC_MARKER_LATITUDE), "");
  EXPECT_EQ(window.ItemText(IDC_MARKER_LONGITUDE), "");
  Command(IDC_TAKE_POSITION);
  EXPECT_EQ(Points().GetPointCount(), 3);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{});
}

TEST_F(MapLinkTest, RepliesFromAMisbehavingProgramLoseNothing) {
  OpenFile(NumberedPoints(3));
  Reply(MapMessage::kGetMarkLat, "35/39/29123");
  EXPECT_EQ(window.ItemText(IDC_MARKER_LATITUDE), "35.39.29.123");
  // Bytes that are no Shift_JIS text.
  Reply(MapMessage::kGetMarkLon, std::string("\x81\xFF\x80\x00\xE0", 5));
  EXPECT_EQ(window.ItemText(IDC_MARKER_LONGITUDE), "");
  // A reply step that is no reply changes nothing.
  window.Post(kHelperReplyMessage, ::RegisterWindowMessageW(L"SUB_INIT_MAP"), 'x');
  PumpMessages();
  EXPECT_EQ(window.ItemText(IDC_MARKER_LATITUDE), "35.39.29.123");

  // 100,000 characters, posted a thousand at a time as a program flooding the queue would.
  window.Post(kHelperReplyMessage, ::RegisterWindowMessageW(L"SUB_TEXT_START"));
  const UINT character = ::RegisterWindowMessageW(L"SUB_TEXT_CHAR");
  for (int batch = 0; batch < 100; ++batch) {
    for (int i = 0; i < 1000; ++i) window.Post(kHelperReplyMessage, character, '7');
    PumpMessages();
  }
  window.Post(kHelperReplyMessage, ::RegisterWindowMessageW(L"SUB_GET_MARK_LAT"));
  PumpMessages();
  EXPECT_EQ(window.ItemText(IDC_MARKER_LATITUDE), "");
  EXPECT_EQ(Points().GetPointCount(), 3);
  EXPECT_FALSE(Points().IsModified());
  // And the next good reply is taken as before.
  Reply(MapMessage::kGetMarkLat, "35/39/29123");
  EXPECT_EQ(window.ItemText(IDC_MARKER_LATITUDE), "35.39.29.123");
}

// Chooses entry `entry` of the map-object dialog and presses OK.
ScopedDialogInitHook ChooseMapObject(int entry) {
  return ScopedDialogInitHook(IDD_MAP_OBJECT, [entry](Dialog& dialog) {
    ListBox(dialog.Item(IDC_MAP_OBJECT_LIST)).SetCurSel(entry);
    dialog.PostCommand(IDOK);
  });
}

TEST_F(MapLinkTest, ChoosingAnotherMapObjectRestartsTheHelperWithIt) {
  Command(IDC_MAP_DISPLAY);
  {
    auto hook = ChooseMapObject(2);
    Command(IDM_MAP_OBJECT);
    ASSERT_EQ(hook.Calls(), 1);
  }
  EXPECT_EQ(channel.events, (std::vector<std::string>{"started", "closed", "started"}));
  EXPECT_EQ(channel.closed, std::vector<HWND>{MemoryHelperChannel::kStartedWindow});
  EXPECT_EQ(LastCommands(2), (std::vector<std::string>{Sent("SUB_OBJECT_NAME", "ProAtlasSV.Map"), Sent("SUB_INIT_MAP")}));
  EXPECT_EQ(window.MapLink().MapObjectName(), "ProAtlasSV.Map");
  EXPECT_EQ(registry.Find(RegistryRoot::kLocalMachine, helperKey, "MapObject")->text, "ProAtlasSV.Map");

  // The same name again: the running helper stays as it is.
  const size_t posted = channel.posted.size();
  {
    auto hook = ChooseMapObject(2);
    Command(IDM_MAP_OBJECT);
  }
  EXPECT_EQ(channel.posted.size(), posted);
  EXPECT_EQ(channel.events.size(), 3u);
}

TEST_F(MapLinkTest, ClosingTheProgramClosesTheHelperItStarted) {
  Command(IDC_MAP_DISPLAY);
  window.Destroy();
  EXPECT_EQ(channel.closed, std::vector<HWND>{MemoryHelperChannel::kStartedWindow});
  EXPECT_FALSE(channel.running);
}

TEST_F(MapLinkTest, ClosingWhenTheHelperWasNeverStartedPostsNothing) {
  channel.otherHelperRunning = true;
  window.Destroy();
  EXPECT_TRUE(channel.posted.empty());
  EXPECT_TRUE(channel.closed.empty());
}

TEST_F(MapLinkTest, WithoutAHelperBesideTheProgramNothingStartsNorIsAnotherProgramsHelperClosed) {
  channel.programExists = false;
  channel.otherHelperRunning = true;
  Command(IDC_MAP_DISPLAY);
  EXPECT_TRUE(window.MapLink().HelperStarted());
  EXPECT_TRUE(channel.started.empty());
  // The texts reach whatever helper runs, as they always did; closing leaves it alone.
  ASSERT_FALSE(channel.posted.empty());
  EXPECT_EQ(channel.posted.back().window, MemoryHelperChannel::kOtherWindow);
  window.Destroy();
  EXPECT_TRUE(channel.closed.empty());
}

TEST_F(MapLinkTest, TheMapObjectDialogEditsTheListAndStoresTheChoice) {
  std::vector<std::string> shown;
  ScopedDialogInitHook hook(IDD_MAP_OBJECT, [&](Dialog& dialog) {
    ListBox list(dialog.Item(IDC_MAP_OBJECT_LIST));
    EXPECT_EQ(list.GetCurSel(), 1);  // the stored choice, ProAtlasW3.Map
    dialog.SetItemText(IDC_MAP_OBJECT_NAME, "Kitsune.Map");
    dialog.Send(WM_COMMAND, IDC_MAP_OBJECT_ADD);
    EXPECT_EQ(dialog.ItemText(IDC_MAP_OBJECT_NAME), "");
    list.SetCurSel(0);
    dialog.Send(WM_COMMAND, IDC_MAP_OBJECT_DELETE);
    for (int i = 0; i < list.GetCount(); ++i) shown.push_back(list.GetText(i));
    // The stored choice is selected again after the deletion.
    EXPECT_EQ(list.GetCurSel(), 0);
    list.SetCurSel(3);
    dialog.PostCommand(IDOK);
  });
  Command(IDM_MAP_OBJECT);
  ASSERT_EQ(hook.Calls(), 1);
  EXPECT_EQ(shown, (std::vector<std::string>{"ProAtlasW3.Map", "ProAtlasSV.Map", "Mapple.Document", "Kitsune.Map"}));
  EXPECT_EQ(registry.Find(RegistryRoot::kLocalMachine, helperKey, "MapObject03")->text, "Kitsune.Map");
  EXPECT_EQ(registry.Find(RegistryRoot::kLocalMachine, helperKey, "o-cnt")->number, 4u);
  EXPECT_EQ(window.MapLink().MapObjectName(), "Kitsune.Map");
  // The helper had not been started: confirming starts it, with the new name.
  EXPECT_EQ(channel.events, std::vector<std::string>{"started"});
  EXPECT_EQ(Commands()[1], Sent("SUB_OBJECT_NAME", "Kitsune.Map"));
}

}  // namespace
