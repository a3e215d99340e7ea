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
