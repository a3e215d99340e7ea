#include "pnt/command_support.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "exchange/cp932.h"
#include "pnt/platform.h"
#include "pointfile/point_record.h"

int Fail(std::string_view message) {
  std::fprintf(stderr, "pnt: %.*s\n", static_cast<int>(message.size()), message.data());
  return kExitFailure;
}

void Warn(std::string_view message) {
  std::fprintf(stderr, "pnt: warning: %.*s\n", static_cast<int>(message.size()), message.data());
}

std::optional<std::string> CorePath(const std::string& path) {
  Cp932Text converted = Utf8ToCp932(path);
  if (converted.replaced != 0 || Cp932ToUtf8(converted.text) != path) {
    Fail(path + ": this name cannot be written in Shift_JIS (code page 932), which point files and "
                "their editor use for paths; rename the file or choose another name");
    return std::nullopt;
  }
  return std::move(converted.text);
}

StderrSink::StderrSink(std::string path) : m_path(std::move(path)), m_corePath(Utf8ToCp932(m_path).text) {}

void StderrSink::ShowMessage(const std::string& text) {
  std::string out;
  std::size_t at = m_corePath.empty() ? std::string::npos : text.find(m_corePath);
  if (at == std::string::npos) {
    out = Cp932ToUtf8(text);
  } else {
    out = Cp932ToUtf8(std::string_view(text).substr(0, at)) + m_path +
          Cp932ToUtf8(std::string_view(text).substr(at + m_corePath.size()));
  }
  std::fprintf(stderr, "%s\n", out.c_str());
}

std::optional<OpenedPointFile> OpenPointFile(const std::string& path, MissingFile missing) {
  // Built in place and returned as is: the image is 64 KB, not worth copying.
  std::optional<OpenedPointFile> result(std::in_place);
  OpenedPointFile& opened = *result;
  const std::optional<std::string> corePath = CorePath(path);
  if (!corePath) return std::nullopt;
  std::error_code error;
  auto status = std::filesystem::status(FileSystemPath(path), error);
  if (missing == MissingFile::kStartEmpty && status.type() == std::filesystem::file_type::not_found) {
    if (!HasPointFileExtension(*corePath)) {
      Fail(path + ": a point file's name must end in .pnt");
      return std::nullopt;
    }
    opened.existed = false;
    return result;
  }
  if (status.type() == std::filesystem::file_type::directory) {
    Fail(path + ": is a directory");
    return std::nullopt;
  }
  if (status.type() != std::filesystem::file_type::regular && status.type() != std::filesystem::file_type::not_found &&
      !error) {
    // A FIFO or a device: no point file, and reading one could wait or never end.
    Fail(path + ": is not a regular file; a point file is one");
    return std::nullopt;
  }
  StderrSink sink(path);
  const LoadResult load = opened.file.LoadFile(*corePath, SystemFileStore(), sink);
  if (load.Code() != 0) return std::nullopt;
  // A file LoadFile emptied because it is not a point file must never be mistaken for an
  // empty one and overwritten.
  opened.signatureMatched = load.Loaded();
  opened.fileSize = static_cast<std::size_t>(std::filesystem::file_size(FileSystemPath(path), error));
  if (error) opened.fileSize = 0;
  return result;
}

int WritePointFile(const PointFile& file, const std::string& path, bool backup) {
  const std::optional<std::string> corePath = CorePath(path);
  if (!corePath) return kExitFailure;
  FileStore& store = SystemFileStore();
  StderrSink sink(path);
  std::error_code error;
  if (backup && std::filesystem::exists(FileSystemPath(path), error)) {
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return Fail(path + ": cannot be read to keep a backup");
    const std::string backupPath = *corePath + ".bak";
    FileCause cause = store.Replace(backupPath, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (cause != FileCause::kNone) {
      ShowFileError(cause, backupPath, sink);
      return Fail(path + ".bak: the backup could not be written; " + path + " is unchanged");
    }
  }
  // A file without points is written too: the points the command removed must not stay on disk.
  return file.SaveFile(*corePath, store, sink) == 0 ? kExitOk : kExitFailure;
}

// No Shift_JIS trail byte lies below 0x40, so the bytes can be looked at one by one.
std::string PrintableText(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

std::optional<int> ParseSlotArgument(std::string_view text, std::string_view what) {
  int value = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
    Fail(std::string(what) + " \"" + std::string(text) + "\" is not a slot number");
    return std::nullopt;
  }
  if (value < 0 || value >= kSlotCount) {
    Fail(std::string(what) + " " + std::string(text) + " is outside the slots 0-249");
    return std::nullopt;
  }
  return value;
}
