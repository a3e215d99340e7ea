#include "registry/testing/memory_registry.h"

void MemoryRegistry::Put(RegistryRoot root, const std::string& keyPath, const std::string& name, Value value) {
  m_keys[{root, keyPath}][name] = std::move(value);
}

const MemoryRegistry::Value* MemoryRegistry::Find(RegistryRoot root, const std::string& keyPath,
                                                  const std::string& name) const {
  const auto key = m_keys.find({root, keyPath});
  if (key == m_keys.end()) return nullptr;
  const auto value = key->second.find(name);
  return value == key->second.end() ? nullptr : &value->second;
}

std::map<std::string, MemoryRegistry::Value> MemoryRegistry::Values(RegistryRoot root,
                                                                    const std::string& keyPath) const {
  const auto key = m_keys.find({root, keyPath});
  return key == m_keys.end() ? std::map<std::string, Value>() : key->second;
}

bool MemoryRegistry::HasKey(RegistryRoot root, const std::string& keyPath) const {
  return m_keys.count({root, keyPath}) != 0;
}

bool MemoryRegistry::OpenForWriting(RegistryRoot root, const std::string& keyPath) {
  if (m_readOnly.count(root)) return false;
  m_keys[{root, keyPath}];
  return true;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& keyPath) {
  return !m_unreadable.count(root) && HasKey(root, keyPath);
}

const MemoryRegistry::Value* MemoryRegistry::Readable(RegistryRoot root, const std::string& keyPath,
                                                      const std::string& name, Type type) const {
  if (m_unreadable.count(root)) return nullptr;
  const Value* value = Find(root, keyPath, name);
  return value && value->type == type ? value : nullptr;
}

std::optional<std::string> MemoryRegistry::ReadString(RegistryRoot root, const std::string& keyPath,
                                                      const std::string& name) {
  const Value* value = Readable(root, keyPath, name, Type::kString);
  return value ? std::optional<std::string>(value->text) : std::nullopt;
}

std::optional<std::uint32_t> MemoryRegistry::ReadDword(RegistryRoot root, const std::string& keyPath,
                                                       const std::string& name) {
  const Value* value = Readable(root, keyPath, name, Type::kDword);
  return value ? std::optional<std::uint32_t>(value->number) : std::nullopt;
}

bool MemoryRegistry::WriteString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                                 const std::string& text) {
  if (!OpenForWriting(root, keyPath)) return false;
  Put(root, keyPath, name, {Type::kString, text, 0});
  return true;
}

bool MemoryRegistry::WriteDword(RegistryRoot root, const std::string& keyPath, const std::string& name,
                                std::uint32_t number) {
  if (!OpenForWriting(root, keyPath)) return false;
  Put(root, keyPath, name, {Type::kDword, {}, number});
  return true;
}

bool MemoryRegistry::DeleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) {
  if (m_readOnly.count(root)) return false;
  const auto key = m_keys.find({root, keyPath});
  return key != m_keys.end() && key->second.erase(name) != 0;
}
