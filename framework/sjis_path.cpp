#include "framework/sjis_path.h"

#include "pointfile/shift_jis.h"

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  std::string_view rest = path;
  if (rest.size() >= 2 && rest[1] == ':' && !IsShiftJisLeadByte(static_cast<unsigned char>(rest[0]))) {
    parts.drive = std::string(rest.substr(0, 2));
    rest.remove_prefix(2);
  }
  // The file part starts after the last separator; its extension at its last period.
  size_t fileStart = 0;
  size_t lastDot = std::string_view::npos;
  for (size_t i = 0; i < rest.size(); ++i) {
    const auto c = static_cast<unsigned char>(rest[i]);
    if (IsShiftJisLeadByte(c) && i + 1 < rest.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/') {
      fileStart = i + 1;
      lastDot = std::string_view::npos;
    } else if (c == '.') {
      lastDot = i;
    }
  }
  parts.directory = std::string(rest.substr(0, fileStart));
  std::string_view file = rest.substr(fileStart);
  if (lastDot != std::string_view::npos) {
    parts.name = std::string(file.substr(0, lastDot - fileStart));
    parts.extension = std::string(file.substr(lastDot - fileStart));
  } else {
    parts.name = std::string(file);
  }
  return parts;
}
