// FileStore on POSIX: open/read, and a save through mkstemp, fsync and rename. Paths arrive
// in Shift_JIS and are converted to UTF-8, the encoding of the file names on our systems.
#pragma once

#include "pointfile/file_store.h"

class PosixFileStore : public FileStore {
 public:
  FileCause Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override;
  FileCause Replace(const std::string& path, const std::uint8_t* data, std::size_t size) override;

  // The one place where errno values become cause codes.
  static FileCause CauseFromErrno(int error);
};
