// FileStore on POSIX: open/read, and a save through mkstemp, fsync and rename. Paths arrive
// in Shift_JIS and are converted to UTF-8, the encoding of the file names on our systems.
//
// Only regular files are read: a FIFO would wait for a writer, a device give endless bytes.
// A character device or FIFO named as the target of a save is written in place, as any tool
// writes to one (/dev/full reports a full disk, /dev/null takes everything), and stays what it
// was; the rename that saves a regular file would put a plain file in its place.
#pragma once

#include "pointfile/file_store.h"
#include "posix/posix_system.h"

class PosixFileStore : public FileStore {
 public:
  explicit PosixFileStore(PosixSystem& system = RealPosixSystem()) : m_system(system) {}

  FileCause Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override;
  FileCause Replace(const std::string& path, const std::uint8_t* data, std::size_t size) override;

  // The one place where errno values become cause codes.
  static FileCause CauseFromErrno(int error);

 private:
  FileCause WriteInPlace(const std::string& target, const std::uint8_t* data, std::size_t size);
  FileCause WriteAll(int fd, const std::uint8_t* data, std::size_t size);

  PosixSystem& m_system;
};
