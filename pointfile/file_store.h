// Platform file access for load and save. The core talks to files only through this
// interface: posix/posix_file_store.cpp serves Linux, framework/win32_file_store.cpp Windows
// (wide paths, ReplaceFileW). Paths are Shift_JIS like every other text of the program, because
// they appear in the messages the user reads; each store converts them to what its system
// wants, and a path that cannot be converted fails with FileCause::kBadPath.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Why a file operation failed. The numbers are the cause codes the user-facing texts are
// keyed by (ShowFileError), so they must not change.
enum class FileCause : int {
  kNone = 0,
  kGeneric = 1,
  kFileNotFound = 2,
  kBadPath = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kInvalidFile = 6,
  kRemoveCurrentDir = 7,
  kDirectoryFull = 8,
  kBadSeek = 9,
  kHardIO = 10,
  kSharingViolation = 11,
  kLockViolation = 12,
  kDiskFull = 13,
  kEndOfFile = 14,
};

class FileStore {
 public:
  virtual ~FileStore() = default;

  // Reads at most `capacity` bytes from the start of the file at `path` into `buffer` and
  // sets `bytesRead`. A short file is not an error. Opening and reading failures both
  // come back as their cause; `bytesRead` is then unspecified.
  virtual FileCause Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                         std::size_t& bytesRead) = 0;

  // Replaces the file at `path` with exactly `size` bytes of `data`, or creates it. The
  // bytes go to a temporary file beside the target first, which is flushed, checked and then
  // renamed over the target: on any failure the old file stays whole and no temporary file
  // is left behind.
  virtual FileCause Replace(const std::string& path, const std::uint8_t* data, std::size_t size) = 0;
};
