// Splitting Shift_JIS paths. A byte 0x5C ('\') can be the second byte of a double-byte
// character (表 is 0x95 0x5C), so a path is walked character by character, never searched
// byte-wise for separators.
#pragma once

#include <string>
#include <string_view>

struct PathParts {
  std::string drive;      // "C:" or empty
  std::string directory;  // "\data\" (with its separators) or empty
  std::string name;       // "a"
  std::string extension;  // ".pnt" (from the last period of the file part) or empty
};

PathParts SplitPath(std::string_view path);

// ASCII letters upper-cased; double-byte characters left as they are.
std::string UpperAscii(std::string_view text);

// True when byte `c` starts a double-byte Shift_JIS character.
constexpr bool IsShiftJisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
