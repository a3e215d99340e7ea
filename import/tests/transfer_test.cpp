// The import list in the whole main window: the import command and its file dialog, files
// dropped on the list, and the transfer of dragged rows into the open file (where the
// copies land, what they carry, the point limit, files with gaps, the saved file); points
// from GPX and CSV files in the datum the 地図 menu chooses; the preview's summary in the status
// bar, and the question on duplicates.
#include <cstdint>

#include "app/tests/editing_fixture.h"
#include "exchange/point_waypoint.h"
#include "import/preview.h"
#include "framework/text_encoding.h"
#include "pointfile/datum.h"
#include "pointfile/testing/point_images.h"
#include "pointfile/text_forms.h"
#include "registry/testing/memory_registry.h"

namespace {

using R = PointRecord;

// Points S00, S01 ... whose every copied field is set and whose coordinates lie between two
// DMS texts, so that a copy through the text would come out a unit short. Their voice and
// stamp are not those of a fresh point.
PointFile SourcePoints(int count) {
  PointFile file;
  for (int i = 0; i < count; ++i) {
    file.InsertRecord(i);
    file.SetName(i, (i < 10 ? "S0" : "S") + std::to_string(i));
    file.SetLocation(i, "東京都千代田区丸の内" + std::to_string(i));
    file.SetNickname(i, "とうきょう" + std::to_string(i));
    file.SetPhone(i, "03-1234-" + std::to_string(1000 + i));
    file.SetIcon(i, 40 + i % 10);
    file.SetLongitude(i, 139 * kUnitsPerDegree + 12345u * i + 1);
    file.SetLatitude(i, 35 * kUnitsPerDegree + 6789u * i + 1);
    file.SetVoiceCode(i, 0x0120);
    file.SetDate(i, (19u << 16) | (1u << 8) | 2u);
    file.SetTime(i, (3u << 16) | (4u << 8) | 5u);
  }
  for (int i = 0; i < count; ++i) file.UpdateChecksum(i);
  file.SetModified(false);
  return file;
}

// The three bytes of a stamp (time from R::kHour, date from R::kYear) packed as the setters take them.
std::uint32_t Stamp(const Image& slot, std::size_t first) {
  return static_cast<std::uint32_t>(slot[first] << 16 | slot[first + 1] << 8 | slot[first + 2]);
}

class TransferTest : public EditingTest {
 protected:
  void SetUp() override {
    EditingTest::SetUp();
    Command(IDM_VIEW_IMPORT_SCREEN);
  }

  ImportListView& Import() { return window.Import().ImportList(); }

