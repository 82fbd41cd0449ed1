#pragma once
// The lock beside an open data file: a hidden file ".~lock.NAME#" in the
// data file's folder naming who has the file open (user, host, process,
// since when), so that a second program, of another user or on another
// computer sharing the folder, can ask before it edits the same file. The
// lock says; it forbids nothing: a program that ended without removing it
// (killed, a power cut) leaves a lock that the next one takes over.

#include <QDateTime>
#include <QString>
#include <functional>

struct LockHolder {
  QString user;
  QString host;
  qint64 process = 0;
  QDateTime time;  // when the lock was taken

  // UTF-8 lines "user=", "host=", "process=", "time=" (ISO 8601, UTC).
  QByteArray ToBytes() const;
  // Any bytes: what cannot be read stays empty.
  static LockHolder FromBytes(const QByteArray& bytes);
  // This program, now.
  static LockHolder ThisProgram();
  bool SameProgram(const LockHolder& other) const { return host == other.host && process == other.process; }
};

// The lock file of a data file.
QString LockPathOf(const QString& dataFile);

enum class LockStatus {
  kFree,   // no lock
  kOurs,   // this program's
  kHeld,   // another program that still runs has the file open
  kStale,  // left by a program that has ended: taken over without a question
};

// Whether process `pid` of this computer still runs and began no later
// than `since` (a process that began later only got the same number).
using ProcessProbe = std::function<bool(qint64 pid, const QDateTime& since)>;
bool ProcessRunsSince(qint64 pid, const QDateTime& since);

// How a lock found stands, seen by `self` at `now`. On this computer the
// holder's process decides; another computer's lock counts for a day, since
// its process cannot be seen from here.
LockStatus JudgeLock(const LockHolder& found, const LockHolder& self, const QDateTime& now,
                     const ProcessProbe& runs = ProcessRunsSince);

struct LockInspection {
  LockStatus status = LockStatus::kFree;
  LockHolder holder;  // what the lock file says, when there is one
};
LockInspection InspectLock(const QString& dataFile);

// The question when another program has the file open.
QString LockHeldText(const LockHolder& holder);

// This program's lock on one data file, removed when the object goes.
class DataFileLock {
 public:
  enum class Result { kTaken, kHeld, kFailed };

  DataFileLock() = default;
  ~DataFileLock() { Release(); }
  DataFileLock(DataFileLock&& other) noexcept;
  DataFileLock& operator=(DataFileLock&& other) noexcept;
  DataFileLock(const DataFileLock&) = delete;
  DataFileLock& operator=(const DataFileLock&) = delete;

  // Takes the lock of `dataFile`. A free, stale or own lock is written;
  // another running program's only with `takeOver`, else kHeld with the
  // holder in `found`. kFailed when no lock can be written there (a
  // read-only folder).
  Result Take(const QString& dataFile, bool takeOver, LockHolder* found = nullptr);
  // Removes the lock file, unless another program has taken it over since.
  void Release();
  bool IsTaken() const { return !dataFile_.isEmpty(); }
  const QString& DataFile() const { return dataFile_; }

 private:
  QString dataFile_;  // empty when no lock is held
  LockHolder self_;
};
