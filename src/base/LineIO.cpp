#include "base/LineIO.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

Lines SplitLines(const QByteArray& bytes) {
  Lines lines;
  qsizetype end = bytes.indexOf('\0');
  if (end < 0) end = bytes.size();
  const char* p = bytes.constData();
  qsizetype start = 0;
  qsizetype i = 0;
  while (i < end) {
    char c = p[i];
    if (c == '\r' || c == '\n') {
      lines.append(QByteArray(p + start, i - start));
      i += (c == '\r' && i + 1 < end && p[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < end) lines.append(QByteArray(p + start, end - start));
  return lines;
}

QByteArray JoinLines(const Lines& lines) {
  qsizetype size = 0;
  lines.ForEachView([&size](qsizetype, QByteArrayView line) { size += line.size() + 2; });
  QByteArray out;
  out.reserve(size);
  lines.ForEachView([&out](qsizetype, QByteArrayView line) {
    out.append(line);
    out.append("\r\n", 2);
  });
  return out;
}

bool ReadFileBytes(const QString& path, QByteArray* bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  *bytes = file.readAll();
  return file.error() == QFile::NoError;
}

bool ReadLinesFile(const QString& path, Lines* lines) {
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes)) return false;
  *lines = SplitLines(bytes);
  return true;
}

int FileSystemCalls::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileSystemCalls::Write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int FileSystemCalls::Fsync(int fd) { return ::fsync(fd); }
int FileSystemCalls::Fstat(int fd, struct stat* status) { return ::fstat(fd, status); }
int FileSystemCalls::Close(int fd) { return ::close(fd); }
int FileSystemCalls::Rename(const char* from, const char* to) { return ::rename(from, to); }
int FileSystemCalls::Unlink(const char* path) { return ::unlink(path); }
int FileSystemCalls::Link(const char* from, const char* to) { return ::link(from, to); }

namespace {

FileSystemCalls* installedCalls = nullptr;

// Every byte, through short writes and interruptions; false on an error or
// a write that makes no progress.
bool WriteAll(FileSystemCalls& fs, int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = fs.Write(fd, p, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= n;
  }
  return true;
}

// Writes, syncs and checks the size of the open file; closes it in any case.
bool FillAndClose(FileSystemCalls& fs, int fd, const QByteArray& bytes) {
  struct stat status {};
  bool ok = WriteAll(fs, fd, bytes) && fs.Fsync(fd) == 0 && fs.Fstat(fd, &status) == 0 &&
            status.st_size == static_cast<off_t>(bytes.size());
  if (fs.Close(fd) != 0) ok = false;
  return ok;
}

// Makes the rename itself durable.
bool SyncFolder(FileSystemCalls& fs, const QByteArray& folder) {
  const int fd = fs.Open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool synced = fs.Fsync(fd) == 0;
  return fs.Close(fd) == 0 && synced;
}

// A new file beside `target` that did not exist before; -1 when none can be made.
int CreateTemporary(FileSystemCalls& fs, const QByteArray& target, QByteArray* name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = target + ".tmp" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
    const int fd = fs.Open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteInPlace(FileSystemCalls& fs, const QByteArray& target, const QByteArray& bytes) {
  const int fd = fs.Open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC, 0);
  return fd >= 0 && FillAndClose(fs, fd, bytes);
}

}  // namespace

FileSystemCalls& FileSystemCalls::Current() {
  static FileSystemCalls system;
  return installedCalls ? *installedCalls : system;
}

void FileSystemCalls::Install(FileSystemCalls* calls) { installedCalls = calls; }

bool WriteFileSafely(const QString& path, const QByteArray& bytes, bool directFallback) {
  FileSystemCalls& fs = FileSystemCalls::Current();
  // A link is kept: the file it points to is the one replaced.
  const QFileInfo info(path);
  const QString resolved = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
  const QByteArray target = QFile::encodeName(resolved);
  struct stat existing {};
  const bool exists = ::stat(target.constData(), &existing) == 0;

  QByteArray temporary;
  const int fd = CreateTemporary(fs, target, &temporary);
  if (fd < 0) {
    const bool folderRefuses = errno == EACCES || errno == EPERM || errno == EROFS;
    return directFallback && exists && folderRefuses && WriteInPlace(fs, target, bytes);
  }
  // The new file keeps the permissions of the one it replaces.
  if (exists) ::fchmod(fd, existing.st_mode & 07777);
  if (!FillAndClose(fs, fd, bytes) || fs.Rename(temporary.constData(), target.constData()) != 0) {
    fs.Unlink(temporary.constData());
    return false;
  }
  return SyncFolder(fs, QFile::encodeName(QFileInfo(resolved).absolutePath()));
}

bool WriteLinesFile(const QString& path, const Lines& lines, bool directFallback) {
  return WriteFileSafely(path, JoinLines(lines), directFallback);
}

NewFileResult WriteNewFile(const QString& path, const QByteArray& bytes, bool replace) {
  FileSystemCalls& fs = FileSystemCalls::Current();
  const QByteArray target = QFile::encodeName(path);
  QByteArray temporary;
  const int fd = CreateTemporary(fs, target, &temporary);
  if (fd < 0) return NewFileResult::kFailed;
  bool ok = WriteAll(fs, fd, bytes);
  if (fs.Close(fd) != 0) ok = false;
  NewFileResult result = ok ? NewFileResult::kWritten : NewFileResult::kFailed;
  if (ok && replace) {
    if (fs.Rename(temporary.constData(), target.constData()) == 0) return NewFileResult::kWritten;
    result = NewFileResult::kFailed;
  } else if (ok && fs.Link(temporary.constData(), target.constData()) != 0) {
    // A link fails when the name exists; a file system without links
    // (some shares) takes a rename where the name is still free.
    const bool noLinks = errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS || errno == EMLINK;
    if (errno == EEXIST) {
      result = NewFileResult::kExists;
    } else if (noLinks && !QFileInfo::exists(path)) {
      if (fs.Rename(temporary.constData(), target.constData()) == 0) return NewFileResult::kWritten;
      result = NewFileResult::kFailed;
    } else {
      result = noLinks ? NewFileResult::kExists : NewFileResult::kFailed;
    }
  }
  fs.Unlink(temporary.constData());
  return result;
}
