#include "pnt/command_support.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "pnt/cp932.h"
#include "pointfile/point_record.h"
#include "posix/posix_file_store.h"

int Fail(std::string_view message) {
  std::fprintf(stderr, "pnt: %.*s\n", static_cast<int>(message.size()), message.data());
  return kExitFailure;
}

void Warn(std::string_view message) {
  std::fprintf(stderr, "pnt: warning: %.*s\n", static_cast<int>(message.size()), message.data());
}

void StderrSink::ShowMessage(const std::string& text) {
  std::string out;
  std::size_t at = m_path.empty() ? std::string::npos : text.find(m_path);
  if (at == std::string::npos) {
    out = Cp932ToUtf8(text);
  } else {
    out = Cp932ToUtf8(std::string_view(text).substr(0, at)) + m_path +
          Cp932ToUtf8(std::string_view(text).substr(at + m_path.size()));
  }
  std::fprintf(stderr, "%s\n", out.c_str());
}

bool HasPointFileExtension(std::string_view path) {
  if (path.size() < 4) return false;
  std::string_view ext = path.substr(path.size() - 4);
  return ext[0] == '.' && (ext[1] | 0x20) == 'p' && (ext[2] | 0x20) == 'n' && (ext[3] | 0x20) == 't';
}

std::optional<OpenedPointFile> OpenPointFile(const std::string& path, MissingFile missing) {
  // Built in place and returned as is: the image is 64 KB, not worth copying.
  std::optional<OpenedPointFile> result(std::in_place);
  OpenedPointFile& opened = *result;
  std::error_code error;
  auto status = std::filesystem::status(path, error);
  if (missing == MissingFile::kStartEmpty && status.type() == std::filesystem::file_type::not_found) {
    if (!HasPointFileExtension(path)) {
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
  PosixFileStore store;
  StderrSink sink(path);
  const LoadResult load = opened.file.LoadFile(path, store, sink);
  if (load.Code() != 0) return std::nullopt;
  // A file LoadFile emptied because it is not a point file must never be mistaken for an
  // empty one and overwritten.
  opened.signatureMatched = load.Loaded();
  opened.fileSize = static_cast<std::size_t>(std::filesystem::file_size(path, error));
  if (error) opened.fileSize = 0;
  return result;
}

int WritePointFile(const PointFile& file, const std::string& path, bool backup) {
  PosixFileStore store;
  StderrSink sink(path);
  std::error_code error;
  if (backup && std::filesystem::exists(path, error)) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string backupPath = path + ".bak";
    if (!in.good() && !in.eof()) return Fail(path + ": cannot be read to keep a backup");
    FileCause cause = store.Replace(backupPath, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (cause != FileCause::kNone) {
      ShowFileError(cause, backupPath, sink);
      return Fail(backupPath + ": the backup could not be written; " + path + " is unchanged");
    }
  }
  // SaveFile writes nothing when slot 0 is empty, which keeps the old points on disk. A command
  // that removed every point must not report success over them, so the empty image is written
  // with the same safe replacement.
  if (file.CountPoints() == 0) {
    FileCause cause = store.Replace(path, file.Image().data(), file.Image().size());
    if (cause == FileCause::kNone) return kExitOk;
    ShowFileError(cause, path, sink);
    return kExitFailure;
  }
  return file.SaveFile(path, store, sink) == 0 ? kExitOk : kExitFailure;
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
