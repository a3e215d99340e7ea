// The registry on Win32, under Wine's own registry: Shift_JIS texts in and out, the 32-bit
// view, and values of other types and sizes than the program writes.
#include "registry/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
const std::string kKey = "SOFTWARE\\Brannock\\OstrelRegistryTest";
const wchar_t kWideKey[] = L"SOFTWARE\\Brannock\\OstrelRegistryTest";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kWideKey, KEY_WOW64_32KEY, 0); }
  void TearDown() override { ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kWideKey, KEY_WOW64_32KEY, 0); }

  // Stores raw bytes of any type, as another program might.
  void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kWideKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
  }

  Win32Registry registry;
};

TEST_F(Win32RegistryTest, TextsTravelAsUtf16InThe32BitViewAndComeBackAsShiftJis) {
  EXPECT_FALSE(registry.KeyExists(kMachine, kKey));
  EXPECT_TRUE(registry.OpenForWriting(kMachine, kKey));
  EXPECT_TRUE(registry.KeyExists(kMachine, kKey));
  ASSERT_TRUE(registry.WriteString(kMachine, kKey, "MapObject00", "地図.Map"));
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "MapObject00"), "地図.Map");

  // Where a 32-bit program finds it, with its terminating zero.
  wchar_t stored[32] = {};
  DWORD size = sizeof stored;
  ASSERT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\Brannock\\OstrelRegistryTest", L"MapObject00",
                           RRF_RT_REG_SZ, nullptr, stored, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(stored), L"地図.Map");
  EXPECT_EQ(size, (std::wstring(L"地図.Map").size() + 1) * sizeof(wchar_t));

  ASSERT_TRUE(registry.WriteDword(kMachine, kKey, "o-cnt", 0xFFFFFFFFu));
  EXPECT_EQ(registry.ReadDword(kMachine, kKey, "o-cnt"), 0xFFFFFFFFu);
  EXPECT_TRUE(registry.DeleteValue(kMachine, kKey, "o-cnt"));
  EXPECT_EQ(registry.ReadDword(kMachine, kKey, "o-cnt"), std::nullopt);
  EXPECT_FALSE(registry.DeleteValue(kMachine, kKey, "o-cnt"));
}

TEST_F(Win32RegistryTest, ValuesOfOtherTypesReadAsNothing) {
  const DWORD number = 7;
  PutRaw(L"Number", REG_DWORD, &number, sizeof number);
  PutRaw(L"Binary", REG_BINARY, "Bin.Map", 7);
  PutRaw(L"Text", REG_SZ, L"5", 4);
  PutRaw(L"Short", REG_DWORD, &number, 2);
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "Number"), std::nullopt);
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "Binary"), std::nullopt);
  EXPECT_EQ(registry.ReadDword(kMachine, kKey, "Text"), std::nullopt);
  EXPECT_EQ(registry.ReadDword(kMachine, kKey, "Short"), std::nullopt);
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "Missing"), std::nullopt);
  EXPECT_EQ(registry.ReadString(kMachine, kKey + "\\Missing", "Text"), std::nullopt);
}

TEST_F(Win32RegistryTest, TextsAreReadWholeWhateverTheirLengthOrEnd) {
  const std::wstring longText(32 * 1024, L'N');  // 64 KB
  PutRaw(L"Long", REG_SZ, longText.c_str(), static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t)));
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "Long"), std::string(longText.size(), 'N'));
  // Without a terminating zero, and with an odd number of bytes.
  PutRaw(L"Open", REG_SZ, L"abc", 6);
  PutRaw(L"Odd", REG_SZ, L"abc", 7);
  PutRaw(L"Empty", REG_SZ, L"", 0);
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "Open"), "abc");
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "Odd"), "abc");
  EXPECT_EQ(registry.ReadString(kMachine, kKey, "Empty"), "");
}

}  // namespace
