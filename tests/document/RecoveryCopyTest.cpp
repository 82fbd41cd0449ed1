// Recovery copies: the record, which copies a start finds and for whom,
// and a writer killed or failing at every step. Their life in the window
// is tested through the window.
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
// A path may hold any character, the record's own escapes included.
const QString kAwkwardPath = QStringLiteral("/現場/大阪 本社%0A\nc\r.VRD");
const RecoveryOwner kMe = RecoveryOwner::ThisProgram();

QStringList FilesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

// A copy written by `owner`, whose program then ended with its session.
void LeaveCopy(const QString& folder, const RecoveryOwner& owner, const Lines& lines, const QString& dataFile) {
  RecoveryCopies ended(folder, owner);
  ended.Write({lines, {}, {}, dataFile});
  ended.KeepAtExit();
}
}  // namespace

TEST(RecoveryRecord, AnyBytesAreReadSafely) {
  for (const QByteArray& bytes : {QByteArray("time=yesterday\nprocess=x\n=\nfile"), QByteArray(300, '\xff')}) {
    EXPECT_FALSE(RecoveryRecord::FromBytes(bytes));
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
  LeaveCopy(folder, kMe, older, "");
  // One was killed in the middle of a write: its lock names a process that
  // is gone.
  const QString killed = QDir(folder).filePath("20240101-100000-99999");
  WriteBytes(killed + ".record", RecoveryRecord{kAwkwardPath, kMe.user, kMe.host, 99999}.ToBytes());
  WriteBytes(killed + ".VRD", JoinLines(newer));
  WriteBytes(killed + ".VRD.tmp1a2b", "half");
  const pid_t child = fork();
  if (child == 0) _exit(QLockFile(killed + ".lock").tryLock(0) ? 0 : 1);  // _exit: the lock stays
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(QFile::exists(killed + ".lock"));
  QFile copy(killed + ".VRD");
  ASSERT_TRUE(copy.open(QIODevice::ReadWrite) && copy.setFileTime(QDateTime::currentDateTime().addSecs(60), QFile::FileModificationTime));
  copy.close();
  // The remains of a third, without a copy, are cleared away; the copy of
  // a program that runs is left alone and told of.
  WriteBytes(QDir(folder).filePath("20000101-000000-1.record"), "file=/x.VRD\n");
  RecoveryCopies running(folder);
  running.Write({older, saved, {}, "/data/running.VRD"});
  running.Wait();

  FoundCopies found = FindLeftCopies(folder);
  ASSERT_EQ(found.offered.size(), 2u);
  EXPECT_EQ(found.offered[0].DataFile(), kAwkwardPath);  // read back as written
  EXPECT_EQ(found.offered[0].CopyPath(), killed + ".VRD");
  EXPECT_EQ(SplitLines(ReadBytes(found.offered[1].CopyPath())), older);
  EXPECT_EQ(found.offered[1].Facts().FileLabel(), QStringLiteral("（新規作成・未保存）"));
  EXPECT_EQ(WithheldCopiesLine(found.withheld), QStringLiteral("今は復元できない変更：running.VRD（使用中）"));
  EXPECT_FALSE(QFile::exists(killed + ".VRD.tmp1a2b"));
  for (LeftCopy& left : found.offered) left.Discard();
  // What is left is the running program's record, copy and lock.
  const QStringList left = FilesIn(folder);
  EXPECT_EQ(left.size(), 3) << left.join(' ').toStdString();
  EXPECT_TRUE(ReadBytes(QDir(folder).filePath(left.filter(".record").value(0))).contains("/data/running.VRD"));
}

// Each copy goes only to the user and host that wrote it; whoever it is
// withheld from sees it named and cannot delete it.
TEST(LeftCopies, ACopyIsOfferedOnlyToItsWriterAndAnyOtherIsToldOf) {
  const RecoveryOwner alice{"alice", "pc1", ::getuid()}, bob{"bob", "pc1", ::getuid() + 1}, aliceOnPc2{"alice", "pc2", ::getuid()};
  const auto lockFails = [](QLockFile&) { return QLockFile::UnknownError; };  // as on a full disk
  const struct {
    RecoveryOwner writer;
    bool record;
    RecoveryOwner reader;
    LockAttempt attempt;
    const char* withheldAs;  // empty when offered
  } cases[] = {
      {alice, true, alice, {}, ""},
      {bob, true, alice, {}, "site.VRD（bob@pc1 の変更）"},
      {alice, true, bob, {}, "site.VRD（alice@pc1 の変更）"},
      {alice, true, aliceOnPc2, {}, "site.VRD（alice@pc1 の変更）"},
      {alice, true, alice, lockFails, "site.VRD（空き容量不足などで開けません）"},
      {alice, false, alice, {}, ""},
      {alice, false, bob, {}, "（ファイル名不明）（ほかのユーザーの変更）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.withheldAs);
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery"), site = dir.filePath("site.VRD");
    WriteBytes(site, "site");
    LeaveCopy(folder, c.writer, SimpleDocument(1), site);
    if (!c.record) QFile::remove(QDir(folder).filePath(FilesIn(folder).filter(".record").value(0)));
    const QStringList before = FilesIn(folder);
    const bool offered = *c.withheldAs == 0;

    FoundCopies found = FindLeftCopies(folder, c.reader, c.attempt);
    ASSERT_EQ(found.offered.size(), offered ? 1u : 0u);
    EXPECT_EQ(WithheldCopiesLine(found.withheld), offered ? QString() : "今は復元できない変更：" + QString::fromUtf8(c.withheldAs));
    for (LeftCopy& copy : found.offered) {
      EXPECT_EQ(copy.DataFile(), c.record ? site : QString());
      copy.Discard();
    }
    found = {};
    EXPECT_EQ(FilesIn(folder), offered ? QStringList{} : before);
    EXPECT_EQ(ReadBytes(site), "site");
  }
}

// The writer stopped (killed) or failing (a full disk) at every call of a
// write: the next start offers the copy before or the new one, never the
// new one under the file before, and finds no temporary file.
TEST(RecoveryCopies, AWriterKilledOrFailingAtAnyStepLeavesAWholeUnit) {
  QTemporaryDir dir;
  const QString a = dir.filePath("a.VRD"), b = dir.filePath("b.VRD");
  WriteBytes(a, "a");
  const Lines before = SimpleDocument(1), after = SimpleDocument(2);
  const auto offered = [&](const QString& folder) {
    QStringList seen;
    for (const LeftCopy& copy : FindLeftCopies(folder).offered) {
      const Lines lines = SplitLines(ReadBytes(copy.CopyPath()));
      seen << (lines == after ? "after " : lines == before ? "before " : "other ") + QFileInfo(copy.DataFile()).fileName();
    }
    return seen.join(',');
  };
  const struct {
    bool unitBefore;
    QString fileAfter;  // b: the name a failed "save as" chose
    QStringList allowed;  // the last one once the write is through
  } cases[] = {{false, a, {"", "after a.VRD"}},
               {true, a, {"before a.VRD", "after a.VRD"}},
               {true, b, {"before a.VRD", "before b.VRD", "after b.VRD"}}};
  int runs = 0;
  for (const auto& c : cases) {
    for (const bool killed : {true, false}) {
      for (int k = 0, calls = 1; k < calls; ++k) {
        SCOPED_TRACE(testing::Message() << c.allowed.last().toStdString() << (killed ? " killed at " : " failing at ") << k);
        const QString folder = dir.filePath(QString::number(++runs));
        std::optional<RecoveryCopies> writer(std::in_place, folder);
        if (c.unitBefore) writer->Write({before, {}, {}, a});
        writer->Wait();
        {
          FailingCalls failing;
          (killed ? failing.stopAt : failing.failAt) = k;
          failing.failErrno = ENOSPC;
          writer->Write({after, {}, {}, c.fileAfter});
          writer->Wait();
          calls = failing.calls.size() + 1;  // one more, with nothing failing
        }
        writer->KeepAtExit();
        writer.reset();  // the program is gone
        const QString seen = offered(folder);
        EXPECT_TRUE(c.allowed.contains(seen)) << seen.toStdString();
        if (k + 1 == calls) {
          EXPECT_EQ(seen, c.allowed.last());
        }
        EXPECT_TRUE(FilesIn(folder).filter(".tmp").isEmpty());
      }
    }
  }
  EXPECT_EQ(ReadBytes(a), "a");
  EXPECT_FALSE(QFile::exists(b));
}
