// In-process figures for the import list under Wine: loading a source file of 250 points
// into the import list (the file dropped on it); the same beside a full open file, and a GPX
// of 250 places there, each row judged against the open file (target: the GPX under 16 ms
// more than the point file); and one transfer of 100 points dragged from it onto the point
// list of a file of 150. Each is run many times in a shown main
// window on the import screen; the median and the slowest run are printed in milliseconds
// (target: under 16 ms each). Not a test: nothing is judged.
//   wine import_bench.exe [runs]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/bench/bench_session.h"
#include "framework/testing/bench_support.h"
#include "framework/text_encoding.h"
#include "framework/win32_file_store.h"
#include "import/foreign_points.h"
#include "pointfile/testing/recording_message_sink.h"
#include "resources/resource.h"

namespace {

// The points of BenchPoints(count), written to `dir`; the file's path.
std::wstring WritePoints(const TempDirectory& dir, const std::string& name, int count) {
  const PointFile file = BenchPoints(count);
  const auto& image = file.Image();
  WriteFileBytes(dir.File(name), std::vector<unsigned char>(image.begin(), image.end()));
  return WidenText(dir.File(name));
}

// 250 places in a GPX, each in the band of latitude of BenchPoints' place but 1 km east of
// it and named otherwise: no duplicate of any, so the rule measures every pair of the band.
std::string GpxText() {
  std::string gpx = R"(<?xml version="1.0" encoding="UTF-8"?>)"
                    R"(<gpx version="1.1" creator="bench" xmlns="http://www.topografix.com/GPX/1/1">)";
  for (int i = 0; i < kSlotCount; ++i)
    gpx += R"(<wpt lat="35.681181" lon="139.778"><name>GPX place )" + std::to_string(i) + "</name></wpt>";
  gpx += "</gpx>";
  return gpx;
}

}  // namespace

int main(int argc, char** argv) {
  BenchSession session(argc, argv);
  if (!session.Start()) return 1;
  const int runs = session.runs;
  MainDialog& window = session.window;
  window.Send(WM_COMMAND, MAKEWPARAM(IDM_VIEW_IMPORT_SCREEN, 0), 0);
  ImportListView& importList = window.Import().ImportList();
  PointListView& pointList = window.PointList();
  const std::wstring source = WritePoints(session.dir, "source.pnt", kSlotCount);
  const std::wstring open = WritePoints(session.dir, "open.pnt", 150);
  const std::wstring empty = WritePoints(session.dir, "empty.pnt", 0);

  // Over the rows of the last source, and into an empty list (whose scroll bar appears).
  HDROP drop = nullptr;
  ReportTimes("load a 250-point source file", runs, [&] { drop = MakeDrop({source}); },
              [&] { importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(drop)); });
  ReportTimes("  the same into an empty list", runs, [&] {
    importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({empty})));
    drop = MakeDrop({source});
  }, [&] { importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(drop)); });
  PointFile scratch;
  Win32FileStore files;
  RecordingMessageSink messages;
  ReportTimes("  of which the file read", runs, [] {},
              [&] { scratch.LoadFile(NarrowText(source), files, messages); });
  ReportTimes("  of which the rows (no repaint)", runs, [] {}, [&] {
    ListRedrawPause pause(importList);
    importList.DeleteAllItems();
    for (int i = 0; i < kSlotCount; ++i) importList.InsertRow(PointTextRow::FromSlot(scratch, i), i);
  });

  // The preview: beside a full open file, a 250-point source as a point file (the reference)
  // and as a GPX, each read, listed and judged.
  const std::wstring full = WritePoints(session.dir, "full.pnt", kSlotCount);
  const std::string gpxText = GpxText();
  WriteFileBytes(session.dir.File("source.gpx"), std::vector<unsigned char>(gpxText.begin(), gpxText.end()));
  const std::wstring gpx = WidenText(session.dir.File("source.gpx"));
  window.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({full})));
  ReportTimes("load a 250-point source file beside a full open file", runs, [&] { drop = MakeDrop({source}); },
              [&] { importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(drop)); });
  ReportTimes("load a 250-point GPX beside a full open file", runs, [&] { drop = MakeDrop({gpx}); },
              [&] { importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(drop)); });
  // The two in turn, each over the other's rows: the difference run by run, which the load
  // of a shared machine disturbs less than two medians apart.
  std::vector<double> more;
  for (int run = 0; run < runs; ++run) {
    const HDROP pointFile = MakeDrop({source}), gpxFile = MakeDrop({gpx});
    const double start = NowMilliseconds();
    importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(pointFile));
    const double between = NowMilliseconds();
    importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(gpxFile));
    more.push_back(NowMilliseconds() - between - (between - start));
  }
  PrintTimes("  the GPX less the point file, in turn", more);
  ReportTimes("  of which the GPX read into slots", runs, [] {},
              [&] { ReadForeignPoints(Format::kGpx, gpxText, false, scratch); });
  ReportTimes("  of which the judgement", runs, [] {}, [&] { importList.JudgeAgainst(window.Points()); });
  std::printf("%s\n", importList.SummaryText().c_str());

  // The 150-point file afresh each run, the first 100 source rows selected, and row 75 of
  // the point list in view; then the drag as the list sees it, released on that row.
  importList.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({source})));
  POINT at{};
  ReportTimes("transfer 100 points into 150", runs, [&] {
    window.Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({open})));
    session.prompts.QueueAnswer(IDYES);  // the rows are the open file's points: take them all the same
    importList.SetItemState(-1, 0, LVIS_SELECTED);
    for (int i = 0; i < 100; ++i) importList.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    pointList.EnsureVisible(75, false);
    RECT row{};
    pointList.GetItemRect(75, row);
    at = importList.ScreenToClient(pointList.ClientToScreen({pointList.ClientRect().right / 2, (row.top + row.bottom) / 2}));
  }, [&] {
    NMLISTVIEW begin{};
    begin.hdr = {importList.Handle(), IDC_IMPORT_LIST, static_cast<UINT>(LVN_BEGINDRAG)};
    window.Send(WM_NOTIFY, IDC_IMPORT_LIST, reinterpret_cast<LPARAM>(&begin));
    importList.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    importList.Send(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  });
  // Each run's preparation opens the 150 points again; the last run's copies remain.
  std::printf("points at the end: %d, rows: %d, source rows: %d\n", window.Points().GetPointCount(),
              pointList.GetItemCount(), importList.GetItemCount());
  window.Destroy();
  return 0;
}