  // Writes `file` into the test directory and drops it on the import list.
  std::string DropOnImportList(const PointFile& file, const std::string& name = "source.pnt") {
    const std::string path = dir.File(name);
    EXPECT_TRUE(WriteFileBytes(path, ImageOf(file)));
    Import().Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({WidenText(path)})));
    return path;
  }
  void SelectSource(const std::vector<int>& rows) {
    Import().SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows) Import().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  std::vector<int> SelectedSourceRows() {
    std::vector<int> rows;
    for (int i = -1; (i = Import().GetNextItem(i, LVNI_SELECTED)) >= 0;) rows.push_back(i);
    return rows;
  }
  // A drag from the import list, released at `screen`.
  void DragTo(POINT screen) {
    NMLISTVIEW notice{};
    notice.hdr = {Import().Handle(), IDC_IMPORT_LIST, static_cast<UINT>(LVN_BEGINDRAG)};
    notice.iItem = Import().GetNextItem(-1, LVNI_SELECTED);
    window.Send(WM_NOTIFY, IDC_IMPORT_LIST, reinterpret_cast<LPARAM>(&notice));
    const POINT at = Import().ScreenToClient(screen);
    Import().Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Import().Send(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
  void DragOntoRow(int row) {
    List().EnsureVisible(row, false);
    RECT r{};
    List().GetItemRect(row, r);
    // Halfway across the list: a row's rectangle spans all columns, most of them out of view.
    DragTo(List().ClientToScreen({List().ClientRect().right / 2, (r.top + r.bottom) / 2}));
  }
  void DragBelowTheRows() {
    const RECT client = List().ClientRect();
    DragTo(List().ClientToScreen({client.right / 2, client.bottom - 3}));
  }
  // Slot `slot` of the open file is a copy of slot `from` of `source`: the copied fields
  // byte for byte, the flags (so no voice) of a fresh point, and a valid checksum.
  void ExpectCopied(int slot, const PointFile& source, int from) {
    const Image copy = SlotOf(Points(), slot);
    const Image original = SlotOf(source, from);
    EXPECT_EQ(Image(copy.begin() + R::kLongitude, copy.begin() + R::kIcon + 1),
              Image(original.begin() + R::kLongitude, original.begin() + R::kIcon + 1))
        << "slot " << slot;
    const auto texts = static_cast<std::uint16_t>(source.GetFlagWord(from) & (R::kFlagNickname | R::kFlagPhone));
    EXPECT_EQ(Points().GetFlagWord(slot), R::kFlagCreated | texts) << "slot " << slot;
    EXPECT_EQ(Points().GetChecksum(slot), Points().ComputeChecksum(slot)) << "slot " << slot;
  }
};

TEST_F(TransferTest, RowsTwoFiveAndNineDroppedOnRowThreeLandThereReversedAndExact) {
  OpenFile(NumberedPoints(8));
  const PointFile source = SourcePoints(12);
  DropOnImportList(source);
  // Through its DMS text this longitude would lose a unit; the copy must not.
  ASSERT_NE(ParseDms(FormatDms(source.GetLongitude(9))), source.GetLongitude(9));
  SelectRows({1});
  SelectSource({2, 5, 9});
  DragOntoRow(3);

  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02", "S09", "S05", "S02", "P03", "P04", "P05",
                                                  "P06", "P07"}));
  ExpectListMatchesTable();
  ExpectCopied(3, source, 9);
  ExpectCopied(4, source, 5);
  ExpectCopied(5, source, 2);
  EXPECT_EQ(Points().GetLongitude(3), source.GetLongitude(9));
  EXPECT_EQ(Points().GetLatitude(3), source.GetLatitude(9));
  // The stamp of the transfer, not the source's.
  EXPECT_NE(Points().GetDateText(3) + Points().GetTimeText(3), source.GetDateText(9) + source.GetTimeText(9));
  EXPECT_TRUE(Points().IsModified());
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  11");
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  // The import list and its file are as they were: the same points can go again.
  EXPECT_EQ(Import().GetItemCount(), 12);
  EXPECT_EQ(SelectedSourceRows(), (std::vector<int>{2, 5, 9}));
  EXPECT_EQ(ImageOf(Import().SourceFile()), ImageOf(source));
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{});

  // The transfer is one step: undone, the file is as opened.
  const PointFile transferred = Points();
  window.Send(WM_COMMAND, ID_EDIT_UNDO);
  EXPECT_EQ(ImageOf(Points()), ImageOf(NumberedPoints(8)));
  EXPECT_FALSE(Points().IsModified());
  ExpectListMatchesTable();
  window.Send(WM_COMMAND, ID_EDIT_REDO);
  EXPECT_EQ(ImageOf(Points()), ImageOf(transferred));
}

TEST_F(TransferTest, ADropBelowTheLastRowAppendsAndOneOnTheImportListChangesNothing) {
  OpenFile(NumberedPoints(4));
  DropOnImportList(SourcePoints(6));
  SelectSource({0, 3});
  const RECT importRect = Import().WindowRect();
  DragTo({(importRect.left + importRect.right) / 2, (importRect.top + importRect.bottom) / 2});
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02", "P03"}));
  EXPECT_FALSE(Points().IsModified());

  DragBelowTheRows();
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02", "P03", "S03", "S00"}));
  ExpectListMatchesTable();
}

// Records the message boxes and who holds the mouse while each is up.
class CaptureAtMessage final : public Prompter {
 public:
  void ShowMessage(HWND, const std::string& text) override {
    messages.push_back(text);
    captures.push_back(::GetCapture());
  }
  int AskYesNoCancel(HWND, const std::string&) override { return IDCANCEL; }
  int AskYesNo(HWND, const std::string&) override { return IDNO; }
  std::optional<std::string> ChooseFile(HWND, const FileDialogRequest&) override { return std::nullopt; }
  std::vector<std::string> messages;
  std::vector<HWND> captures;
};

