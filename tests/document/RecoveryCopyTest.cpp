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
const RecoveryOwner kBob{"bob", kMe.host, kMe.uid + 1};

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

// Each copy goes only to the user and host that wrote it, and whoever it
// is withheld from cannot delete it.
TEST(LeftCopies, ACopyIsOfferedOnlyToItsWriterAndAnyOtherIsToldOf) {
  const RecoveryOwner meElsewhere{kMe.user, "pc2", kMe.uid};
  const RecoveryOwner meAsOtherUid{kMe.user, kMe.host, kMe.uid + 1};
  const auto lockFails = [](QLockFile&) { return QLockFile::UnknownError; };  // a full disk
  struct Case {
    const char* name;
    RecoveryOwner writer;
    bool record;
    RecoveryOwner reader;
    LockAttempt attempt;
    std::optional<WithheldCopy::Reason> withheld;
    const char* line;
  } cases[] = {
      {"own", kMe, true, kMe, {}, {}, ""},
      {"another user's", kBob, true, kMe, {}, WithheldCopy::Reason::kOtherOwner, "site.VRD（bob@%1 の変更）"},
      {"mine, read by that user", kMe, true, kBob, {}, WithheldCopy::Reason::kOtherOwner, "site.VRD（%2@%1 の変更）"},
      {"on another host", kMe, true, meElsewhere, {}, WithheldCopy::Reason::kOtherOwner, "site.VRD（%2@%1 の変更）"},
      {"lock not made", kMe, true, kMe, lockFails, WithheldCopy::Reason::kCannotLock, "site.VRD（空き容量不足などで開けません）"},
      {"no record, own file", kMe, false, kMe, {}, {}, ""},
      {"no record, another's file", kMe, false, meAsOtherUid, {}, WithheldCopy::Reason::kOtherOwner,
       "（ファイル名不明）（ほかのユーザーの変更）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery"), site = dir.filePath("site.VRD");
    WriteBytes(site, "site");
    LeaveCopy(folder, c.writer, SimpleDocument(1), site);
    if (!c.record) QFile::remove(QDir(folder).filePath(FilesIn(folder).filter(".record").value(0)));
    const QStringList before = FilesIn(folder);

    FoundCopies found = FindLeftCopies(folder, c.reader, c.attempt);
    ASSERT_EQ(found.offered.size(), c.withheld ? 0u : 1u);
    ASSERT_EQ(found.withheld.size(), c.withheld ? 1u : 0u);
    if (c.withheld) {
      EXPECT_EQ(found.withheld[0].reason, *c.withheld);
      EXPECT_EQ(WithheldCopiesLine(found.withheld),
                QStringLiteral("今は復元できない変更：") + QString::fromUtf8(c.line).replace("%1", kMe.host).replace("%2", kMe.user));
    } else {
      EXPECT_EQ(found.offered[0].DataFile(), c.record ? site : QString());
      found.offered[0].Discard();
    }
    found = {};
    EXPECT_EQ(FilesIn(folder), c.withheld ? before : QStringList{});
    EXPECT_EQ(ReadBytes(site), "site");
  }
}

// The writer stopped (killed) or failing (a full disk) at every call of a
// write: the next start offers the copy before or the new one, always
// under the file its record names, and finds no temporary file.
TEST(RecoveryCopies, AWriterKilledOrFailingAtAnyStepLeavesAWholeUnit) {
  QTemporaryDir dir;
  const QString a = dir.filePath("a.VRD"), b = dir.filePath("b.VRD");
  WriteBytes(a, "a");
  const Lines before = SimpleDocument(1), after = SimpleDocument(2);
  struct Case {
    const char* name;
    bool unitBefore;
    QString fileAfter;  // another file: the name a failed "save as" chose
  } cases[] = {{"first copy", false, a}, {"next copy", true, a}, {"copy under a new name", true, b}};
  for (const Case& c : cases) {
    for (const bool killed : {true, false}) {
      for (int k = 0;; ++k) {
        SCOPED_TRACE(testing::Message() << c.name << (killed ? " killed at " : " failing at ") << k);
        const QString folder = dir.filePath(QStringLiteral("recovery%1").arg(k));
        int calls = 0;
        {
          RecoveryCopies writer(folder);
          if (c.unitBefore) writer.Write({before, {}, {}, a});
          writer.Wait();
          FailingCalls failing;
          (killed ? failing.stopAt : failing.failAt) = k;
          failing.failErrno = ENOSPC;
          writer.Write({after, {}, {}, c.fileAfter});
          writer.Wait();
          writer.KeepAtExit();
          calls = failing.calls.size();
        }
        FoundCopies found = FindLeftCopies(folder);
        ASSERT_LE(found.offered.size(), 1u);
        if (c.unitBefore || k >= calls) {
          ASSERT_EQ(found.offered.size(), 1u);
        }
        if (!found.offered.empty()) {
          const Lines lines = SplitLines(ReadBytes(found.offered[0].CopyPath()));
          const QString file = found.offered[0].DataFile();
          EXPECT_TRUE(lines == after ? file == c.fileAfter : lines == before && (file == a || file == c.fileAfter));
          if (k >= calls) {
            EXPECT_EQ(lines, after);
          }
        }
        EXPECT_TRUE(FilesIn(folder).filter(".tmp").isEmpty());
        found = {};
        QDir(folder).removeRecursively();
        if (k >= calls) break;
      }
    }
  }
  EXPECT_EQ(ReadBytes(a), "a");
  EXPECT_FALSE(QFile::exists(b));
}
