#include "registry/datum_setting.h"

namespace {
constexpr char kValue[] = "Datum";
}  // namespace

ExchangeDatum DatumSetting::Load() const {
  return m_registry->ReadDword(RegistryRoot::kCurrentUser, kHelperSettingsKey, kValue) == 1u ? ExchangeDatum::kTokyo
                                                                                : ExchangeDatum::kWgs84;
}

void DatumSetting::Save(ExchangeDatum datum) {
  m_registry->WriteDword(RegistryRoot::kCurrentUser, kHelperSettingsKey, kValue, datum == ExchangeDatum::kTokyo ? 1 : 0);
}
