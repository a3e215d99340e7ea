// The registry on Win32, through the W functions: texts cross as UTF-16 and are Shift_JIS
// (code page 932) inside, so a name reads the same whatever the system's code page is.
// Keys are opened in the 32-bit view (KEY_WOW64_32KEY): on 64-bit Windows the 32-bit
// editors of earlier days kept their map objects there, and so their list and choice are
// read and kept where they were.
#pragma once

#include "registry/registry.h"

class Win32Registry final : public Registry {
 public:
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
};

// The program's registry.
Registry& SystemRegistry();
