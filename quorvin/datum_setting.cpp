#include "quorvin/datum_setting.h"

#include <windows.h>

namespace {
constexpr wchar_t kKey[] = L"Software\\Ostrel\\Quorvin";
constexpr wchar_t kValue[] = L"Datum";
}  // namespace

ExchangeDatum RegistryDatumSetting::Load() const {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return ExchangeDatum::kWgs84;
  return value == 1 ? ExchangeDatum::kTokyo : ExchangeDatum::kWgs84;
}

void RegistryDatumSetting::Save(ExchangeDatum datum) {
  HKEY key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  const DWORD value = datum == ExchangeDatum::kTokyo ? 1 : 0;
  ::RegSetValueExW(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  ::RegCloseKey(key);
}
