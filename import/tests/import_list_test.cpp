// The two point lists on a small host of their own, without a main window: what the import
// list loads and shows (point files and each interchange format, judged against the host's
// file, with the rows' colours), the files dropped on it, its drag with the cursor at each
// step and where the drop goes; and the point list's drag on the host's file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/prompts.h"
#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"
#include "exchange/kmz.h"
#include "app/history/file_history.h"
#include "app/point_list_view.h"
#include "import/import_list_view.h"
#include "lists/point_icons.h"
#include "pointfile/testing/memory_file_store.h"
#include "pointfile/testing/recording_message_sink.h"
#include "pointfile/testing/point_images.h"
#include "registry/testing/memory_registry.h"
#include "resources/resource.h"

namespace {

// `count` points named <prefix>00, <prefix>01, ...
PointFile Named(const std::string& prefix, int count) {
  PointFile file;
  for (int i = 0; i < count; ++i) {
    file.InsertRecord(i);
    file.SetName(i, prefix + (i < 10 ? "0" : "") + std::to_string(i));
    file.SetLongitudeText(i, "139/44/28.000");
    file.SetLatitudeText(i, "35/39/29.000");
    file.SetIcon(i, i % 55 + 1);
  }
  for (int i = 0; i < count; ++i) file.UpdateChecksum(i);
  return file;
}

MemoryFileStore::Bytes Bytes(const PointFile& file) { return {file.Image().begin(), file.Image().end()}; }

HCURSOR Cursor(int id) { return ProgramCursor(id, DisplayScale()); }

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Template 132 with nothing of the main window behind it: a plain dialog, whose only part
// in this is to pass the lists' notifications back to them.
class ImportListTest : public ::testing::Test, public ImportListHost {
 protected:
  void SetUp() override {
    icons.LoadPointIcons(ProgramFolder(), DisplayScale());
    ASSERT_TRUE(m_window.Create(nullptr));
    pointList.Bind(m_window.Item(IDC_POINT_LIST));
    importList.Bind(m_window.Item(IDC_IMPORT_LIST));
    pointList.SetupColumns(DisplayScale());
    importList.SetupColumns(DisplayScale());
    m_window.Show(SW_SHOW);
    PumpMessages();
  }
  void TearDown() override {
    if (::GetCapture()) ::ReleaseCapture();
    m_window.Destroy();
    PumpMessages();
  }

 public:
  RECT GetPointListRect() const override { return pointList.WindowRect(); }
  int PointListRowAt(POINT screen) const override { return pointList.HitTest(pointList.ScreenToClient(screen)); }
  void TransferPoints(int dropRow) override { transfers.push_back(dropRow); }
  void SourceChanged() override { importList.JudgeAgainst(points); }

