#include "base/FileStamp.h"

#include <QFile>
#include <QHashFunctions>
#include <sys/stat.h>

#include "base/LineIO.h"

namespace {

constexpr qint64 kNsPerSecond = 1000000000;

}  // namespace

FileStamp FileStamp::StatusOf(const QString& path) {
  FileStamp stamp;
  stamp.known = true;
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) return stamp;
  stamp.exists = true;
  stamp.device = status.st_dev;
  stamp.inode = status.st_ino;
  stamp.size = status.st_size;
  stamp.modifiedNs = qint64(status.st_mtim.tv_sec) * kNsPerSecond + status.st_mtim.tv_nsec;
  stamp.changedNs = qint64(status.st_ctim.tv_sec) * kNsPerSecond + status.st_ctim.tv_nsec;
  return stamp;
}

namespace {

bool SameStatus(const FileStamp& a, const FileStamp& b) {
  return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size &&
         a.modifiedNs == b.modifiedNs && a.changedNs == b.changedNs;
}

// Times in whole seconds (a network share, FAT): another write in the same
// second leaves the status as it was.
bool CoarseTimes(const FileStamp& stamp) { return stamp.modifiedNs % kNsPerSecond == 0; }

}  // namespace

quint64 HashOfBytes(const QByteArray& bytes) { return qHashBits(bytes.constData(), size_t(bytes.size()), 0); }

FileStamp FileStamp::Of(const QString& path, const QByteArray& bytes) {
  FileStamp stamp = StatusOf(path);
  stamp.hash = HashOfBytes(bytes);
  return stamp;
}

DiskChange CheckFile(const QString& path, const FileStamp& remembered, FileStamp* current) {
  FileStamp now = FileStamp::StatusOf(path);
  if (!now.exists) {
    *current = now;
    return DiskChange::kDeleted;
  }
  if (SameStatus(now, remembered) && !CoarseTimes(now)) {
    *current = remembered;
    return DiskChange::kNone;
  }
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes)) {
    // Seen but not readable: something else has it now.
    *current = now;
    return DiskChange::kChanged;
  }
  now.hash = HashOfBytes(bytes);
  // The size is what was read: a file rewritten between the status and the
  // read is taken as read.
  now.size = bytes.size();
  *current = now;
  return now.hash == remembered.hash && now.size == remembered.size ? DiskChange::kNone : DiskChange::kChanged;
}
