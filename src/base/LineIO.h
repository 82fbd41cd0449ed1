#pragma once
// Text files as lists of byte lines. A line ends at CR LF, a lone CR or a
// lone LF; a final line end starts no extra line; a byte 00 ends the text.
// Written files end every line with CR LF.

#include <QByteArray>
#include <QList>
#include <QString>
#include <sys/stat.h>
#include <sys/types.h>

#include "base/Lines.h"

Lines SplitLines(const QByteArray& bytes);
QByteArray JoinLines(const Lines& lines);

// Reads a whole file; false when it cannot be opened or read.
bool ReadFileBytes(const QString& path, QByteArray* bytes);
bool ReadLinesFile(const QString& path, Lines* lines);

// The system calls a save goes through, one virtual each, so that a test can
// make any of them fail (a full disk at byte n, a failing sync or rename)
// without relying on folder permissions. The defaults call the system.
class FileSystemCalls {
 public:
  virtual ~FileSystemCalls() = default;
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Write(int fd, const void* data, size_t size);
  virtual int Fsync(int fd);
  virtual int Fstat(int fd, struct stat* status);
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
  virtual int Link(const char* from, const char* to);

  // The calls in use: the system's until a test installs others (not
  // owned); nullptr restores the system's.
  static FileSystemCalls& Current();
  static void Install(FileSystemCalls* calls);
};

// Writes to a temporary file beside the target, checks every write, syncs
// it, verifies its size, renames it over the target and syncs the folder.
// False on any failure; before the rename a failure leaves the target byte
// for byte as it was and removes the temporary file.
// With `directFallback`, a folder that allows no new file (a read-only
// program folder) falls back to writing the existing file in place.
bool WriteFileSafely(const QString& path, const QByteArray& bytes, bool directFallback = false);
bool WriteLinesFile(const QString& path, const Lines& lines, bool directFallback = false);

// A small file written whole before anyone can see it (a temporary file
// beside `path`, then linked or renamed into place); no sync, since losing
// it in a crash does no harm. Without `replace` an existing file is left
// alone and the result is kExists. kFailed when nothing can be written
// there (a read-only folder).
enum class NewFileResult { kWritten, kExists, kFailed };
NewFileResult WriteNewFile(const QString& path, const QByteArray& bytes, bool replace);