TEST_F(TransferTest, AFileOf248TakesTheFirstTwoOfFourRowsThenSaysItIsFull) {
  OpenFile(NumberedPoints(248));
  DropOnImportList(SourcePoints(8));
  SelectSource({1, 3, 5, 7});
  CaptureAtMessage boxes;
  {
    ScopedPrompter useBoxes(boxes);
    DragOntoRow(0);
  }
  EXPECT_EQ(boxes.messages, std::vector<std::string>{"250地点以上は登録出来ません"});
  // The box can be clicked: the import list no longer holds the mouse.
  EXPECT_EQ(boxes.captures, std::vector<HWND>{nullptr});
  ASSERT_EQ(Points().GetPointCount(), kSlotCount);
  EXPECT_EQ(Points().GetName(0), "S03");
  EXPECT_EQ(Points().GetName(1), "S01");
  EXPECT_EQ(Points().GetName(2), "P00");
  EXPECT_EQ(Points().GetName(249), "P247");
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  250");
  ExpectListMatchesTable();

  // The same rows again are duplicates now; taken all the same, they meet the limit.
  prompts.QueueAnswer(IDYES);
  DragOntoRow(10);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"250地点以上は登録出来ません"});
  EXPECT_EQ(Points().GetName(10), "P08");
}

TEST_F(TransferTest, TheSavedFileIsTheImageTheCoreBuildsWithEveryChecksumValid) {
  const PointFile original = NumberedPoints(5);
  const std::string path = OpenFile(original);
  const PointFile source = SourcePoints(4);
  DropOnImportList(source);
  SelectSource({0, 2});
  DragOntoRow(1);
  Command(ID_FILE_SAVE);
  const std::vector<unsigned char> saved = ReadFileBytes(path);
  ASSERT_EQ(saved.size(), kPointFileLength);

  PointFile expected = original;
  for (int from : {0, 2}) {
    expected.InsertRecord(1);
    expected.CopyPointFrom(1, source, from);
  }
  // The stamps are the moment of the transfer, which only the saved file knows.
  const Image savedImage(saved.begin(), saved.end());
  for (int slot : {1, 2}) {
    const Image copy = SlotOf(savedImage, slot);
    expected.SetTime(slot, Stamp(copy, R::kHour));
    expected.SetDate(slot, Stamp(copy, R::kYear));
    expected.UpdateChecksum(slot);
  }
  EXPECT_EQ(savedImage, ImageOf(expected));
  const PointFile reread = Loaded(savedImage);
  for (int slot = 0; slot < reread.GetPointCount(); ++slot)
    EXPECT_EQ(reread.GetChecksum(slot), reread.ComputeChecksum(slot)) << "slot " << slot;
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(TransferTest, WithGapsRowsStayOnTheirSlotsAndNoPointAfterAGapIsOverwritten) {
  OpenFile(WithStrayPoint(NumberedPoints(3), 5, "STRAY"));
  PointFile source = WithStrayPoint(SourcePoints(2), 4, "SX");
  source.SetLongitudeText(4, "139/30/00.000");  // where the unit can take it
  source.SetLatitudeText(4, "35/30/00.000");
  source.UpdateChecksum(4);
  DropOnImportList(source);
  ASSERT_EQ(Import().GetItemCount(), 5);

  // Row 4 is the gap's blank row: the copies close the gap instead, and the blank source
  // row 3 copies nothing.
  SelectSource({1, 3, 4});
  DragOntoRow(4);
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02", "SX", "S01", "STRAY"}));
  ExpectListMatchesTable();
  ExpectCopied(3, source, 4);
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  6");

  prompts.QueueAnswer(IDYES);  // the same points again
  DragBelowTheRows();
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02", "SX", "S01", "STRAY", "SX", "S01"}));
  ExpectListMatchesTable();
}

TEST_F(TransferTest, TheImportCommandShowsTheImportScreenAndLoadsTheFileChosen) {
  Command(IDM_VIEW_EDIT_SCREEN);
  const std::string startDir = window.Import().ImportDir();
  EXPECT_EQ(startDir, window.FileDir());
  const std::string path = dir.File("source.pnt");
  ASSERT_TRUE(WriteFileBytes(path, ImageOf(SourcePoints(3))));
  prompts.QueueFile(path);
  Command(IDM_FILE_IMPORT);
  EXPECT_EQ(window.ViewMode(), 1);
  ASSERT_EQ(prompts.FileDialogs().size(), 1u);
  const FileDialogRequest& request = prompts.FileDialogs()[0];
  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.filter,
            "地点ファイル ( *.pnt)|*.pnt|GPX ( *.gpx)|*.gpx|KML/KMZ ( *.kml; *.kmz)|*.kml;*.kmz|"
            "CSV/TXT ( *.csv; *.txt)|*.csv;*.txt|GeoJSON/JSON ( *.geojson; *.json)|*.geojson;*.json|"
            "all of these|*.pnt;*.gpx;*.kml;*.kmz;*.csv;*.txt;*.geojson;*.json|すべてのファイル (*.*)|*.*||");
  EXPECT_EQ(request.defaultExtension, "pnt");
  EXPECT_EQ(request.initialDirectory, startDir);
  EXPECT_EQ(request.fileName, "");
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_EQ(Import().GetItemCount(), 3);
  EXPECT_EQ(window.Import().ImportDir(), dir.Path());
  EXPECT_EQ(window.FilePath(), "");  // the open file is another matter
  EXPECT_EQ(Points().GetPointCount(), 0);

  // Cancelled: the import screen all the same, the list as it was.
  Command(IDM_VIEW_EDIT_SCREEN);
  prompts.QueueFile(std::nullopt);
  Command(IDM_FILE_IMPORT);
  EXPECT_EQ(window.ViewMode(), 1);
  EXPECT_EQ(prompts.FileDialogs()[1].initialDirectory, dir.Path());
  EXPECT_EQ(Import().GetItemCount(), 3);

  // A file that is no point file: its message, and an empty list.
  const std::string text = dir.File("notes.doc");
  prompts.QueueFile(text);
  Command(IDM_FILE_IMPORT);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{text + "\n    は認識できないファイルです"});
  EXPECT_EQ(Import().GetItemCount(), 0);
  EXPECT_EQ(prompts.Unexpected(), 0);
}

