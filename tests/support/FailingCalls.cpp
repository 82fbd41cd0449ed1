#include "support/FailingCalls.h"

#include <algorithm>
#include <cerrno>

int FailingCalls::Open(const char* path, int flags, mode_t mode) {
  return Failed("open") ? -1 : FileSystemCalls::Open(path, flags, mode);
}
ssize_t FailingCalls::Write(int fd, const void* data, size_t size) {
  if (Failed("write")) return -1;
  if (chunk > 0) size = std::min(size, chunk);
  if (diskBytes >= 0) {
    if (written_ >= diskBytes) {
      errno = ENOSPC;
      return -1;
    }
    size = std::min<size_t>(size, static_cast<size_t>(diskBytes - written_));
  }
  const ssize_t n = FileSystemCalls::Write(fd, data, size);
  if (n > 0) written_ += n;
  return n;
}
int FailingCalls::Fsync(int fd) { return Failed("fsync") ? -1 : FileSystemCalls::Fsync(fd); }
int FailingCalls::Fstat(int fd, struct stat* status) {
  if (Failed("fstat")) return -1;
  const int result = FileSystemCalls::Fstat(fd, status);
  if (shortSize) status->st_size -= 1;
  return result;
}
int FailingCalls::Close(int fd) {
  // The descriptor is gone even when close reports an error.
  const int result = FileSystemCalls::Close(fd);
  return Failed("close") ? -1 : result;
}
int FailingCalls::Rename(const char* from, const char* to) {
  return Failed("rename") ? -1 : FileSystemCalls::Rename(from, to);
}

int FailingCalls::Unlink(const char* path) { return Failed("unlink") ? -1 : FileSystemCalls::Unlink(path); }

bool FailingCalls::Failed(const char* call) {
  calls << QString::fromLatin1(call);
  const qsizetype index = calls.size() - 1;
  if (index != failAt && (stopAt < 0 || index < stopAt)) return false;
  errno = failErrno;
  return true;
}
