// The values of the map-object key, SOFTWARE\Brannock\<key word>: the chosen name
// ("MapObject"), the number of names ("o-cnt") and the names ("MapObject00" ...).
//
// They live under HKEY_LOCAL_MACHINE. Without administrator rights current Windows refuses
// to open that key for writing, and every change would be lost; the values are then kept
// in the same key under HKEY_CURRENT_USER, which starts as a copy of what the machine's key
// holds, so that a list an administrator set up is still there. Failures are silent:
// what cannot be read reads as empty or 0, and what cannot be written is lost.
#pragma once

#include <cstdint>
#include <string>

#include "registry/registry.h"

class MapObjectStore {
 public:
  explicit MapObjectStore(Registry& registry) : m_registry(&registry) {}
  void UseRegistry(Registry& registry) { m_registry = &registry; }
  void SetKeyName(const std::string& keyName) { m_keyName = keyName; }
  const std::string& KeyName() const { return m_keyName; }
  // "SOFTWARE\Brannock\" and the key word.
  std::string KeyPath() const;

  std::string ReadString(const std::string& value) const;
  void WriteString(const std::string& value, const std::string& text) const;
  std::uint32_t ReadDword(const std::string& value) const;
  void WriteDword(const std::string& value, std::uint32_t number) const;
  void DeleteValue(const std::string& value) const;

 private:
  // Where values are read: the machine's key when it can be written, otherwise the user's
  // copy once there is one, otherwise the machine's key as it stands.
  RegistryRoot ReadRoot() const;
  // Where values are written; makes the user's copy when it is first needed.
  RegistryRoot WriteRoot() const;
  void CopyMachineValuesToUser() const;

  Registry* m_registry;
  std::string m_keyName;
};