TEST_F(TransferTest, FilesDroppedOnTheImportListLoadTheLastAndLeaveTheOpenFile) {
  const std::string open = OpenFile(NumberedPoints(3), "open.pnt");
  const std::string importDir = window.Import().ImportDir();
  EXPECT_TRUE(::GetWindowLongPtrW(Import().Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  TempDirectory elsewhere;
  std::vector<std::wstring> drop;
  for (int count : {1, 2, 4}) {
    const std::string path = elsewhere.File("s" + std::to_string(count) + ".pnt");
    ASSERT_TRUE(WriteFileBytes(path, ImageOf(SourcePoints(count))));
    drop.push_back(WidenText(path));
  }
  Import().Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(drop)));
  EXPECT_EQ(Import().GetItemCount(), 4);
  EXPECT_EQ(window.FilePath(), open);
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02"}));
  EXPECT_EQ(window.Import().ImportDir(), importDir);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{});
}

bool WriteText(const std::string& path, const std::string& text) {
  return WriteFileBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

// The 地図 menu's radio item that is checked, as the menu shows it when it opens.
UINT CheckedDatumItem(MainDialog& window) {
  const HMENU map = ::GetSubMenu(::GetMenu(window.Handle()), 4);
  window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(map), 4);
  for (UINT id : {IDM_DATUM_WGS84, IDM_DATUM_TOKYO})
    if (::GetMenuState(map, id, MF_BYCOMMAND) & MF_CHECKED) return id;
  return 0;
}

