// Figures of the helper's web tiles, in-process against a tile server on the loopback
// address (generated 256 x 256 PNG tiles), with 250 points of names of the greatest length:
//   - full repaints with a screen of cached tiles under the points, beside the same
//     repaints with the built-in map alone;
//   - a fetch of 100 tiles: the longest time one message took the window's thread, and the
//     time from the server's sending the first tile to the first paint that shows it;
//   - the process's working set while panning across 1,000 tiles.
//   wine web_tiles_bench.exe [repaints]
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/testing/bench_support.h"
#include "framework/testing/gui_test_support.h"
#include "quorvin/built_in_map.h"
#include "quorvin/quorvin_resource.h"
#include "quorvin/quorvin_window.h"
#include "quorvin/tests/editor_posts.h"
#include "quorvin/tests/tile_server.h"
#include "registry/testing/memory_registry.h"

namespace {

// The working set: Wine leaves the private-usage count at zero.
std::size_t MemoryBytes() {
  PROCESS_MEMORY_COUNTERS counters{sizeof counters};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

UINT longestMessage = 0;

// Runs the window's messages until `done` holds or `limitMs` passed; returns the longest
// time one message took, and calls `afterPaint` after each WM_PAINT.
template <class Done, class AfterPaint>
double RunMessages(Done done, AfterPaint afterPaint, double limitMs) {
  double longest = 0;
  const double end = NowMilliseconds() + limitMs;
  while (!done() && NowMilliseconds() < end) {
    MSG message;
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      continue;
    }
    const double start = NowMilliseconds();
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    if (NowMilliseconds() - start > longest) {
      longest = NowMilliseconds() - start;
      longestMessage = message.message;
    }
    if (message.message == WM_PAINT) afterPaint();
  }
  return longest;
}

}  // namespace

int main(int argc, char** argv) {
  const int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  TileServer server;
  const std::optional<BaseMap> baseMap = LoadBuiltInBaseMap();
  MemoryRegistry registry;
  DatumSetting setting(registry);
  MapSourceSetting sourceSetting(registry);
  LoopbackFetcher fetcher(5000);
  const SystemClock clock;
  TempDirectory cache;
  QuorvinWindow window(baseMap ? &*baseMap : nullptr, setting, sourceSetting, {fetcher, clock, cache.WidePath()});
  if (!server.Running() || !baseMap || !window.Create()) return 1;
  window.Move(0, 0, 1000, 760);
  window.Show(SW_SHOWNORMAL);
  PumpMessages();

  // 250 points around Tokyo with names of 19 double-byte characters, as the editor posts them.
  const EditorLink link;
  auto send = [&](MapMessage command, const std::string& text) { PostTextCommand(window, link, command, text); };
  for (int i = 0; i < 250; ++i) {
    const ArcMillis latitude = RoundToArcMillis(35.64 + (i / 25) * 0.008);
    const ArcMillis longitude = RoundToArcMillis(139.68 + (i % 25) * 0.006);
    send(MapMessage::kAddTextEx, FormatHelperCoordinate(latitude) + "," + FormatHelperCoordinate(longitude) +
                                     ",東京都千代田区丸の内一丁目九番一号東京");
    if (i % 20 == 19) PumpMessages();
  }
  PumpMessages();
  window.Update();
  const TileRange view = VisibleTiles(window.View(), window.View().Zoom());
  std::printf("zoom %d, %llu tiles in view, %zu points\n", window.View().Zoom(),
              static_cast<unsigned long long>(view.Count()), window.Session().Texts().size());

  auto measure = [&](const char* what) {
    ReportTimes(what, repaints, [] {}, [&] {
      window.Invalidate(false);
      window.Update();
    });
  };
  measure("repaint, built-in map and 250 points (reference)");

  send(MapMessage::kObjectName, server.Template("tile"));
  double firstSent = 0, firstPainted = 0;
  const double fetchLongest = RunMessages(
      [&] { return window.WebTiles() && window.WebTiles()->KeptCount() >= view.Count(); },
      [&] {
        if (firstPainted == 0 && window.WebTiles() && window.WebTiles()->KeptCount() > 0) {
          firstPainted = NowMilliseconds();
          firstSent = server.TakeFirstTileSentAt();
        }
      },
      20000);
  std::printf("first tile: sent by the server to painted: %.2f ms\n", firstPainted - firstSent);
  std::printf("fetching a screen of tiles: longest message %.2f ms (0x%04x)\n", fetchLongest, longestMessage);
  measure("repaint, a screen of cached tiles and 250 points");

  // 100 more tiles fetched while the window pans: the longest message meanwhile.
  double panLongest = 0;
  const int requestsBefore = server.Requests();
  for (int step = 0; step < 80 && server.Requests() - requestsBefore < 100; ++step) {
    window.Post(WM_KEYDOWN, VK_RIGHT);
    panLongest = std::max(panLongest, RunMessages([] { return false; }, [] {}, 60));
  }
  panLongest = std::max(panLongest, RunMessages([] { return false; }, [] {}, 500));
  std::printf("fetching %d tiles while panning: longest message %.2f ms (0x%04x)\n",
              server.Requests() - requestsBefore, panLongest, longestMessage);

  // Across 1,000 tiles: the working set at its highest.
  const std::size_t before = MemoryBytes();
  std::size_t highest = before;
  const int requestsAtStart = server.Requests();
  for (int step = 0; step < 800 && server.Requests() - requestsAtStart < 1000; ++step) {
    window.Post(WM_KEYDOWN, step % 60 < 30 ? VK_DOWN : VK_RIGHT);
    RunMessages([] { return false; }, [] {}, 40);
    highest = std::max(highest, MemoryBytes());
  }
  std::printf("panning across %d tiles: working set %.1f MB at start, %.1f MB at most, %zu tiles kept\n",
              server.Requests() - requestsAtStart, before / 1048576.0, highest / 1048576.0,
              window.WebTiles()->KeptCount());
  return 0;
}
