#include "quorvin/map_source_setting.h"

#include "registry/datum_setting.h"

namespace {
constexpr char kChoiceValue[] = "MapSource";
constexpr char kCapValue[] = "TileCacheMegabytes";
}  // namespace

std::optional<std::string> MapSourceSetting::LoadChoice() const {
  return m_registry.ReadString(RegistryRoot::kCurrentUser, kHelperSettingsKey, kChoiceValue);
}

void MapSourceSetting::SaveChoice(const std::string& choice) {
  m_registry.WriteString(RegistryRoot::kCurrentUser, kHelperSettingsKey, kChoiceValue, choice);
}

std::uint32_t MapSourceSetting::LoadCapMegabytes() const {
  const std::optional<std::uint32_t> megabytes =
      m_registry.ReadDword(RegistryRoot::kCurrentUser, kHelperSettingsKey, kCapValue);
  return megabytes && *megabytes > 0 ? *megabytes : kDefaultCapMegabytes;
}

void MapSourceSetting::SaveCapMegabytes(std::uint32_t megabytes) {
  m_registry.WriteDword(RegistryRoot::kCurrentUser, kHelperSettingsKey, kCapValue, megabytes);
}
