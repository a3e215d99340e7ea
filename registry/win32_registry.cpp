#include "registry/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "framework/text_encoding.h"

namespace {

// An open key, closed with the object; null when it could not be opened.
class OpenKey {
 public:
  // Opens an existing key, or (`create`) creates a missing one, with `access`.
  OpenKey(RegistryRoot root, const std::string& keyPath, REGSAM access, bool create) {
    HKEY base = root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::wstring path = WidenText(keyPath);
    access |= KEY_WOW64_32KEY;
    const LSTATUS status = create ? ::RegCreateKeyExW(base, path.c_str(), 0, nullptr, 0, access, nullptr, &m_key, nullptr)
                                  : ::RegOpenKeyExW(base, path.c_str(), 0, access, &m_key);
    if (status != ERROR_SUCCESS) m_key = nullptr;
  }
  ~OpenKey() {
    if (m_key) ::RegCloseKey(m_key);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  explicit operator bool() const { return m_key != nullptr; }
  HKEY Handle() const { return m_key; }

 private:
  HKEY m_key = nullptr;
};

// The value's type and bytes, however long; nothing when it cannot be read.
std::optional<std::vector<BYTE>> QueryValue(RegistryRoot root, const std::string& keyPath, const std::string& name,
                                            DWORD& type) {
  OpenKey key(root, keyPath, KEY_QUERY_VALUE, false);
  if (!key) return std::nullopt;
  const std::wstring valueName = WidenText(name);
  std::vector<BYTE> data(256);
  for (;;) {
    DWORD size = static_cast<DWORD>(data.size());
    const LSTATUS status = ::RegQueryValueExW(key.Handle(), valueName.c_str(), nullptr, &type, data.data(), &size);
    if (status == ERROR_SUCCESS) {
      data.resize(size);
      return data;
    }
    // The value may grow between the two calls: ask again with the size now reported.
    if (status != ERROR_MORE_DATA) return std::nullopt;
    data.resize(size);
  }
}

}  // namespace

Registry& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}

bool Win32Registry::OpenForWriting(RegistryRoot root, const std::string& keyPath) {
  return static_cast<bool>(OpenKey(root, keyPath, KEY_QUERY_VALUE | KEY_SET_VALUE, true));
}

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& keyPath) {
  return static_cast<bool>(OpenKey(root, keyPath, KEY_QUERY_VALUE, false));
}

std::optional<std::string> Win32Registry::ReadString(RegistryRoot root, const std::string& keyPath,
                                                     const std::string& name) {
  DWORD type = REG_NONE;
  const std::optional<std::vector<BYTE>> data = QueryValue(root, keyPath, name, type);
  if (!data || type != REG_SZ) return std::nullopt;
  // The stored text need not end in a zero, nor have an even length; it ends at its first zero.
  std::wstring text(data->size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data->data(), text.size() * sizeof(wchar_t));
  text.resize(std::wcslen(text.c_str()));
  return NarrowText(text);
}

std::optional<std::uint32_t> Win32Registry::ReadDword(RegistryRoot root, const std::string& keyPath,
                                                      const std::string& name) {
  DWORD type = REG_NONE;
  const std::optional<std::vector<BYTE>> data = QueryValue(root, keyPath, name, type);
  if (!data || type != REG_DWORD || data->size() != sizeof(DWORD)) return std::nullopt;
  DWORD number = 0;
  std::memcpy(&number, data->data(), sizeof number);
  return number;
}

bool Win32Registry::WriteString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                                const std::string& text) {
  OpenKey key(root, keyPath, KEY_SET_VALUE, true);
  if (!key) return false;
  const std::wstring wide = WidenText(text);
  // The terminating zero is stored with the text.
  const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.Handle(), WidenText(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool Win32Registry::WriteDword(RegistryRoot root, const std::string& keyPath, const std::string& name,
                               std::uint32_t number) {
  OpenKey key(root, keyPath, KEY_SET_VALUE, true);
  if (!key) return false;
  const DWORD value = number;
  return ::RegSetValueExW(key.Handle(), WidenText(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) {
  OpenKey key(root, keyPath, KEY_SET_VALUE, false);
  return key && ::RegDeleteValueW(key.Handle(), WidenText(name).c_str()) == ERROR_SUCCESS;
}
