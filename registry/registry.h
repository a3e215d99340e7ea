// The registry as the programs use it: string and number values of one key, under the
// machine's or the user's root. Texts are Shift_JIS; the Win32 implementation converts at
// its boundary, and tests use an in-memory one (registry/testing/memory_registry.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class RegistryRoot { kLocalMachine, kCurrentUser };

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key for reading and writing, creating it when it is missing; false when that
  // is refused (a user without administrator rights, for the machine's root).
  virtual bool OpenForWriting(RegistryRoot root, const std::string& keyPath) = 0;
  // The key exists and can be opened for reading.
  virtual bool KeyExists(RegistryRoot root, const std::string& keyPath) = 0;
  // A text value; nothing when it is missing, of another type or cannot be read.
  virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& keyPath,
                                                const std::string& name) = 0;
  // A 32-bit number value; nothing when it is missing, of another type or cannot be read.
  virtual std::optional<std::uint32_t> ReadDword(RegistryRoot root, const std::string& keyPath,
                                                 const std::string& name) = 0;
  // Each creates the key when it is missing; false when the value could not be written.
  virtual bool WriteString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                           const std::string& text) = 0;
  virtual bool WriteDword(RegistryRoot root, const std::string& keyPath, const std::string& name,
                          std::uint32_t number) = 0;
  // False when the value was not there or could not be removed.
  virtual bool DeleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) = 0;
};
