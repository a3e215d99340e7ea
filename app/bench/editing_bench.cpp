// In-process figures for the editing workflow under Wine, on a full point file: filling
// the list, one drag move, one add and one delete, undo and redo of a delete, a sort by a
// header click, a find keystroke and a paste of 250 lines, each run many times in a shown main window; the median and the slowest run are printed in milliseconds (target: under 16 ms
// each). Not a test: nothing is judged.
//
// The add is timed as the user meets it: from OK pressed in the edit dialog (shown, and
// idle, with the new point typed in) to the list painted with the new row. The dialog's own
// creation, from the command to its first idle, is compared with template 153 shown by a
// dialog procedure that does nothing, in turn, in the same run (target: 1.2 at most).
// "Idle" is the owner's WM_ENTERIDLE: the modal loop has nothing left to do.
//   scripts/wine-run.sh build/windows/app/bench/editing_bench.exe [runs]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/bench/bench_session.h"
#include "app/bench/do_nothing_dialog.h"
#include "framework/dialog_init_hooks.h"
#include "framework/testing/bench_support.h"
#include "import/clipboard_points.h"
#include "resources/resource.h"

namespace {

// The first WM_ENTERIDLE a modal dialog sends its owner, caught by subclassing the owner:
// the action gets the dialog, once.
std::function<void(HWND)> g_onDialogIdle;
WNDPROC g_ownerProc = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_onDialogIdle) {
    auto action = std::exchange(g_onDialogIdle, nullptr);
    action(reinterpret_cast<HWND>(lParam));
  }
  return ::CallWindowProcW(g_ownerProc, hwnd, message, wParam, lParam);
}

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
  g_ownerProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc)));
  // The row the new point goes before: one in the middle of the rows in view, as a user
  // picks it, so that the rows below it move down a place.
  auto selectRow = [&] {
    if (window.Points().GetPointCount() == kSlotCount) command(IDC_DELETE_POINT);  // the point added last
    list.EnsureVisible(100, false);
    const int top = static_cast<int>(list.Send(LVM_GETTOPINDEX));
    SelectOnly(list, top + static_cast<int>(list.Send(LVM_GETCOUNTPERPAGE)) / 2);
  };
  double start = 0;
  auto sinceStart = [&] { return NowMilliseconds() - start; };

  // The dialog's creation against the bare template, in turn.
  std::vector<double> dialogTimes, templateTimes, ratios;
  for (int i = 0; i < runs; ++i) {
    double created = 0, shown = 0;
    selectRow();
    PumpMessages();
    g_onDialogIdle = [&](HWND dialog) {
      created = sinceStart();
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    start = NowMilliseconds();
    command(IDC_ADD_POINT);
    PumpMessages();
    g_onDialogIdle = [&](HWND dialog) {
      shown = sinceStart();
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    start = NowMilliseconds();
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_POINT_EDIT), window.Handle(),
                      &DoNothingDialogProc, 0);
    PumpMessages();
    dialogTimes.push_back(created);
    templateTimes.push_back(shown);
    ratios.push_back(created / shown);
  }
  PrintTimes("the edit dialog, to its first idle", dialogTimes);
  PrintTimes("  template 153 with no program code", templateTimes);
  std::printf("  ratio of the medians %.2f, median of the runs' ratios %.2f\n",
              MedianOf(dialogTimes) / MedianOf(templateTimes), MedianOf(ratios));

  // The add from OK: the point is typed into the idle dialog, then OK is pressed.
  PrintTimes("one add, OK pressed to list painted", MeasureTimes(runs, selectRow, [&] {
               g_onDialogIdle = [&](HWND dialog) {
                 ::SetDlgItemTextW(dialog, IDC_POINT_NAME, L"Tokyo Tower");
                 ::SetDlgItemTextW(dialog, IDC_POINT_LONGITUDE, L"139/44/43.000");
                 ::SetDlgItemTextW(dialog, IDC_POINT_LATITUDE, L"35/39/31.000");
                 start = NowMilliseconds();
                 ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
               };
               command(IDC_ADD_POINT);
               return sinceStart();
             }));
  ::SetWindowLongPtrW(window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownerProc));

  // From here the dialog is filled and confirmed as it initialises.
  ScopedDialogInitHook typing(IDD_POINT_EDIT, [](Dialog& d) {
    d.SetItemText(IDC_POINT_NAME, "Tokyo Tower");
    d.SetItemText(IDC_POINT_LONGITUDE, "139/44/43.000");
    d.SetItemText(IDC_POINT_LATITUDE, "35/39/31.000");
    d.PostCommand(IDOK);
  });
  ReportTimes("one delete, 250->249", runs, [&] {
    if (window.Points().GetPointCount() < kSlotCount) command(IDC_ADD_POINT);
    SelectOnly(list, 100);
  }, [&] { command(IDC_DELETE_POINT); });

  // Undo and redo of a delete on the full file, command to list painted, against a plain
  // delete measured in turn in the same run (target: under 16 ms each).
  std::vector<double> deletes, undos, redos;
  auto painted = [&](int id) {
    const double begin = NowMilliseconds();
    command(id);
    list.Update();
    return NowMilliseconds() - begin;
  };
  while (window.Points().GetPointCount() < kSlotCount) command(IDC_ADD_POINT);
  for (int i = 0; i < runs; ++i) {
    PumpMessages();
    SelectOnly(list, 100);
    PumpMessages();
    deletes.push_back(painted(IDC_DELETE_POINT));
    PumpMessages();
    undos.push_back(painted(ID_EDIT_UNDO));
    PumpMessages();
    redos.push_back(painted(ID_EDIT_REDO));
    PumpMessages();
    command(ID_EDIT_UNDO);
  }
  PrintTimes("a plain delete, to list painted", deletes);
  PrintTimes("undo of a delete, to list painted", undos);
  PrintTimes("redo of a delete, to list painted", redos);
  std::printf("  undo / delete %.2f, redo / delete %.2f (medians)\n", MedianOf(undos) / MedianOf(deletes),
              MedianOf(redos) / MedianOf(deletes));

  // A header click sorting 250 points, to list painted, against the list's fill in turn.
  std::vector<double> sorts, fills;
  for (int i = 0; i < runs; ++i) {
    PumpMessages();
    NMLISTVIEW click{};
    click.hdr = {list.Handle(), IDC_POINT_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = 1;
    double begin = NowMilliseconds();
    window.Send(WM_NOTIFY, IDC_POINT_LIST, reinterpret_cast<LPARAM>(&click));
    list.Update();
    sorts.push_back(NowMilliseconds() - begin);
    PumpMessages();
    begin = NowMilliseconds();
    window.FillPointList();
    fills.push_back(NowMilliseconds() - begin);
  }
  PrintTimes("a sort by a header click, painted", sorts);
  PrintTimes("  the list's fill", fills);
  std::printf("  sort / fill %.2f (medians)\n", MedianOf(sorts) / MedianOf(fills));

  // One keystroke in the find box over 250 points: the rows found selected and painted.
  command(ID_EDIT_FIND);
  bool longer = false;
  ReportTimes("a find keystroke, rows painted", runs, [] {}, [&] {
    window.Finder().SetItemText(IDC_FIND_TEXT, longer ? "駅 12" : "駅 1");
    list.Update();
    longer = !longer;
  });
  std::printf("history: %zu steps, %zu bytes\n", window.History().Steps().StepCount(),
              window.History().Steps().MemoryBytes());

  // Each run's preparation adds or deletes the other way; the counts must still agree.
  std::printf("points at the end: %d, rows: %d\n", window.Points().GetPointCount(), list.GetItemCount());

  // A paste of 250 lines into an empty file, from the text as the clipboard gave it to the
  // list painted, against opening a file of 250 points to its list painted, in turn in the
  // same run; and the text to the points in the file alone (target: under 16 ms). The lines are the forms users
  // copy: coordinates with a name, DMS with hemisphere letters, map links with a place.
  std::string pasted;
  for (int i = 0; i < kSlotCount; ++i) {
    char line[320];
    const double latitude = 33.5 + i * 0.0123457, longitude = 130.4 + i * 0.0345679;
    if (i % 3 == 0) {
      std::snprintf(line, sizeof line, "Place %d, %.6f, %.6f\r\n", i, latitude, longitude);
    } else if (i % 3 == 1) {
      const int lat = static_cast<int>(latitude * 36000), lon = static_cast<int>(longitude * 36000);
      std::snprintf(line, sizeof line, "%d\xC2\xB0%02d'%04.1f\"N %d\xC2\xB0%02d'%04.1f\"E\r\n", lat / 36000,
                    lat / 600 % 60, lat % 600 / 10.0, lon / 36000, lon / 600 % 60, lon % 600 / 10.0);
    } else {
      std::snprintf(line, sizeof line,
                    "https://www.google.com/maps/place/%%E6%%9D%%B1%%E4%%BA%%AC%%E9%%A7%%85+%d/@%.7f,%.7f,17z/"
                    "data=!3m1!4b1!4m6!3m5!1s0x0:0x0!8m2!3d%.7f!4d%.7f\r\n",
                    i, latitude + 0.001, longitude - 0.002, latitude, longitude);
    }
    pasted += line;
  }
  session.prompts.QueueAnswer(IDNO);  // the changes above are not saved
  Open(window, dir, PointFile(), "empty.pnt");
  std::vector<double> pastes, loads;
  int pastedCount = 0;
  for (int i = 0; i < runs; ++i) {
    PumpMessages();
    double begin = NowMilliseconds();
    window.PastePoints(pasted);
    list.Update();
    pastes.push_back(NowMilliseconds() - begin);
    pastedCount = window.Points().GetPointCount();
    command(ID_EDIT_UNDO);  // the empty file as opened, unmodified again
    PumpMessages();
    begin = NowMilliseconds();
    Open(window, dir, BenchPoints(kSlotCount), "full.pnt");
    list.Update();
    loads.push_back(NowMilliseconds() - begin);
    Open(window, dir, PointFile(), "empty.pnt");
  }
  PrintTimes("a paste of 250 lines, to list painted", pastes);
  PrintTimes("  opening a 250-point file, to list painted", loads);
  std::printf("  paste / open %.2f (medians); %d points pasted, %zu messages\n", MedianOf(pastes) / MedianOf(loads),
              pastedCount, session.prompts.Messages().size());
  // The part the target is set for: from the text to the points in the file, without the list.
  ReportTimes("  of which the text to the points in the file", runs, [] {}, [&] {
    PointFile read, file;
    ReadPastedPoints(pasted, false, read);
    InsertPastedPoints(file, 0, read, kSlotCount);
  });
  window.Destroy();
  return 0;
}
