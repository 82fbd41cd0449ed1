#pragma once
// Copies of unsaved changes, so that a crash, a killed session or a power
// cut costs at most the last few seconds of work. They live in the
// recovery folder, never beside the data file. A program with unsaved
// changes keeps three files there under one name:
//   NAME.record  the data file's path, the user and host, the process;
//   NAME.VRD     the document, written like a save; its time is the copy's;
//   NAME.lock    held while the program runs.
// The record is written before the copy and removed after it, so a copy is
// never on disk without the record that names its file. A copy is deleted
// only when its user answers "いいえ", saves, or ends the program normally.
// At start-up the lock tells the copies of programs that ended without
// removing theirs (the lock is free or names a process that is gone) from
// those of programs still running, which are never touched.

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QThreadPool>

#include "base/Lines.h"
#include "document/LineChange.h"

// Who writes a copy: a copy is offered only to the user on the host that
// wrote it; everybody else sees it listed and cannot delete it.
struct RecoveryOwner {
  QString user;
  QString host;
  uint uid = 0;  // decides for a copy whose record does not name its user
  static RecoveryOwner ThisProgram();
};

struct RecoveryRecord {
  QString dataFile;  // empty for a document never saved
  QString user;
  QString host;
  qint64 process = 0;

  bool operator==(const RecoveryRecord&) const = default;
  // UTF-8 lines "file=", "user=", "host=", "process=".
  QByteArray ToBytes() const;
  // Any bytes: nothing when no "file=" line names the data file.
  static std::optional<RecoveryRecord> FromBytes(const QByteArray& bytes);
};

// What a start knows of a copy: its record when one could be read, and
// the time of the copy itself.
struct CopyFacts {
  std::optional<RecoveryRecord> record;
  QDateTime time;
  uint fileOwner = 0;

  // The data file as the question shows it.
  QString FileLabel() const;
  bool WrittenBy(const RecoveryOwner& owner) const;
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

// A copy left by a program that has ended, written by this user on this
// host. Its lock is held while this object lives, so no other start
// offers it at the same time; when the object goes without Discard, the
// copy stays for the next start.
class LeftCopy {
 public:
  LeftCopy(QString folder, QString name, std::unique_ptr<QLockFile> lock, CopyFacts facts);
  LeftCopy(LeftCopy&&) noexcept;
  LeftCopy& operator=(LeftCopy&&) noexcept;
  ~LeftCopy();

  const CopyFacts& Facts() const { return facts_; }
  // The data file named by the record; empty when never saved or unknown.
  QString DataFile() const { return facts_.record ? facts_.record->dataFile : QString(); }
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
  CopyFacts facts_;
};

// A copy that a start cannot offer, only tell of.
struct WithheldCopy {
  enum class Reason { kInUse, kCannotLock, kOtherOwner };
  Reason reason;
  CopyFacts facts;
};

struct FoundCopies {
  std::vector<LeftCopy> offered;  // the newest first
  std::vector<WithheldCopy> withheld;
};

// Takes a copy's lock; tests replace it to fail as a full disk does.
using LockAttempt = std::function<QLockFile::LockError(QLockFile&)>;

// The copies in `folder` that programs which have ended left behind for
// `me`, and those that cannot be offered now. The temporary files of the
// writes of ended programs, and their remains without a copy, are removed
// on the way.
FoundCopies FindLeftCopies(const QString& folder, const RecoveryOwner& me = RecoveryOwner::ThisProgram(),
                           const LockAttempt& attempt = {});

// The question at start-up: はい recovers, いいえ discards after a
// confirmation naming the file and the time, 後で (Escape, the close box,
// the end of the session) keeps the copy for the next start.
enum class RecoveryChoice { kRecover, kDiscard, kLater };
QString RecoveryQuestion(const LeftCopy& copy);
QString DiscardConfirmation(const LeftCopy& copy);
RecoveryChoice AskAboutCopy(const LeftCopy& copy);
// One line telling of the copies not offered; empty when there are none.
QString WithheldCopiesLine(const std::vector<WithheldCopy>& withheld);
// The same, a line per copy with its full path and time.
QString WithheldCopiesDetails(const std::vector<WithheldCopy>& withheld);

// This program's copy. Writing and removing happen on a worker thread, one
// after another in the order asked for, so the window never waits for the
// disk; a failed write leaves the copy before it as it was and says
// nothing: the next change tries again.
class RecoveryCopies {
 public:
  explicit RecoveryCopies(const QString& folder, const RecoveryOwner& owner = RecoveryOwner::ThisProgram());
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
