#include "maplink/map_object_store.h"

#include <optional>

#include "maplink/helper_protocol.h"
#include "maplink/map_object_list.h"

std::string MapObjectStore::KeyPath() const { return kMapObjectKeyParent + m_keyName; }

RegistryRoot MapObjectStore::ReadRoot() const {
  if (m_registry->OpenForWriting(RegistryRoot::kLocalMachine, KeyPath())) return RegistryRoot::kLocalMachine;
  return m_registry->KeyExists(RegistryRoot::kCurrentUser, KeyPath()) ? RegistryRoot::kCurrentUser
                                                                       : RegistryRoot::kLocalMachine;
}

RegistryRoot MapObjectStore::WriteRoot() const {
  if (m_registry->OpenForWriting(RegistryRoot::kLocalMachine, KeyPath())) return RegistryRoot::kLocalMachine;
  if (!m_registry->KeyExists(RegistryRoot::kCurrentUser, KeyPath())) CopyMachineValuesToUser();
  return RegistryRoot::kCurrentUser;
}

void MapObjectStore::CopyMachineValuesToUser() const {
  const std::string path = KeyPath();
  if (!m_registry->OpenForWriting(RegistryRoot::kCurrentUser, path)) return;
  const auto copyString = [&](const std::string& name) {
    if (std::optional<std::string> text = m_registry->ReadString(RegistryRoot::kLocalMachine, path, name))
      m_registry->WriteString(RegistryRoot::kCurrentUser, path, name, *text);
  };
  copyString(kChosenMapObjectValue);
  for (int i = 0; i < kMaxMapObjects; ++i) copyString(MapObjectValueName(i));
  if (std::optional<std::uint32_t> count = m_registry->ReadDword(RegistryRoot::kLocalMachine, path, kMapObjectCountValue))
    m_registry->WriteDword(RegistryRoot::kCurrentUser, path, kMapObjectCountValue, *count);
}

std::string MapObjectStore::ReadString(const std::string& value) const {
  return m_registry->ReadString(ReadRoot(), KeyPath(), value).value_or(std::string());
}

void MapObjectStore::WriteString(const std::string& value, const std::string& text) const {
  m_registry->WriteString(WriteRoot(), KeyPath(), value, text);
}

std::uint32_t MapObjectStore::ReadDword(const std::string& value) const {
  return m_registry->ReadDword(ReadRoot(), KeyPath(), value).value_or(0);
}

void MapObjectStore::WriteDword(const std::string& value, std::uint32_t number) const {
  m_registry->WriteDword(WriteRoot(), KeyPath(), value, number);
}

void MapObjectStore::DeleteValue(const std::string& value) const {
  m_registry->DeleteValue(WriteRoot(), KeyPath(), value);
}
