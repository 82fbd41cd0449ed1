#pragma once
// A FileSystemCalls for tests of saving: fails one chosen call, fills the
// disk after a number of bytes, cuts writes short or lies about the size.
// Installed while it lives.

#include <QStringList>
#include <cerrno>

#include "base/LineIO.h"

// The system's calls, except that call number `failAt` (counting every call
// of the save) fails, the disk holds only `diskBytes` more bytes, writes
// take at most `chunk` bytes, or the size read back is one byte short.
class FailingCalls : public FileSystemCalls {
 public:
  FailingCalls() { FileSystemCalls::Install(this); }
  ~FailingCalls() override { FileSystemCalls::Install(nullptr); }

  int failAt = -1;
  qint64 diskBytes = -1;
  size_t chunk = 0;
  bool shortSize = false;
  int failErrno = EIO;  // the error the failing call reports
  // From call number `stopAt` on, every call fails and does nothing, the
  // removal of a temporary file included: the disk as a killed writer left it.
  int stopAt = -1;
  QStringList calls;  // the name of every call made, in order

  int Open(const char* path, int flags, mode_t mode) override;
  ssize_t Write(int fd, const void* data, size_t size) override;
  int Fsync(int fd) override;
  int Fstat(int fd, struct stat* status) override;
  int Close(int fd) override;
  int Rename(const char* from, const char* to) override;
  int Unlink(const char* path) override;

 private:
  bool Failed(const char* call);
  qint64 written_ = 0;
};
