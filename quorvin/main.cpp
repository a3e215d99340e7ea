// Quorvin2.exe: the map helper the editor starts beside itself. Its window shows at once
// and the message loop starts: the editor waits for this program's first idle before it
// sends anything.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "quorvin/built_in_map.h"
#include "registry/win32_registry.h"
#include "registry/datum_setting.h"
#include "quorvin/quorvin_window.h"
#include "quorvin/winhttp_fetcher.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  const std::optional<BaseMap> baseMap = LoadBuiltInBaseMap();
  DatumSetting datumSetting(SystemRegistry());
  MapSourceSetting sourceSetting(SystemRegistry());
  WinHttpFetcher fetcher;
  const SystemClock clock;
  QuorvinWindow window(baseMap ? &*baseMap : nullptr, datumSetting, sourceSetting,
                       {fetcher, clock, DefaultTileCacheRoot()});
  if (!window.Create()) return 1;
  window.SetQuitOnDestroy(true);
  window.Show(showCommand);
  window.Update();
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.TranslateDialogMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
