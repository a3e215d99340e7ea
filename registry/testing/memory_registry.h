// A registry held in memory, for tests: keys and values as a test sets them up, roots that
// refuse writing or reading, and values of types the program does not expect.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "registry/registry.h"

class MemoryRegistry final : public Registry {
 public:
  enum class Type { kString, kDword, kBinary };
  struct Value {
    Type type = Type::kString;
    std::string text;  // kString and kBinary
    std::uint32_t number = 0;
  };

  // Setting up and reading back, whatever the root allows.
  void Put(RegistryRoot root, const std::string& keyPath, const std::string& name, Value value);
  const Value* Find(RegistryRoot root, const std::string& keyPath, const std::string& name) const;
  // The key's values by name; empty when there is no such key.
  std::map<std::string, Value> Values(RegistryRoot root, const std::string& keyPath) const;
  bool HasKey(RegistryRoot root, const std::string& keyPath) const;
  // From now on the root refuses to open keys for writing, or to read them.
  void RefuseWriting(RegistryRoot root) { m_readOnly.insert(root); }
  void RefuseReading(RegistryRoot root) { m_unreadable.insert(root); }

  bool OpenForWriting(RegistryRoot root, const std::string& keyPath) override;
  bool KeyExists(RegistryRoot root, const std::string& keyPath) override;
  std::optional<std::string> ReadString(RegistryRoot root, const std::string& keyPath,
                                        const std::string& name) override;
  std::optional<std::uint32_t> ReadDword(RegistryRoot root, const std::string& keyPath,
                                         const std::string& name) override;
  bool WriteString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                   const std::string& text) override;
  bool WriteDword(RegistryRoot root, const std::string& keyPath, const std::string& name,
                  std::uint32_t number) override;
  bool DeleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) override;

 private:
  using KeyId = std::pair<RegistryRoot, std::string>;
  const Value* Readable(RegistryRoot root, const std::string& keyPath, const std::string& name, Type type) const;

  std::map<KeyId, std::map<std::string, Value>> m_keys;
  std::set<RegistryRoot> m_readOnly;
  std::set<RegistryRoot> m_unreadable;
};
