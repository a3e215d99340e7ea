// Repaint figures of the helper's map, in-process: the window is sent 250 points the way
// the editor sends them, then repainted in full (InvalidateRect + UpdateWindow: WM_PAINT,
// the map drawn off-screen and copied to the window) many times, at three views: all of
// Japan (the whole base map in view), a region, and a city.
//   wine repaint_bench.exe [repaints per view]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/testing/bench_support.h"
#include "framework/testing/gui_test_support.h"
#include "registry/testing/memory_registry.h"
#include "quorvin/built_in_map.h"
#include "quorvin/quorvin_window.h"
#include "quorvin/tests/editor_posts.h"
#include "quorvin/winhttp_fetcher.h"

int main(int argc, char** argv) {
  const int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  const std::optional<BaseMap> baseMap = LoadBuiltInBaseMap();
  MemoryRegistry registry;
  DatumSetting setting(registry);
  MapSourceSetting sourceSetting(registry);
  WinHttpFetcher fetcher;
  const SystemClock clock;
  TempDirectory cache;
  QuorvinWindow window(baseMap ? &*baseMap : nullptr, setting, sourceSetting, {fetcher, clock, cache.WidePath()});
  if (!baseMap || !window.Create()) return 1;
  window.Move(0, 0, 1000, 760);
  window.Show(SW_SHOWNORMAL);
  PumpMessages();

  // 250 points over Japan, with names of a typical length, posted as the editor posts them.
  const EditorLink link;
  auto send = [&](MapMessage command, const std::string& text) { PostTextCommand(window, link, command, text); };
  send(MapMessage::kDeleteText, "");
  for (int i = 0; i < 250; ++i) {
    const ArcMillis latitude = RoundToArcMillis(31.5 + (i / 25) * 1.2 + (i % 7) * 0.05);
    const ArcMillis longitude = RoundToArcMillis(130.5 + (i % 25) * 0.6);
    send(MapMessage::kAddTextEx, FormatHelperCoordinate(latitude) + "," + FormatHelperCoordinate(longitude) +
                                     ",登録地点" + std::to_string(i + 1) + " 駅前");
    if (i % 20 == 19) PumpMessages();
  }
  PumpMessages();
  if (window.Session().Texts().size() != 250) {
    std::fprintf(stderr, "the window took %zu points, not 250\n", window.Session().Texts().size());
    return 1;
  }

  auto measure = [&](const char* what) {
    ReportTimes(what, repaints, [] {}, [&] {
      window.Invalidate(false);
      window.Update();
    });
  };
  std::printf("zoom %d: ", window.View().Zoom());
  measure("all of Japan, 250 points");
  window.Send(WM_CHAR, '+');
  window.Send(WM_CHAR, '+');
  std::printf("zoom %d: ", window.View().Zoom());
  measure("a region");
  for (int i = 0; i < 5; ++i) window.Send(WM_CHAR, '+');
  std::printf("zoom %d: ", window.View().Zoom());
  measure("a city");
  return 0;
}
