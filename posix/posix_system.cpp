#include "posix/posix_system.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int PosixSystem::Open(const char* path, int flags) { return ::open(path, flags); }
int PosixSystem::SetFlags(int fd, int flags) { return ::fcntl(fd, F_SETFL, flags); }
ssize_t PosixSystem::Read(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }
ssize_t PosixSystem::Write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int PosixSystem::Stat(const char* path, struct stat* info) { return ::stat(path, info); }
int PosixSystem::Fstat(int fd, struct stat* info) { return ::fstat(fd, info); }
char* PosixSystem::RealPath(const char* path) { return ::realpath(path, nullptr); }
int PosixSystem::MakeTemporary(char* pattern) { return ::mkstemp(pattern); }
int PosixSystem::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int PosixSystem::Fsync(int fd) { return ::fsync(fd); }
int PosixSystem::Close(int fd) { return ::close(fd); }
int PosixSystem::Rename(const char* from, const char* to) { return ::rename(from, to); }
int PosixSystem::Unlink(const char* path) { return ::unlink(path); }

PosixSystem& RealPosixSystem() {
  static PosixSystem system;
  return system;
}
