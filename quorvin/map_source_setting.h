// The map the user chose in the 地図 menu and the tile cache's cap, kept per user beside the
// datum: HKEY_CURRENT_USER\Software\Ostrel\Quorvin, values "MapSource" (REG_SZ: "std",
// "pale", "seamlessphoto", "builtin", or "object" for the source the editor's map-object
// name gives) and "TileCacheMegabytes" (REG_DWORD). Missing or unreadable values read as
// no choice (the map-object name's source, else the built-in map) and 500 MB.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "registry/registry.h"

class MapSourceSetting {
 public:
  static constexpr char kObjectChoice[] = "object";
  static constexpr char kBuiltInChoice[] = "builtin";
  static constexpr std::uint32_t kDefaultCapMegabytes = 500;

  explicit MapSourceSetting(Registry& registry) : m_registry(registry) {}
  std::optional<std::string> LoadChoice() const;
  void SaveChoice(const std::string& choice);
  std::uint32_t LoadCapMegabytes() const;
  void SaveCapMegabytes(std::uint32_t megabytes);

 private:
  Registry& m_registry;
};
