// Quorvin2.exe: the map helper the editor starts beside itself. Its window shows at once
// and the message loop starts: the editor waits for this program's first idle before it
// sends anything.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <span>
#include <string>

#include "quorvin/base_map.h"
#include "quorvin/datum_setting.h"
#include "quorvin/quorvin_resource.h"
#include "quorvin/quorvin_window.h"

namespace {

// The base map built into the program; nothing when the resource is missing or damaged
// (the map then shows sea and grid only).
std::optional<BaseMap> LoadBaseMap() {
  const HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_BASE_MAP), MAKEINTRESOURCEW(10));  // RT_RCDATA
  const HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  std::string error;
  return BaseMap::Parse(std::span(static_cast<const std::uint8_t*>(bytes), ::SizeofResource(nullptr, found)), error);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  const std::optional<BaseMap> baseMap = LoadBaseMap();
  RegistryDatumSetting datumSetting;
  QuorvinWindow window(baseMap ? &*baseMap : nullptr, datumSetting);
  if (!window.Create()) return 1;
  window.SetQuitOnDestroy(true);
  window.Show(showCommand);
  window.Update();
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
