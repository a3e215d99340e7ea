// The system calls the POSIX file store makes, behind one small interface: the store is
// given a PosixSystem, which is the real system unless a test has put one in its place that
// fails a call or stops the process at it. Each method is the call of the same name.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

class PosixSystem {
 public:
  virtual ~PosixSystem() = default;

  virtual int Open(const char* path, int flags);
  virtual int SetFlags(int fd, int flags);  // fcntl F_SETFL
  virtual ssize_t Read(int fd, void* buffer, size_t size);
  virtual ssize_t Write(int fd, const void* data, size_t size);
  virtual int Stat(const char* path, struct stat* info);
  virtual int Fstat(int fd, struct stat* info);
  // realpath with a buffer it allocates; the caller frees it.
  virtual char* RealPath(const char* path);
  virtual int MakeTemporary(char* pattern);  // mkstemp
  virtual int Fchmod(int fd, mode_t mode);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
};

// The real calls.
PosixSystem& RealPosixSystem();
