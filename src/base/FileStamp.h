#pragma once
// What a file on disk was when the program last read or wrote it, so that
// a save can tell whether someone else changed it meanwhile. The status
// (device, inode, size, modification and change times) answers cheaply;
// the bytes are read and hashed only when the status differs, or when the
// file system keeps whole seconds only and a rewrite within the same
// second would not show in it.

#include <QByteArray>
#include <QString>

struct FileStamp {
  bool known = false;   // false: nothing remembered, nothing to compare
  bool exists = false;
  quint64 device = 0;
  quint64 inode = 0;
  qint64 size = -1;
  qint64 modifiedNs = 0;
  qint64 changedNs = 0;
  quint64 hash = 0;

  // The status of the file at `path` as it is now, without a hash. Taken
  // before a file is read: a rewrite during the read then shows as a
  // changed status, never as the old status with the new bytes.
  static FileStamp StatusOf(const QString& path);
  // The file at `path` as it is now, with `bytes` being what was just
  // written to it.
  static FileStamp Of(const QString& path, const QByteArray& bytes);
  bool operator==(const FileStamp&) const = default;
};

// A hash of the bytes, stable within one run of the program.
quint64 HashOfBytes(const QByteArray& bytes);

enum class DiskChange { kNone, kChanged, kDeleted };

// Compares the file at `path` with what was remembered; `current` receives
// the file's stamp as it is now (equal to `remembered` when nothing
// changed). A file whose status changed but whose bytes are the same (its
// times touched, a copy of the same content put back) counts as unchanged.
DiskChange CheckFile(const QString& path, const FileStamp& remembered, FileStamp* current);
