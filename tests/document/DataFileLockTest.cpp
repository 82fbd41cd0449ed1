// The lock beside an open data file: what it holds, whose it is, taking it
// over, and a folder that takes no lock.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>

#include "document/DataFileLock.h"
#include "support/FailingCalls.h"
#include "support/TestFiles.h"

namespace {

const QDateTime kNow = QDateTime(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);

LockHolder Holder(const char* host, qint64 process, const QDateTime& time) {
  return {QStringLiteral("sato"), QString::fromLatin1(host), process, time};
}

// Another computer's lock, taken a minute ago: held by anyone's measure.
LockHolder AnotherComputer() {
  return Holder("pc-reception", 4711, QDateTime::currentDateTimeUtc().addSecs(-60));
}

class DataFileLockTest : public ::testing::Test {
 protected:
  QString DataFile() const { return dir.filePath(QStringLiteral("site.VRD")); }
  QString LockFile() const { return dir.filePath(QStringLiteral(".~lock.site.VRD#")); }
  LockHolder OnDisk() const { return LockHolder::FromBytes(ReadBytes(LockFile())); }
  QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir dir;
};

}  // namespace

TEST(LockHolderTest, JudgedByProcessHereAndByAgeElsewhere) {
  const LockHolder self = Holder("pc-office", 100, kNow);
  const auto runs = [](qint64 pid, const QDateTime&) { return pid == 200; };
  struct Case {
    LockHolder found;
    LockStatus expected;
  };
  const Case cases[] = {
      {Holder("pc-office", 100, kNow.addDays(-3)), LockStatus::kOurs},
      {Holder("pc-office", 200, kNow.addDays(-3)), LockStatus::kHeld},   // runs, however old
      {Holder("pc-office", 300, kNow.addSecs(-5)), LockStatus::kStale},  // gone, however young
      {Holder("pc-other", 100, kNow.addSecs(-23 * 3600)), LockStatus::kHeld},
      {Holder("pc-other", 100, kNow.addSecs(-25 * 3600)), LockStatus::kStale},
      {LockHolder(), LockStatus::kHeld},  // unreadable: somebody's
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeLock(c.found, self, kNow, runs), c.expected) << c.found.ToBytes().toStdString();
  }

  // The record keeps any text on one line per field.
  const LockHolder odd{QStringLiteral("ユーザー%\n名"), QStringLiteral("pc\r1"), 42, kNow};
  const LockHolder back = LockHolder::FromBytes(odd.ToBytes());
  EXPECT_EQ(back.user, odd.user);
  EXPECT_EQ(back.host, odd.host);
  EXPECT_EQ(back.process, 42);
  EXPECT_EQ(back.time, kNow);
  EXPECT_EQ(odd.ToBytes().count('\n'), 4);

  const LockHolder shown{QStringLiteral("sato"), QStringLiteral("pc-reception"), 1,
                         QDateTime(QDate(2026, 3, 1), QTime(9, 5), Qt::LocalTime)};
  EXPECT_EQ(LockHeldText(shown), QStringLiteral("このファイルは sato (pc-reception) が 2026/03/01 09:05 から開いています。"));
  EXPECT_EQ(LockPathOf(QStringLiteral("/share/site.VRD")), QStringLiteral("/share/.~lock.site.VRD#"));
}

TEST_F(DataFileLockTest, TakenWhileOpenRemovedWhenClosedAndTakenOverOnlyWhenAsked) {
  {
    DataFileLock lock;
    ASSERT_EQ(lock.Take(DataFile(), false), DataFileLock::Result::kTaken);
    EXPECT_EQ(Files(), QStringList{".~lock.site.VRD#"});  // nothing else left behind
    const LockHolder mine = OnDisk();
    EXPECT_TRUE(mine.SameProgram(LockHolder::ThisProgram()));
    EXPECT_FALSE(mine.user.isEmpty());
    EXPECT_EQ(InspectLock(DataFile()).status, LockStatus::kOurs);
    DataFileLock moved = std::move(lock);
    EXPECT_TRUE(moved.IsTaken());
  }
  EXPECT_TRUE(Files().isEmpty());
  // Another program's lock is kept until taken over.
  WriteBytes(LockFile(), AnotherComputer().ToBytes());
  DataFileLock lock;
  LockHolder found;
  EXPECT_EQ(lock.Take(DataFile(), false, &found), DataFileLock::Result::kHeld);
  EXPECT_EQ(found.host, QStringLiteral("pc-reception"));
  ASSERT_EQ(lock.Take(DataFile(), true), DataFileLock::Result::kTaken);
  // The other program takes it back: releasing ours leaves theirs alone.
  WriteBytes(LockFile(), AnotherComputer().ToBytes());
  lock.Release();
  EXPECT_EQ(OnDisk().host, QStringLiteral("pc-reception"));
}

TEST_F(DataFileLockTest, ALockLeftByAKilledProgramIsTakenOverSilently) {
  QProcess killed;
  killed.start(QStringLiteral("sleep"), {QStringLiteral("60")});
  ASSERT_TRUE(killed.waitForStarted());
  LockHolder left = LockHolder::ThisProgram();
  left.process = killed.processId();
  WriteBytes(LockFile(), left.ToBytes());
  EXPECT_EQ(InspectLock(DataFile()).status, LockStatus::kHeld);
  // The same number taken by a process that began after the lock was.
  EXPECT_FALSE(ProcessRunsSince(left.process, left.time.addSecs(-3600)));
  ::kill(pid_t(killed.processId()), SIGKILL);
  ASSERT_TRUE(killed.waitForFinished());
  EXPECT_EQ(InspectLock(DataFile()).status, LockStatus::kStale);
  DataFileLock lock;
  EXPECT_EQ(lock.Take(DataFile(), false), DataFileLock::Result::kTaken);
  EXPECT_TRUE(OnDisk().SameProgram(LockHolder::ThisProgram()));
}

TEST_F(DataFileLockTest, FailuresWhileWritingTheLock) {
  // The calls of taking a free lock: open, write and close a temporary
  // file, then link it into place.
  struct Case {
    int failAt;
    int error;
    DataFileLock::Result expected;
  };
  const Case cases[] = {
      {0, EROFS, DataFileLock::Result::kFailed},  // a read-only share
      {1, ENOSPC, DataFileLock::Result::kFailed},
      {2, EIO, DataFileLock::Result::kFailed},
      {3, EIO, DataFileLock::Result::kFailed},
      {3, EPERM, DataFileLock::Result::kTaken},   // no hard links: renamed into place
      {3, EEXIST, DataFileLock::Result::kTaken},  // looked at again: free after all
  };
  for (const Case& c : cases) {
    FailingCalls calls;
    calls.failAt = c.failAt;
    calls.failErrno = c.error;
    DataFileLock lock;
    EXPECT_EQ(lock.Take(DataFile(), false), c.expected) << c.failAt << " " << c.error;
    const QStringList left = Files();
    EXPECT_EQ(left, c.expected == DataFileLock::Result::kTaken ? QStringList{".~lock.site.VRD#"} : QStringList())
        << c.failAt << " " << left.join(' ').toStdString();
    lock.Release();
  }
}