TEST_F(TransferTest, GpxAndShiftJisCsvLoadInTheUnitsDatumAndTransferAsPoints) {
  MemoryRegistry registry;
  window.Datum().UseRegistry(registry);
  const std::string open = OpenFile(NumberedPoints(2), "open.pnt");
  Command(IDM_VIEW_EDIT_SCREEN);
  EXPECT_EQ(CheckedDatumItem(window), static_cast<UINT>(IDM_DATUM_WGS84));

  // A GPX dropped anywhere on the window: the import screen, its point in WGS 84 as the file
  // gives it, with its icon and time stamp (09:30 UTC is 18:30 in Japan); the copy is made as
  // from a point file, and keeps the file's time stamp.
  const std::string gpx = dir.File("trip.gpx");
  ASSERT_TRUE(WriteText(gpx, std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1">
  <wpt lat="35.681236" lon="139.767125"><time>2024-05-01T09:30:00Z</time><name>Tokyo Station</name><sym>12</sym></wpt>
</gpx>)")));
  window.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({WidenText(gpx)})));
  EXPECT_EQ(window.ViewMode(), 1);
  EXPECT_EQ(window.FilePath(), open);
  ASSERT_EQ(Import().GetItemCount(), 1);
  EXPECT_EQ(Import().GetItemText(0, 1), "Tokyo Station");
  EXPECT_EQ(StoredStamp(Import().SourceFile(), 0), (LocalStamp{2024, 5, 1, 18, 30, 0}));
  SelectSource({0});
  DragBelowTheRows();
  ASSERT_EQ(Points().GetPointCount(), 3);
  ExpectCopied(2, Import().SourceFile(), 0);
  EXPECT_EQ(Points().GetName(2), "Tokyo Station");
  EXPECT_EQ(Points().GetLongitude(2), *UnitsFromDegrees(139.767125));
  EXPECT_EQ(Points().GetLatitude(2), *UnitsFromDegrees(35.681236));
  EXPECT_EQ(Points().GetIcon(2), 12);
  EXPECT_EQ(StoredStamp(Points(), 2), (LocalStamp{2024, 5, 1, 18, 30, 0}));

  // 日本測地系: the setting the helper reads too, and the loaded rows are read again in it.
  Command(IDM_DATUM_TOKYO);
  EXPECT_EQ(registry.Find(RegistryRoot::kCurrentUser, kHelperSettingsKey, "Datum")->number, 1u);
  EXPECT_EQ(CheckedDatumItem(window), static_cast<UINT>(IDM_DATUM_TOKYO));
  const GeoPosition tokyo = Wgs84ToTokyo({139.767125, 35.681236});
  EXPECT_EQ(Import().SourceFile().GetLongitude(0), *UnitsFromDegrees(tokyo.longitude));
  EXPECT_EQ(Import().SourceFile().GetLatitude(0), *UnitsFromDegrees(tokyo.latitude));

  // A CSV as a Japanese spreadsheet saves it, in code page 932 (this file's literals are),
  // dropped on the import list, copied in front of row 0.
  const std::string csv = dir.File("places.csv");
  ASSERT_TRUE(WriteText(csv, std::string("name,latitude,longitude,location\r\n"
                                               "東京駅,35.681236,139.767125,東京都千代田区丸の内一丁目\r\n"
                                               "大阪城,34.687315,135.526201,大阪府大阪市中央区\r\n")));
  Import().Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({WidenText(csv)})));
  ASSERT_EQ(Import().GetItemCount(), 2);
  SelectSource({0});
  DragOntoRow(0);
  ASSERT_EQ(Points().GetPointCount(), 4);
  EXPECT_EQ(Points().GetName(0), "東京駅");
  EXPECT_EQ(Points().GetLocation(0), "東京都千代田区丸の内一丁目");
  EXPECT_EQ(Points().GetLongitude(0), *UnitsFromDegrees(tokyo.longitude));
  EXPECT_EQ(Points().GetLatitude(0), *UnitsFromDegrees(tokyo.latitude));
  ExpectCopied(0, Import().SourceFile(), 0);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{});

  // A file that is not what its name says: a message, and both lists as they were.
  const Image before = ImageOf(Points());
  const std::string broken = dir.File("broken.kml");
  ASSERT_TRUE(WriteText(broken, std::string("PK\x03\x04 not a KML")));
  window.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({WidenText(broken)})));
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0].rfind(broken + "\n", 0), 0u) << prompts.Messages()[0];
  EXPECT_EQ(Import().SourcePath(), csv);
  EXPECT_EQ(Import().GetItemCount(), 2);
  EXPECT_EQ(ImageOf(Points()), before);
  EXPECT_EQ(window.FilePath(), open);

  // Back to 世界測地系 with the source gone: its message, and no rows left in the other datum.
  ASSERT_TRUE(::DeleteFileW(WidenText(csv).c_str()));
  Command(IDM_DATUM_WGS84);
  EXPECT_EQ(registry.Find(RegistryRoot::kCurrentUser, kHelperSettingsKey, "Datum")->number, 0u);
  EXPECT_EQ(prompts.Messages().size(), 2u);
  EXPECT_EQ(Import().GetItemCount(), 0);
  EXPECT_EQ(Import().SourceFile().GetPointCount(), 0);
  EXPECT_EQ(ImageOf(Points()), before);
  EXPECT_EQ(prompts.Unexpected(), 0);
}

