// Recovery copies: the record, and which copies a start-up finds. Their
// life in the window is tested through the window.
#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DocumentBuilder.h"
#include "base/LineIO.h"
#include "document/RecoveryCopy.h"
#include "support/TestFiles.h"

namespace {
// A path may hold any character, the record's own escapes included.
const QString kAwkwardPath = QStringLiteral("/現場/大阪 本社%0A\nc\r.VRD");
}  // namespace

TEST(RecoveryRecord, AnyBytesAreReadSafely) {
  for (const QByteArray& bytes : {QByteArray("time=yesterday\nprocess=x\n=\nfile"), QByteArray(300, '\xff')}) {
    EXPECT_FALSE(RecoveryRecord::FromBytes(bytes).time.isValid());
  }
}

TEST(LeftCopies, AStartFindsTheCopiesOfEndedProgramsNewestFirst) {
  QTemporaryDir dir;
  const QString folder = dir.filePath("recovery");
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
  WriteBytes(killed + ".record", RecoveryRecord{kAwkwardPath, QDateTime::currentDateTime().addSecs(60), 99999}.ToBytes());
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

  std::vector<LeftCopy> found = FindLeftCopies(folder);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].Record().dataFile, kAwkwardPath);  // read back as written
  EXPECT_EQ(found[0].CopyPath(), killed + ".VRD");
  EXPECT_EQ(SplitLines(ReadBytes(found[1].CopyPath())), older);
  EXPECT_TRUE(found[1].Record().dataFile.isEmpty());
  for (LeftCopy& copy : found) copy.Discard();
  // What is left is the running program's copy, record and lock.
  const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left.size(), 3) << left.join(' ').toStdString();
  EXPECT_TRUE(ReadBytes(QDir(folder).filePath(left.filter(".record").value(0))).contains("/data/running.VRD"));
}
