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
#include <vector>

#include "quorvin/built_in_map.h"
#include "quorvin/quorvin_window.h"

namespace {

class MemoryDatumSetting : public DatumSetting {
 public:
  ExchangeDatum Load() const override { return ExchangeDatum::kWgs84; }
  void Save(ExchangeDatum) override {}
};

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void Report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-28s median %6.2f ms   min %6.2f   max %6.2f   (%zu repaints)\n", what, times[times.size() / 2],
              times.front(), times.back(), times.size());
}

}  // namespace

int main(int argc, char** argv) {
  const int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  const std::optional<BaseMap> baseMap = LoadBuiltInBaseMap();
  MemoryDatumSetting setting;
  QuorvinWindow window(baseMap ? &*baseMap : nullptr, setting);
  if (!baseMap || !window.Create()) return 1;
  window.Move(0, 0, 1000, 760);
  window.Show(SW_SHOWNORMAL);
  Pump();

  // 250 points over Japan, with names of a typical length, posted as the editor posts them.
  const EditorLink link;
  auto send = [&](MapMessage command, const std::string& text) {
    for (const TextStep& step : EncodeTextCommand(command, text))
      ::PostMessageW(window, link.CommandMessage(), link.Id(step.subCommand), step.lParam);
  };
  send(MapMessage::kDeleteText, "");
  for (int i = 0; i < 250; ++i) {
    const ArcMillis latitude = RoundToArcMillis(31.5 + (i / 25) * 1.2 + (i % 7) * 0.05);
    const ArcMillis longitude = RoundToArcMillis(130.5 + (i % 25) * 0.6);
    send(MapMessage::kAddTextEx, FormatHelperCoordinate(latitude) + "," + FormatHelperCoordinate(longitude) +
                                     ",登録地点" + std::to_string(i + 1) + " 駅前");
    if (i % 20 == 19) Pump();
  }
  Pump();
  if (window.Session().Texts().size() != 250) {
    std::fprintf(stderr, "the window took %zu points, not 250\n", window.Session().Texts().size());
    return 1;
  }

  auto measure = [&](const char* what) {
    std::vector<double> times;
    for (int i = 0; i < repaints; ++i) {
      const double start = Now();
      window.Invalidate(false);
      window.Update();
      times.push_back(Now() - start);
    }
    Report(what, times);
  };
  std::printf("zoom %d: ", window.View().Zoom());
  measure("all of Japan, 250 points");
  const ScreenPoint centre{window.View().Width() / 2.0, window.View().Height() / 2.0};
  window.Send(WM_CHAR, '+');
  window.Send(WM_CHAR, '+');
  std::printf("zoom %d: ", window.View().Zoom());
  measure("a region");
  for (int i = 0; i < 5; ++i) window.Send(WM_CHAR, '+');
  std::printf("zoom %d: ", window.View().Zoom());
  measure("a city");
  (void)centre;
  return 0;
}