 protected:
  void ShowPoints(const PointFile& file) {
    points = file;
    pointList.DeleteAllItems();
    for (int i = 0; i < ListedSlotCount(points); ++i) pointList.InsertRow(PointTextRow::FromSlot(points, i), i);
  }
  void Select(const std::vector<int>& rows) {
    importList.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows) importList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  // The list's begin-drag notification, as the list sends it to its parent.
  void BeginDrag(const ListView& list, int row) {
    NMLISTVIEW notice{};
    notice.hdr = {list.Handle(), static_cast<UINT_PTR>(list.ControlId()), static_cast<UINT>(LVN_BEGINDRAG)};
    notice.iItem = row;
    m_window.Send(WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
  }
  // A mouse message to `list` at a point given in screen coordinates.
  void Mouse(const ListView& list, UINT message, POINT screen) {
    const POINT at = list.ScreenToClient(screen);
    list.Send(message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0, MAKELPARAM(at.x, at.y));
  }
  // Halfway across the list (a row's rectangle spans all columns, most of them out of view).
  POINT PointListRow(int row) {
    RECT r{};
    pointList.GetItemRect(row, r);
    return pointList.ClientToScreen({pointList.ClientRect().right / 2, (r.top + r.bottom) / 2});
  }
  POINT BelowTheRows() {
    const RECT client = pointList.ClientRect();
    return pointList.ClientToScreen({client.right / 2, client.bottom - 3});
  }
  std::vector<std::string> ImportNames() {
    std::vector<std::string> names;
    for (int i = 0; i < importList.GetItemCount(); ++i) names.push_back(importList.GetItemText(i, 1));
    return names;
  }

  PointIcons icons;
  Dialog m_window{IDD_MAIN};
  PointFile points;
  MemoryFileStore files;
  RecordingMessageSink messages;
  PointListView pointList{icons, points, history};
  FileHistory history{points, pointList};
  MemoryRegistry registry;
  DatumSetting datum{registry};
  ImportListView importList{icons, *this, files, messages, datum};
  std::vector<int> transfers;
};

TEST_F(ImportListTest, ShowsTheSourceRowForSlotLikeThePointList) {
  PointFile source = Named("S", 4);
  source.InsertRecord(6);  // a point after a gap: blank rows keep it on its own row
  source.SetName(6, "STRAY");
  source.UpdateChecksum(6);
  files.Put("C:\\in\\a.pnt", Bytes(source));
  importList.LoadSource("C:\\in\\a.pnt");

  ASSERT_EQ(importList.GetItemCount(), 7);
  for (int i = 0; i < 7; ++i) {
    const PointTextRow expected = PointTextRow::FromSlot(source, i);
    EXPECT_EQ(importList.GetItemText(i, 0), expected.icon);
    EXPECT_EQ(importList.GetItemText(i, 1), expected.name);
    EXPECT_EQ(importList.GetItemText(i, 5), expected.longitude);
    EXPECT_EQ(importList.GetItemImage(i), IconImageIndex(expected.icon));
  }
  EXPECT_EQ(importList.GetItemText(5, 1), "");
  EXPECT_EQ(ImageOf(importList.SourceFile()), ImageOf(source));
  EXPECT_EQ(messages.texts, std::vector<std::string>{});
  // The same columns and colours as the point list.
  for (int c = 0; c < kPointListColumns; ++c) {
    EXPECT_EQ(importList.GetColumnText(c), pointList.GetColumnText(c));
    EXPECT_EQ(importList.GetColumnWidth(c), pointList.GetColumnWidth(c));
  }
  EXPECT_EQ(importList.GetBkColor(), kPointListBackground);
  EXPECT_EQ(importList.GetImageList(LVSIL_SMALL), icons.Small().Handle());
}

TEST_F(ImportListTest, ASourceThatCannotBeReadOrIsNoPointFileLeavesTheListEmpty) {
  files.Put("C:\\in\\a.pnt", Bytes(Named("S", 5)));
  files.Put("C:\\in\\text.pnt", MemoryFileStore::Bytes(64048, 'x'));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\in\\missing.pnt", "\"C:\\in\\missing.pnt\"\n\nファイル未定義"},
      {"C:\\in\\text.pnt", "C:\\in\\text.pnt\n    は認識できないファイルです"},
      {"C:\\in\\a.doc", "C:\\in\\a.doc\n    は認識できないファイルです"},
  };
  for (const auto& [path, message] : cases) {
    importList.LoadSource("C:\\in\\a.pnt");
    ASSERT_EQ(importList.GetItemCount(), 5);
    messages.texts.clear();
    importList.LoadSource(path);
    EXPECT_EQ(messages.texts, std::vector<std::string>{message});
    EXPECT_EQ(importList.GetItemCount(), 0) << path;
    EXPECT_EQ(importList.SourceFile().GetPointCount(), 0) << path;
  }
}

TEST_F(ImportListTest, ADropLoadsItsLastFileTakenWhole) {
  files.Put("C:\\in\\a.pnt", Bytes(Named("A", 2)));
  files.Put("C:\\in\\b.pnt", Bytes(Named("B", 3)));
  // Longer than the 256 characters a fixed buffer would keep.
  const std::string longPath = "C:\\in\\" + std::string(300, 'd') + "\\c.pnt";
  files.Put(longPath, Bytes(Named("C", 4)));
  importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\in\\a.pnt", L"C:\\in\\b.pnt",
                                                                     WidenText(longPath)})));
  EXPECT_EQ(importList.SourcePath(), longPath);
  EXPECT_EQ(ImportNames(), (std::vector<std::string>{"C00", "C01", "C02", "C03"}));

  importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\in\\b.pnt", L"C:\\in\\a.pnt"})));
  EXPECT_EQ(ImportNames(), (std::vector<std::string>{"A00", "A01"}));
  EXPECT_EQ(messages.texts, std::vector<std::string>{});
  EXPECT_EQ(points.GetPointCount(), 0);  // the open file is not the drop's business
}

