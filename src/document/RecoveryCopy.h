#pragma once
// Copies of unsaved changes, so that a crash, a killed session or a power
// cut costs at most the last few seconds of work. They live in the
// recovery folder, never beside the data file. A program with unsaved
// changes keeps three files there under one name:
//   NAME.VRD     the document, written like a save;
//   NAME.record  the data file's path, the time of the copy and the process;
//   NAME.lock    held while the program runs.
// A normal exit removes all three. At start-up the lock tells the copies of
// programs that ended without removing theirs (the lock is free or names a
// process that is gone) from those of programs still running, which are
// never touched.

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

#include <QThreadPool>

#include "base/Lines.h"
#include "document/LineChange.h"

class QLockFile;

struct RecoveryRecord {
  QString dataFile;  // empty for a document never saved
  QDateTime time;    // when the copy was written
  qint64 process = 0;

  // UTF-8 lines "file=", "time=" (ISO 8601 with milliseconds), "process=".
  QByteArray ToBytes() const;
  // Any bytes: what cannot be read stays empty.
  static RecoveryRecord FromBytes(const QByteArray& bytes);
};

// What a copy is made of, taken on the window's thread for the cost of a
// few shared references: the lines are written as they are.
struct RecoverySnapshot {
  Lines lines;
  // The saved copy: lines equal to it need no copy, and an old one goes.
  Lines saved;
  // A key's text being typed, not yet in the lines: made in the copy only.
  ChangeSet typing;
  QString dataFile;
};

// The question at start-up about a copy left behind.
QString RecoveryQuestion(const RecoveryRecord& record, bool savedLater);

// A copy left by a program that has ended. Its lock is held while this
// object lives, so no other start offers it at the same time; when the
// object goes without Discard, the copy stays for the next start.
class LeftCopy {
 public:
  LeftCopy(QString folder, QString name, std::unique_ptr<QLockFile> lock, RecoveryRecord record);
  LeftCopy(LeftCopy&&) noexcept;
  LeftCopy& operator=(LeftCopy&&) noexcept;
  ~LeftCopy();

  const RecoveryRecord& Record() const { return record_; }
  QString CopyPath() const;
  // The data file was written after the copy.
  bool SavedLater() const;
  // Removes the copy, its record and its lock.
  void Discard();

 private:
  friend class RecoveryCopies;
  QString folder_;
  QString name_;
  std::unique_ptr<QLockFile> lock_;
  RecoveryRecord record_;
};

// The copies in `folder` that programs which have ended left behind, the
// newest first. The remains of an ended program without a copy (a lock, a
// temporary file) are removed on the way.
std::vector<LeftCopy> FindLeftCopies(const QString& folder);

// This program's copy. Writing and removing happen on a worker thread, one
// after another in the order asked for, so the window never waits for the
// disk; a failed write leaves the copy before it as it was and says
// nothing: the next change tries again.
class RecoveryCopies {
 public:
  explicit RecoveryCopies(const QString& folder);
  // Removes the copy unless KeepAtExit was called; waits for the worker.
  ~RecoveryCopies();
  RecoveryCopies(const RecoveryCopies&) = delete;
  RecoveryCopies& operator=(const RecoveryCopies&) = delete;

  // Lines that differ from the saved copy make or replace the copy; equal
  // ones remove it. A write not yet begun when a newer one is asked for is
  // left out.
  void Write(RecoverySnapshot snapshot);
  void Remove();
  // The program ends without its questions (the session ends): the copy
  // stays for the next start.
  void KeepAtExit() { keep_ = true; }
  // A recovered document's copy becomes this program's copy.
  void Adopt(LeftCopy&& copy);
  // Until every write and removal asked for is done.
  void Wait();

 private:
  // What the worker works on; touched only by the worker once it runs.
  struct State;
  std::shared_ptr<State> state_;
  QThreadPool worker_;
  bool keep_ = false;
};
