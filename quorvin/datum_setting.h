// Which datum the helper exchanges coordinates in, kept per user. Behind an interface so
// tests keep it in memory instead of in the registry.
#pragma once

enum class ExchangeDatum { kWgs84, kTokyo };

class DatumSetting {
 public:
  virtual ~DatumSetting() = default;
  virtual ExchangeDatum Load() const = 0;
  virtual void Save(ExchangeDatum datum) = 0;
};

// HKEY_CURRENT_USER\Software\Ostrel\Quorvin, value "Datum" (REG_DWORD: 0 WGS 84, 1 Tokyo).
// A missing or unreadable value reads as WGS 84; a failed write goes unreported, as the
// choice still holds for this session.
class RegistryDatumSetting : public DatumSetting {
 public:
  ExchangeDatum Load() const override;
  void Save(ExchangeDatum datum) override;
};