TEST_F(ImportListTest, ADroppedPathCodePage932CannotHoldIsRefusedAndTheListStays) {
  files.Put("C:\\in\\a.pnt", Bytes(Named("A", 2)));
  importList.LoadSource("C:\\in\\a.pnt");
  const std::wstring path = L"C:\\in\\caf\u00e9.pnt";  // no best-fit "cafe.pnt" either
  importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})));
  EXPECT_EQ(messages.texts, std::vector<std::string>{UnrepresentablePathText(path)});
  EXPECT_EQ(ImportNames(), (std::vector<std::string>{"A00", "A01"}));
}

TEST_F(ImportListTest, TheCursorFollowsTheSelectionAndWhereTheMouseIs) {
  files.Put("C:\\in\\a.pnt", Bytes(Named("S", 10)));
  importList.LoadSource("C:\\in\\a.pnt");
  ShowPoints(Named("P", 5));
  const POINT overImportList = importList.ClientToScreen(Centre(importList.ClientRect()));
  const RECT pointListRect = pointList.WindowRect();
  const POINT outside{pointListRect.right + 40, pointListRect.bottom + 40};

  Select({2});
  BeginDrag(importList, 2);
  EXPECT_TRUE(importList.IsDragging());
  EXPECT_EQ(::GetCapture(), importList.Handle());
  EXPECT_EQ(::GetCursor(), Cursor(IDC_DRAG_ONE_ROW));
  Mouse(importList, WM_MOUSEMOVE, outside);
  EXPECT_EQ(::GetCursor(), Cursor(IDC_NO_DROP));
  Mouse(importList, WM_MOUSEMOVE, PointListRow(1));
  EXPECT_EQ(::GetCursor(), Cursor(IDC_DRAG_ONE_ROW));
  Select({2, 4});
  Mouse(importList, WM_MOUSEMOVE, overImportList);
  EXPECT_EQ(::GetCursor(), Cursor(IDC_DRAG_ROWS));
  Mouse(importList, WM_MOUSEMOVE, PointListRow(1));
  EXPECT_EQ(::GetCursor(), Cursor(IDC_DRAG_ROWS));
  Mouse(importList, WM_LBUTTONUP, outside);
  EXPECT_EQ(::GetCursor(), Cursor(IDC_PLAIN_ARROW));
  EXPECT_FALSE(importList.IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(transfers, std::vector<int>{});

  // Without a drag a move leaves the cursor to the list; a release still shows the arrow.
  ::SetCursor(Cursor(IDC_NO_DROP));
  Mouse(importList, WM_MOUSEMOVE, overImportList);
  EXPECT_EQ(::GetCursor(), Cursor(IDC_NO_DROP));
  Mouse(importList, WM_LBUTTONUP, overImportList);
  EXPECT_EQ(::GetCursor(), Cursor(IDC_PLAIN_ARROW));
}

TEST_F(ImportListTest, ADropOnThePointListTransfersToTheRowUnderTheMouseAndNowhereElse) {
  files.Put("C:\\in\\a.pnt", Bytes(Named("S", 10)));
  importList.LoadSource("C:\\in\\a.pnt");
  ShowPoints(Named("P", 5));
  Select({2, 5, 9});
  auto dropAt = [&](POINT screen) {
    BeginDrag(importList, 5);
    Mouse(importList, WM_MOUSEMOVE, screen);
    Mouse(importList, WM_LBUTTONUP, screen);
  };
  dropAt(PointListRow(3));
  dropAt(BelowTheRows());
  dropAt(importList.ClientToScreen(Centre(importList.ClientRect())));  // on itself: nothing
  EXPECT_EQ(transfers, (std::vector<int>{3, -1}));
  // A release without a drag is a click: nothing is transferred.
  Mouse(importList, WM_LBUTTONUP, PointListRow(3));
  EXPECT_EQ(transfers, (std::vector<int>{3, -1}));
  // The list keeps its rows and selection for another drop.
  EXPECT_EQ(importList.GetItemCount(), 10);
  EXPECT_EQ(importList.GetSelectedCount(), 3);
}

MemoryFileStore::Bytes TextBytes(const std::string& text) { return {text.begin(), text.end()}; }

// The same four places in each format: one the host's file holds already (by name and
// place), one whose name is cut to fit, one south of the unit's area, and one west of the
// zero meridian, whose position no slot can hold.
TEST_F(ImportListTest, EachFormatShowsItsRowsJudgedAgainstTheOpenFileInTheirColours) {
  PointFile open = Named("P", 1);
  open.SetName(0, "Dup");
  open.UpdateChecksum(0);
  ShowPoints(open);
  const std::string longName = "A place whose name is longer than its field";
  struct Place {
    std::string name, longitude, latitude;
  };
  const std::vector<Place> places = {{"Dup", "139.741111", "35.658056"}, {longName, "135.5", "34.7"},
                                     {"Guam", "144.79", "13.44"}, {"Rio", "-43.2", "-22.9"}};
  std::string gpx = R"(<?xml version="1.0" encoding="UTF-8"?><gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1">)";
  std::string kml = R"(<?xml version="1.0" encoding="UTF-8"?><kml xmlns="http://www.opengis.net/kml/2.2"><Document><Folder>)";
  std::string csv = "name,latitude,longitude\r\n";
  std::string geojson = R"({"type":"FeatureCollection","features":[)";
  for (const Place& p : places) {
    gpx += "<wpt lat=\"" + p.latitude + "\" lon=\"" + p.longitude + "\"><name>" + p.name + "</name></wpt>";
    kml += "<Placemark><name>" + p.name + "</name><Point><coordinates>" + p.longitude + "," + p.latitude +
           "</coordinates></Point></Placemark>";
    csv += p.name + "," + p.latitude + "," + p.longitude + "\r\n";
    geojson += std::string(&p == &places[0] ? "" : ",") + R"({"type":"Feature","geometry":{"type":"Point","coordinates":[)" +
               p.longitude + "," + p.latitude + R"(]},"properties":{"name":")" + p.name + "\"}}";
  }
  gpx += "</gpx>";
  kml += "</Folder></Document></kml>";
  geojson += "]}";
  const std::vector<std::pair<std::string, std::string>> sources = {
      {"C:\\in\\a.gpx", gpx}, {"C:\\in\\a.kml", kml}, {"C:\\in\\a.kmz", PackKmz(kml)},
      {"C:\\in\\a.csv", csv}, {"C:\\in\\a.geojson", geojson}};
  const COLORREF plain = kPointListText;
  for (const auto& [path, text] : sources) {
    files.Put(path, TextBytes(text));
    importList.LoadSource(path);
    EXPECT_EQ(messages.texts, std::vector<std::string>{}) << path;
    ASSERT_EQ(importList.GetItemCount(), 4) << path;
    EXPECT_EQ(importList.GetItemText(0, 1), "Dup");
    EXPECT_EQ(importList.GetItemText(1, 1), longName.substr(0, importList.GetItemText(1, 1).size())) << path;
    EXPECT_LT(importList.GetItemText(1, 1).size(), longName.size());
    EXPECT_NE(importList.GetItemText(2, 5), "") << path;  // outside the area, still where it is
    EXPECT_EQ(importList.GetItemText(3, 1), "Rio");
    EXPECT_EQ(importList.GetItemText(3, 5), "") << path;  // a position no slot holds: none shown
    EXPECT_EQ(importList.GetItemText(3, 6), "") << path;
    EXPECT_EQ(importList.SummaryText(), "インポート 4地点: 重複 1, 登録不可 2, 短縮 1") << path;

    // The colours as the list asks for them while it paints each row.
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr = {importList.Handle(), static_cast<UINT_PTR>(importList.ControlId()), static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    m_window.Send(WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(::GetWindowLongPtrW(m_window.Handle(), DWLP_MSGRESULT), CDRF_NOTIFYITEMDRAW);
    std::vector<COLORREF> colours;
    for (int row = 0; row < 4; ++row) {
      draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
      draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
      draw.clrText = plain;
      m_window.Send(WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
      colours.push_back(draw.clrText);
    }
    EXPECT_EQ(colours, (std::vector<COLORREF>{kDuplicateRowText, plain, kCannotStoreRowText, kCannotStoreRowText})) << path;
  }

  // Places without a position, shown by their names: a CSV row with empty coordinate cells.
  files.Put("C:\\in\\saved.csv", TextBytes("name,latitude,longitude\r\nCafe,,\r\nNew,35.5,139.5\r\n"));
  importList.LoadSource("C:\\in\\saved.csv");
  ASSERT_EQ(ImportNames(), (std::vector<std::string>{"Cafe", "New"}));
  EXPECT_EQ(importList.GetItemText(0, 5) + importList.GetItemText(0, 6), "");
  EXPECT_EQ(importList.RowTextColour(0), kCannotStoreRowText);
  EXPECT_EQ(importList.SummaryText(), "インポート 2地点: 登録不可 1");
  // A map service's saved places: one whose position its link gives, one with none anywhere.
  files.Put("C:\\in\\Saved Places.json", TextBytes(R"({"type": "FeatureCollection", "features": [
    {"geometry": {"coordinates": [0, 0], "type": "Point"}, "type": "Feature", "properties": {
      "google_maps_url": "https://www.google.com/maps/place/Somewhere/@35.125,136.875,17z", "location": {"name": "Linked"}}},
    {"geometry": {"coordinates": [0, 0], "type": "Point"}, "type": "Feature", "properties": {
      "google_maps_url": "http://maps.google.com/?cid=99", "location": {"name": "Closed shop"}}}]})"));
  importList.LoadSource("C:\\in\\Saved Places.json");
  ASSERT_EQ(ImportNames(), (std::vector<std::string>{"Linked", "Closed shop"}));
  EXPECT_EQ(importList.GetItemText(1, 5) + importList.GetItemText(1, 6), "");
  EXPECT_EQ(importList.SummaryText(), "インポート 2地点: 登録不可 1");
  importList.LoadSource("C:\\in\\a.csv");

  // The judgement follows the host's file: without its point, nothing is a duplicate.
  ShowPoints(PointFile());
  importList.JudgeAgainst(points);
  EXPECT_EQ(importList.SummaryText(), "インポート 4地点: 登録不可 2, 短縮 1");
  EXPECT_EQ(importList.RowTextColour(0), plain);
  // A point file's rows are judged too.
  ShowPoints(Named("P", 1));
  PointFile source = Named("S", 2);
  source.SetLatitudeText(1, "50/00/00.000");
  source.UpdateChecksum(1);
  files.Put("C:\\in\\b.pnt", Bytes(source));
  importList.LoadSource("C:\\in\\b.pnt");
  EXPECT_EQ(importList.SummaryText(), "インポート 2地点: 重複 1, 登録不可 1");
}

TEST_F(ImportListTest, AnInterchangeFileBeyondTheFirstReadLoadsWholeAndOneBeyondTheLimitIsRefused) {
  const std::string head = R"(<?xml version="1.0" encoding="UTF-8"?><gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1">)";
  const std::string tail = R"(<wpt lat="35.5" lon="139.5"><name>After</name></wpt></gpx>)";
  files.Put("C:\\in\\big.gpx", TextBytes(head + std::string(3u << 20, ' ') + tail));
  importList.LoadSource("C:\\in\\big.gpx");
  EXPECT_EQ(ImportNames(), std::vector<std::string>{"After"});
  files.Put("C:\\in\\huge.gpx", TextBytes(head + std::string(16u << 20, ' ') + tail));
  importList.LoadSource("C:\\in\\huge.gpx");
  EXPECT_EQ(messages.texts, std::vector<std::string>{"C:\\in\\huge.gpx\n16 MB を超えるファイルは読み込めません。"});
  EXPECT_EQ(ImportNames(), std::vector<std::string>{"After"});
}

TEST_F(ImportListTest, ThePointListMovesThePointsOfItsHostsFile) {
  ShowPoints(Named("P", 6));
  BeginDrag(pointList, 4);
  Mouse(pointList, WM_MOUSEMOVE, PointListRow(1));
  Mouse(pointList, WM_LBUTTONUP, PointListRow(1));
  EXPECT_EQ(points.GetName(1), "P04");
  EXPECT_EQ(pointList.GetItemText(1, 1), "P04");
  EXPECT_EQ(points.GetName(2), "P01");
  EXPECT_TRUE(points.IsModified());
}

}  // namespace
