// What every pnt command shares: exit statuses, messages on standard error, opening a point
// file for reading or changing, and the one way a changed file is written back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "pointfile/message_sink.h"
#include "pointfile/point_file.h"

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // refused, unreadable, or findings (check)
inline constexpr int kExitUsage = 2;

// Prints "pnt: message" on standard error and returns kExitFailure.
int Fail(std::string_view message);
void Warn(std::string_view message);

// The core takes paths in Shift_JIS, as the editor does, and the file store turns them back into
// the system's UTF-8. A path that would not come back as the same name (a character code page
// 932 cannot hold, or bytes that are not UTF-8) is refused with a message.
std::optional<std::string> CorePath(const std::string& path);

// Prints the core's Shift_JIS messages on standard error as UTF-8, with `path` (UTF-8, as the
// user gave it) where a message names the file.
class StderrSink : public MessageSink {
 public:
  explicit StderrSink(std::string path);
  void ShowMessage(const std::string& text) override;

 private:
  std::string m_path;
  std::string m_corePath;  // the same path as the core's messages hold it
};

struct OpenedPointFile {
  PointFile file;
  bool existed = true;
  std::size_t fileSize = 0;      // the size on disk
  bool signatureMatched = true;  // false: LoadFile emptied the image
};

enum class MissingFile { kRefuse, kStartEmpty };

// Loads `path` through LoadFile. Returns nothing (the reason printed) when the file was refused,
// could not be read, or is not a point file; a missing file starts empty when `missing` allows.
std::optional<OpenedPointFile> OpenPointFile(const std::string& path, MissingFile missing);

// Writes `file` to `path` with the core's safe save; with `backup` the previous file is kept
// as path.bak first. Returns kExitOk or, with the reason printed, kExitFailure.
int WritePointFile(const PointFile& file, const std::string& path, bool backup);

// A field's text (Shift_JIS) for the terminal: control characters (a line feed, an escape
// sequence from a damaged or hostile file) would break the layout or act on the terminal, so
// they show as '?'.
std::string PrintableText(std::string text);

// A slot number typed by the user, 0-249; prints what is wrong and returns nothing otherwise.
std::optional<int> ParseSlotArgument(std::string_view text, std::string_view what);

