#include "posix/posix_file_store.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Shift_JIS (code page 932) to UTF-8. False when the path holds a byte sequence that is not
// Shift_JIS: opening some other file by a guessed name would be worse than failing.
bool ToSystemPath(const std::string& sjis, std::string& utf8) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  utf8.assign(sjis.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(sjis.data());
  std::size_t inLeft = sjis.size();
  char* out = utf8.data();
  std::size_t outLeft = utf8.size();
  const std::size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1) || inLeft != 0) return false;
  utf8.resize(utf8.size() - outLeft);
  return utf8.find('\0') == std::string::npos;
}

FileCause LastCause() { return PosixFileStore::CauseFromErrno(errno); }

// The directory part of a path, for the fsync that makes a rename durable.
std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

FileCause PosixFileStore::CauseFromErrno(int error) {
  switch (error) {
    case 0: return FileCause::kNone;
    case ENOENT: return FileCause::kFileNotFound;
    case ENOTDIR: case ENAMETOOLONG: case ELOOP: case EINVAL: case EILSEQ: return FileCause::kBadPath;
    case EMFILE: case ENFILE: return FileCause::kTooManyOpenFiles;
    case EACCES: case EPERM: case EROFS: case EISDIR: return FileCause::kAccessDenied;
    case EBADF: return FileCause::kInvalidFile;
    case ESPIPE: return FileCause::kBadSeek;
    case EIO: return FileCause::kHardIO;
    case EBUSY: case ETXTBSY: return FileCause::kSharingViolation;
    case ENOLCK: case EDEADLK: return FileCause::kLockViolation;
    case ENOSPC: case EDQUOT: case EFBIG: return FileCause::kDiskFull;
    default: return FileCause::kGeneric;
  }
}

FileCause PosixFileStore::WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = m_system.Write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastCause();
    // Nothing written and no error: no room left. Trying again would never end.
    if (n == 0) return FileCause::kDiskFull;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return FileCause::kNone;
}

FileCause PosixFileStore::Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                               std::size_t& bytesRead) {
  bytesRead = 0;
  std::string systemPath;
  if (!ToSystemPath(path, systemPath)) return FileCause::kBadPath;
  // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
  const int fd = m_system.Open(systemPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return LastCause();
  FileCause cause = FileCause::kNone;
  struct stat info {};
  if (m_system.Fstat(fd, &info) != 0) {
    cause = LastCause();
  } else if (!S_ISREG(info.st_mode)) {
    cause = FileCause::kAccessDenied;
  }
  while (cause == FileCause::kNone && bytesRead < capacity) {
    const ssize_t n = m_system.Read(fd, buffer + bytesRead, capacity - bytesRead);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) cause = LastCause();
    if (n <= 0) break;
    bytesRead += static_cast<std::size_t>(n);
  }
  m_system.Close(fd);
  return cause;
}

FileCause PosixFileStore::WriteInPlace(const std::string& target, const std::uint8_t* data, std::size_t size) {
  // O_NONBLOCK: a FIFO without a reader fails at once (ENXIO) instead of waiting for one.
  const int fd = m_system.Open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return LastCause();
  FileCause cause = FileCause::kNone;
  if (m_system.SetFlags(fd, O_WRONLY) != 0) cause = LastCause();
  if (cause == FileCause::kNone) cause = WriteAll(fd, data, size);
  if (m_system.Close(fd) != 0 && cause == FileCause::kNone) cause = LastCause();
  return cause;
}

FileCause PosixFileStore::Replace(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::string target;
  if (!ToSystemPath(path, target)) return FileCause::kBadPath;
  struct stat existing {};
  const bool exists = m_system.Stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode)) return WriteInPlace(target, data, size);
    // A rename would quietly replace what an in-place write could not touch: a directory, a
    // file marked read-only (root included), a block device or socket, and a symbolic link,
    // which would become a plain file while the file it names kept the old points. Save
    // through the link instead.
    if (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0) return FileCause::kAccessDenied;
    if (char* resolved = m_system.RealPath(target.c_str())) {
      target = resolved;
      std::free(resolved);
    }
  }

  std::string temp = target + ".saving-XXXXXX";
  const int fd = m_system.MakeTemporary(temp.data());
  if (fd < 0) return LastCause();

  FileCause cause = FileCause::kNone;
  struct stat written {};
  // mkstemp creates the file private to us; the saved file keeps the old file's mode, or
  // gets the usual mode of a new file.
  mode_t mode = existing.st_mode & 07777;
  if (!exists) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  cause = WriteAll(fd, data, size);
  if (cause == FileCause::kNone &&
      (m_system.Fchmod(fd, mode) != 0 || m_system.Fsync(fd) != 0 || m_system.Fstat(fd, &written) != 0)) {
    cause = LastCause();
  } else if (cause == FileCause::kNone && static_cast<std::size_t>(written.st_size) != size) {
    cause = FileCause::kDiskFull;
  }
  if (m_system.Close(fd) != 0 && cause == FileCause::kNone) cause = LastCause();
  if (cause == FileCause::kNone && m_system.Rename(temp.c_str(), target.c_str()) != 0) cause = LastCause();
  if (cause != FileCause::kNone) {
    m_system.Unlink(temp.c_str());
    return cause;
  }
  // Make the rename itself durable; the new file is complete either way.
  if (const int dir = m_system.Open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    m_system.Fsync(dir);
    m_system.Close(dir);
  }
  return FileCause::kNone;
}
