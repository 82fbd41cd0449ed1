// Recovery copies: the record, the question, and which copies a start-up
// finds. Their life in the window is tested through the window.
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
#include "support/TestFiles.h"

TEST(RecoveryRecord, ReadsBackWhatItWritesAndAnyBytesSafely) {
  const QDateTime when = QDateTime::fromString("2024-05-01T13:45:10.123+09:00", Qt::ISODateWithMs);
  for (const QString& file : {QString(), QStringLiteral("/現場/大阪 本社.VRD"), QStringLiteral("/a%0A/b\nc\r.VRD")}) {
    const RecoveryRecord back = RecoveryRecord::FromBytes(RecoveryRecord{file, when, 4242}.ToBytes());
    EXPECT_TRUE(back.dataFile == file && back.time == when && back.process == 4242) << file.toStdString();
  }
  for (const QByteArray& bytes : {QByteArray("time=yesterday\nprocess=x\n=\nfile"), QByteArray(300, '\xff')}) {
    EXPECT_FALSE(RecoveryRecord::FromBytes(bytes).time.isValid());
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

  std::vector<LeftCopy> found = FindLeftCopies(folder);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].Record().dataFile, "/data/site.VRD");
  EXPECT_EQ(found[0].CopyPath(), killed + ".VRD");
  EXPECT_EQ(SplitLines(ReadBytes(found[1].CopyPath())), older);
  EXPECT_TRUE(found[1].Record().dataFile.isEmpty());
  for (LeftCopy& copy : found) copy.Discard();
  // What is left is the running program's copy, record and lock.
  const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left.size(), 3) << left.join(' ').toStdString();
  EXPECT_TRUE(ReadBytes(QDir(folder).filePath(left.filter(".record").value(0))).contains("/data/running.VRD"));
}
