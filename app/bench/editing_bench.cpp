// In-process figures for the editing workflow under Wine, on a full point file: filling
// the list, one drag move, one add (through the edit dialog, pressed by a hook) and one
// delete. Each is run many times in a shown main window; the median and the slowest run
// are printed in milliseconds (target: under 16 ms each). Not a test: nothing is judged.
//   wine editing_bench.exe [runs]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/bench/bench_session.h"
#include "framework/dialog_init_hooks.h"
#include "framework/testing/bench_support.h"
#include "resources/resource.h"

namespace {

void Open(MainDialog& window, const TempDirectory& dir, const PointFile& file, const std::string& name) {
  const auto& image = file.Image();
  WriteFileBytes(dir.File(name), std::vector<unsigned char>(image.begin(), image.end()));
  window.Send(WM_DROPFILES,
              reinterpret_cast<WPARAM>(MakeDrop({dir.WidePath() + std::wstring(name.begin(), name.end())})));
}

void SelectOnly(PointListView& list, int row) {
  list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

POINT RowCentre(PointListView& list, int row) {
  list.EnsureVisible(row, false);
  RECT r{};
  list.GetItemRect(row, r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int main(int argc, char** argv) {
  BenchSession session(argc, argv);
  if (!session.Start()) return 1;
  const int runs = session.runs;
  const TempDirectory& dir = session.dir;
  MainDialog& window = session.window;
  PointListView& list = window.PointList();
  auto command = [&](int id) { window.Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };

  Open(window, dir, BenchPoints(kSlotCount), "full.pnt");
  ReportTimes("fill the list with 250 points", runs, [] {}, [&] { window.FillPointList(); });
  // The same without the final repaint: what the row messages alone cost.
  ReportTimes("  of which the rows (no repaint)", runs, [] {}, [&] {
    ListRedrawPause pause(list);
    list.DeleteAllItems();
    for (int i = 0; i < kSlotCount; ++i) list.InsertRow(PointTextRow::FromSlot(window.Points(), i), i);
  });
  PumpMessages();

  // Row 5 below row 15 and back, both in view as a user drags them; the file ends as it was.
  list.EnsureVisible(0, false);
  bool down = true;
  POINT at{};
  ReportTimes("one drag move, 250-point list", runs, [&] { at = RowCentre(list, down ? 16 : 5); }, [&] {
    NMLISTVIEW begin{};
    begin.hdr = {list.Handle(), IDC_POINT_LIST, static_cast<UINT>(LVN_BEGINDRAG)};
    begin.iItem = down ? 5 : 15;
    window.Send(WM_NOTIFY, IDC_POINT_LIST, reinterpret_cast<LPARAM>(&begin));
    list.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    list.Send(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    down = !down;
  });

  Open(window, dir, BenchPoints(kSlotCount - 1), "almost.pnt");
  {
    ScopedDialogInitHook cancel(IDD_POINT_EDIT, [](Dialog& d) { d.PostCommand(IDCANCEL); });
    ReportTimes("  the edit dialog alone (Cancel)", runs, [&] { SelectOnly(list, 100); },
           [&] { command(IDC_ADD_POINT); });
  }
  ScopedDialogInitHook typing(IDD_POINT_EDIT, [](Dialog& d) {
    d.SetItemText(IDC_POINT_NAME, "Tokyo Tower");
    d.SetItemText(IDC_POINT_LONGITUDE, "139/44/43.000");
    d.SetItemText(IDC_POINT_LATITUDE, "35/39/31.000");
    d.PostCommand(IDOK);
  });
  ReportTimes("one add (dialog included), 249->250", runs, [&] {
    if (window.Points().GetPointCount() == kSlotCount) {
      SelectOnly(list, 100);
      command(IDC_DELETE_POINT);
    }
    SelectOnly(list, 100);
  }, [&] { command(IDC_ADD_POINT); });
  ReportTimes("one delete, 250->249", runs, [&] {
    if (window.Points().GetPointCount() < kSlotCount) command(IDC_ADD_POINT);
    SelectOnly(list, 100);
  }, [&] { command(IDC_DELETE_POINT); });
  // Each run's preparation adds or deletes the other way; the counts must still agree.
  std::printf("points at the end: %d, rows: %d\n", window.Points().GetPointCount(), list.GetItemCount());
  window.Destroy();
  return 0;
}
