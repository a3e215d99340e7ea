// Which datum the helper exchanges coordinates in, and so the unit's datum the editor converts
// imported points to (both programs' 地図 menus choose it), kept per user in the registry:
// HKEY_CURRENT_USER\Software\Ostrel\Quorvin, value "Datum" (REG_DWORD: 0 WGS 84, 1 Tokyo).
// A missing or unreadable value reads as WGS 84; a failed write goes unreported, as the
// choice still holds for this session. Tests hand it a registry held in memory.
#pragma once

#include "registry/registry.h"

// The helper's key under HKEY_CURRENT_USER, shared with its other settings.
inline constexpr char kHelperSettingsKey[] = "Software\\Ostrel\\Quorvin";

enum class ExchangeDatum { kWgs84, kTokyo };

class DatumSetting {
 public:
  explicit DatumSetting(Registry& registry) : m_registry(&registry) {}
  // Tests of a window that keeps its own setting hand it a registry held in memory.
  void UseRegistry(Registry& registry) { m_registry = &registry; }
  ExchangeDatum Load() const;
  void Save(ExchangeDatum datum);

 private:
  Registry* m_registry;
};
