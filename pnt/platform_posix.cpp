#include <fcntl.h>
#include <unistd.h>

#include "pnt/platform.h"
#include "posix/posix_file_store.h"

FileStore& SystemFileStore() {
  static PosixFileStore store;
  return store;
}

std::filesystem::path FileSystemPath(const std::string& utf8) { return utf8; }

std::FILE* OpenInputFile(const std::string& path) {
  // Opened without waiting for a writer, then made blocking again for the reads.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::FILE* in = ::fcntl(fd, F_SETFL, O_RDONLY) == 0 ? ::fdopen(fd, "rb") : nullptr;
  if (!in) ::close(fd);
  return in;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }
