// Recovery copies: the record, the copy's life from the first write to the
// exit, a full disk, and which copies a start-up finds.
#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DocumentBuilder.h"
#include "base/LineIO.h"
#include "document/RecoveryCopy.h"
#include "support/FailingCalls.h"
#include "support/TestFiles.h"

namespace {

struct RecoveryCopyTest : ::testing::Test {
  QTemporaryDir dir;
  QString folder = dir.filePath("recovery");

  QStringList Files(const QString& pattern = "*") const {
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
  }
  Lines CopyLines() const {
    const QStringList copies = Files("*.VRD");
    return copies.size() == 1 ? SplitLines(ReadBytes(QDir(folder).filePath(copies[0]))) : Lines();
  }
  RecoveryRecord Record() const {
    const QStringList records = Files("*.record");
    return RecoveryRecord::FromBytes(records.size() == 1 ? ReadBytes(QDir(folder).filePath(records[0])) : "");
  }
};

}  // namespace

TEST(RecoveryRecord, ReadsBackWhatItWritesAndAnyBytesSafely) {
  const QDateTime when = QDateTime::fromString("2024-05-01T13:45:10.123+09:00", Qt::ISODateWithMs);
  for (const QString& file : {QString(), QStringLiteral("/現場/大阪 本社.VRD"), QStringLiteral("/a%0A/b\nc\r.VRD")}) {
    const RecoveryRecord back = RecoveryRecord::FromBytes(RecoveryRecord{file, when, 4242}.ToBytes());
    EXPECT_EQ(back.dataFile, file);
    EXPECT_EQ(back.time, when);
    EXPECT_EQ(back.process, 4242);
  }
  for (const QByteArray& bytes : {QByteArray(), QByteArray("time=yesterday\nprocess=x\n=\nfile"), QByteArray(300, '\xff')}) {
    const RecoveryRecord read = RecoveryRecord::FromBytes(bytes);
    EXPECT_FALSE(read.time.isValid());
    EXPECT_EQ(read.process, 0);
  }
}

TEST(RecoveryRecord, TheQuestionNamesTheFileAndTheTime) {
  const QDateTime when(QDate(2024, 5, 1), QTime(13, 45, 10));
  const QString head = QStringLiteral("前回、保存されずに終了した変更があります。復元しますか？\n");
  EXPECT_EQ(RecoveryQuestion({"/data/site.VRD", when, 1}, false),
            head + QStringLiteral("ファイル：/data/site.VRD\n日時：2024/05/01 13:45:10"));
  EXPECT_EQ(RecoveryQuestion({"", when, 1}, true),
            head + QStringLiteral("ファイル：（新規作成・未保存）\n日時：2024/05/01 13:45:10\n"
                                  "このファイルは、この変更より後に保存されています。"));
}

TEST_F(RecoveryCopyTest, ACopyFollowsTheChangesAndANormalExitLeavesNothing) {
  const Lines saved = SimpleDocument(2);
  Lines changed = saved;
  changed.replace(5, "changed");
  // The key being typed: its line written into the copy only.
  const ChangeSet typing{{7, Lines{saved[7]}, Lines{"typed"}, false}};
  Lines typed = changed;
  typed.replace(7, "typed");
  struct Step {
    const char* what;
    Lines lines;
    ChangeSet typing;
    Lines copy;  // empty: no copy
  };
  const Step steps[] = {
      {"a change", changed, {}, changed},
      {"typing", changed, typing, typed},
      {"back to the saved lines", saved, {}, {}},
      {"changed again", changed, {}, changed},
  };
  {
    RecoveryCopies copies(folder);
    for (const Step& step : steps) {
      SCOPED_TRACE(step.what);
      copies.Write({step.lines, saved, step.typing, "/data/site.VRD"});
      copies.Wait();
      EXPECT_EQ(CopyLines(), step.copy);
      EXPECT_EQ(Files("*.record").size(), step.copy.isEmpty() ? 0 : 1);
    }
    EXPECT_EQ(Record().dataFile, "/data/site.VRD");
    EXPECT_EQ(Record().process, QCoreApplication::applicationPid());
    EXPECT_LE(qAbs(Record().time.secsTo(QDateTime::currentDateTime())), 5);
    // The copy of a running program is not offered, nor touched.
    EXPECT_TRUE(FindLeftCopies(folder).empty());
    EXPECT_EQ(CopyLines(), changed);
  }
  EXPECT_TRUE(Files().isEmpty());
}