TEST_F(TransferTest, ThePreviewSummarisesTheRowsAndTheDragAsksOnceAboutDuplicates) {
  const std::string open = OpenFile(SourcePoints(2), "open.pnt");
  // S00 where it stands, S01 by its name 110 m off, a new place, one south of the unit's area,
  // and one west of the zero meridian, whose position no slot can hold.
  const std::string gpx = dir.File("flags.gpx");
  ASSERT_TRUE(WriteText(gpx, std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1">
  <wpt lat="35.0" lon="139.0"><name>again</name></wpt>
  <wpt lat="35.001921" lon="139.001674"><name>S01</name></wpt>
  <wpt lat="35.5" lon="139.5"><name>New</name></wpt>
  <wpt lat="13.44" lon="144.79"><name>Guam</name></wpt>
  <wpt lat="-22.9" lon="-43.2"><name>Rio</name></wpt>
</gpx>)")));
  Import().Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({WidenText(gpx)})));
  const std::string summary = "インポート 5地点: 重複 2, 登録不可 2";
  EXPECT_EQ(window.Status().PaneText(0), summary);
  Command(IDM_VIEW_EDIT_SCREEN);
  EXPECT_EQ(window.Status().PaneText(0), open);
  Command(IDM_VIEW_IMPORT_SCREEN);
  EXPECT_EQ(window.Status().PaneText(0), summary);

  // All five dragged: the two that cannot be stored never go; the question decides the rest.
  SelectSource({0, 1, 2, 3, 4});
  prompts.QueueAnswer(IDCANCEL);
  DragBelowTheRows();
  EXPECT_EQ(prompts.Questions(), std::vector<std::string>{DuplicateQuestionText(2)});
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"S00", "S01"}));
  EXPECT_FALSE(window.History().CanUndo());

  prompts.QueueAnswer(IDNO);
  DragBelowTheRows();
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"S00", "S01", "New"}));
  // Judged again against the file as it is now: the new place is in it.
  EXPECT_EQ(window.Status().PaneText(0), "インポート 5地点: 重複 3, 登録不可 2");
  EXPECT_EQ(Import().RowTextColour(2), kDuplicateRowText);
  window.Send(WM_COMMAND, ID_EDIT_UNDO);
  EXPECT_EQ(window.Status().PaneText(0), summary);
  EXPECT_EQ(Import().RowTextColour(2), kPointListText);

  prompts.QueueAnswer(IDYES);
  DragBelowTheRows();
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"S00", "S01", "New", "S01", "again"}));
  EXPECT_EQ(prompts.Questions().size(), 3u);

  // Only rows that cannot be stored: the user is told, and nothing changes.
  const Image before = ImageOf(Points());
  SelectSource({3, 4});
  DragBelowTheRows();
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{kNothingStorableText});
  EXPECT_EQ(ImageOf(Points()), before);
  EXPECT_EQ(prompts.Questions().size(), 3u);
  EXPECT_EQ(prompts.Unexpected(), 0);
}

}  // namespace