TEST_F(RecoveryCopyTest, AFullDiskLeavesTheCopyBeforeIntact) {
  RecoveryCopies copies(folder);
  const Lines saved = SimpleDocument(3);
  Lines first = saved, second = saved;
  first.replace(4, "first");
  second.replace(4, "second");
  copies.Write({first, saved, {}, "/data/site.VRD"});
  copies.Wait();
  const qint64 size = JoinLines(second).size();
  for (const qint64 diskBytes : {qint64(0), size / 2, size - 1}) {
    FailingCalls full;
    full.diskBytes = diskBytes;
    full.failErrno = ENOSPC;
    copies.Write({second, saved, {}, "/data/other.VRD"});
    copies.Wait();
    EXPECT_EQ(CopyLines(), first) << diskBytes;
    EXPECT_EQ(Record().dataFile, "/data/site.VRD");
    EXPECT_EQ(Files().size(), 3) << Files().join(' ').toStdString();  // no temporary file left
  }
  copies.Write({second, saved, {}, "/data/other.VRD"});  // the disk has room again
  copies.Wait();
  EXPECT_EQ(CopyLines(), second);
}

TEST_F(RecoveryCopyTest, AStartFindsTheCopiesOfEndedProgramsNewestFirst) {
  const Lines saved = SimpleDocument(1);
  Lines older = saved, newer = saved;
  older.replace(4, "older");
  newer.replace(4, "newer");
  // One program ended with its session: its copy stays, its lock is gone.
  {
    RecoveryCopies ended(folder);
    ended.Write({older, saved, {}, ""});
    ended.KeepAtExit();
  }
  // One was killed in the middle of a write: its lock names a process that
  // is gone.
  const QString killed = QDir(folder).filePath("20240101-100000-99999");
  WriteBytes(killed + ".VRD", JoinLines(newer));
  WriteBytes(killed + ".VRD.tmp1a2b", "half");
  WriteBytes(killed + ".record", RecoveryRecord{"/data/site.VRD", QDateTime::currentDateTime().addSecs(60), 99999}.ToBytes());
  const pid_t child = fork();
  if (child == 0) _exit(QLockFile(killed + ".lock").tryLock(0) ? 0 : 1);  // _exit: the lock stays
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(QFile::exists(killed + ".lock"));
  // The remains of a third, without a copy, are cleared away; the copy of
  // a program that runs is left alone.
  WriteBytes(QDir(folder).filePath("20000101-000000-1.record"), "file=/x.VRD\n");
  RecoveryCopies running(folder);
  running.Write({older, saved, {}, "/data/running.VRD"});
  running.Wait();

  for (bool discard : {false, true}) {
    std::vector<LeftCopy> found = FindLeftCopies(folder);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Record().dataFile, "/data/site.VRD");
    EXPECT_EQ(found[0].CopyPath(), killed + ".VRD");
    EXPECT_EQ(SplitLines(ReadBytes(found[1].CopyPath())), older);
    EXPECT_TRUE(found[1].Record().dataFile.isEmpty());
    if (discard) {
      for (LeftCopy& copy : found) copy.Discard();
    }
  }
  // What is left is the running program's copy, record and lock.
  EXPECT_EQ(Files().size(), 3) << Files().join(' ').toStdString();
  EXPECT_EQ(Record().dataFile, "/data/running.VRD");
}
