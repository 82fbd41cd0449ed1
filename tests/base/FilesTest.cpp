// Line files and the INI settings file.
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "base/DialogFolder.h"
#include "base/Hints.h"
#include "base/IniFile.h"
#include "base/LineIO.h"
#include "base/Prompts.h"
#include "support/FailingCalls.h"
#include "support/TestFiles.h"

TEST(LineIO, SplitsOnEveryKindOfLineEnd) {
  Lines expected{"a", "b", "", "c"};
  EXPECT_EQ(SplitLines("a\r\nb\r\n\r\nc\r\n"), expected);
  EXPECT_EQ(SplitLines("a\nb\n\nc\n"), expected);
  EXPECT_EQ(SplitLines("a\rb\r\rc"), expected);
  EXPECT_EQ(SplitLines("a\r\nb\n\rc"), expected);  // LF then a lone CR: an empty line between
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("\r\n"), Lines{""});
  EXPECT_EQ(SplitLines(QByteArray("a\r\nb\0c\r\nd", 9)), (Lines{"a", "b"}));
}

TEST(LineIO, WritesCrLfAfterEveryLine) {
  EXPECT_EQ(JoinLines({"x", "", "y"}), QByteArray("x\r\n\r\ny\r\n"));
  EXPECT_EQ(JoinLines({}), QByteArray());
  QTemporaryDir dir;
  QString path = dir.filePath("f.txt");
  Lines lines{"1", QByteArray(10, '\xFF'), "end"};
  ASSERT_TRUE(WriteLinesFile(path, lines));
  Lines back;
  ASSERT_TRUE(ReadLinesFile(path, &back));
  EXPECT_EQ(back, lines);
  EXPECT_FALSE(ReadLinesFile(dir.filePath("missing"), &back));
  EXPECT_FALSE(WriteLinesFile(dir.filePath("no/such/dir/f"), lines));
}

TEST(LineIO, FailedWriteLeavesTheOldFile) {
  QTemporaryDir dir;
  QString path = dir.filePath("keep.txt");
  WriteBytes(path, "old\r\n");
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  bool ok = WriteLinesFile(path, {"new"});
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (ok) GTEST_SKIP() << "running with rights that ignore folder permissions";
  EXPECT_EQ(ReadBytes(path), QByteArray("old\r\n"));
}

namespace {

const QByteArray kOld = "old file\r\nline 2\r\n";

QStringList FilesIn(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

Lines NewLines() {
  Lines lines;
  for (int i = 0; i < 300; ++i) lines << QByteArray::number(i) + QByteArray(10, '\xFF');
  return lines;
}

}  // namespace

TEST(LineIO, AFullDiskAtAnyByteLeavesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("site.VRD");
  const QByteArray bytes = JoinLines(NewLines());
  for (qint64 room = 0; room < bytes.size(); room += 97) {
    WriteBytes(path, kOld);
    FailingCalls calls;
    calls.diskBytes = room;
    EXPECT_FALSE(WriteFileSafely(path, bytes)) << "disk full after " << room << " bytes";
    EXPECT_EQ(ReadBytes(path), kOld) << room;
    EXPECT_EQ(FilesIn(dir), QStringList{"site.VRD"}) << room;
  }
  FailingCalls calls;
  calls.diskBytes = bytes.size();
  EXPECT_TRUE(WriteFileSafely(path, bytes));
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(LineIO, AFailureAtEveryCallIsReportedAndNeverLeavesAShortFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("site.VRD");
  const QByteArray bytes = JoinLines(NewLines());
  QStringList allCalls;
  {
    WriteBytes(path, kOld);
    FailingCalls calls;
    calls.chunk = 1000;  // several writes
    ASSERT_TRUE(WriteFileSafely(path, bytes));
    allCalls = calls.calls;
  }
  const qsizetype rename = allCalls.indexOf("rename");
  ASSERT_GT(rename, 3);
  ASSERT_EQ(allCalls.mid(rename + 1), (QStringList{"open", "fsync", "close"}));  // the folder
  for (int k = 0; k < allCalls.size(); ++k) {
    WriteBytes(path, kOld);
    FailingCalls calls;
    calls.chunk = 1000;
    calls.failAt = k;
    EXPECT_FALSE(WriteFileSafely(path, bytes)) << allCalls[k].toStdString() << " #" << k;
    // Before the rename the old file stays; after it the new one is whole.
    EXPECT_EQ(ReadBytes(path), k <= rename ? kOld : bytes) << k;
    EXPECT_EQ(FilesIn(dir), QStringList{"site.VRD"}) << k;
  }
  WriteBytes(path, kOld);
  FailingCalls lying;
  lying.shortSize = true;
  EXPECT_FALSE(WriteFileSafely(path, bytes));
  EXPECT_EQ(ReadBytes(path), kOld);
  EXPECT_EQ(FilesIn(dir), QStringList{"site.VRD"});
}

TEST(LineIO, ShortWritesStillWriteEveryByteAndKeepThePermissions) {
  QTemporaryDir dir;
  const QString path = dir.filePath("site.VRD");
  WriteBytes(path, kOld);
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  FailingCalls calls;
  calls.chunk = 7;
  ASSERT_TRUE(WriteLinesFile(path, NewLines()));
  EXPECT_EQ(ReadBytes(path), JoinLines(NewLines()));
  EXPECT_EQ(QFile::permissions(path) & QFile::Permissions(0x7077), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

TEST(LineIO, AFolderThatRefusesNewFilesFallsBackToWritingInPlaceOnlyWhenAsked) {
  QTemporaryDir dir;
  const QString path = dir.filePath("VRD6S.ini");
  for (const bool fallback : {false, true}) {
    WriteBytes(path, kOld);
    FailingCalls calls;
    calls.failAt = 0;  // the temporary file cannot be made
    calls.failErrno = EACCES;
    EXPECT_EQ(WriteFileSafely(path, "new\r\n", fallback), fallback);
    EXPECT_EQ(ReadBytes(path), fallback ? QByteArray("new\r\n") : kOld);
    EXPECT_EQ(FilesIn(dir), QStringList{"VRD6S.ini"});
  }
  // A missing file is never made in place.
  QFile::remove(path);
  FailingCalls calls;
  calls.failAt = 0;
  calls.failErrno = EACCES;
  EXPECT_FALSE(WriteFileSafely(path, "new\r\n", true));
  EXPECT_FALSE(QFile::exists(path));
}

TEST(Hints, ShortPartNamesTheControlLongPartIsItsStatusText) {
  QWidget button;
  SetHint(&button, QStringLiteral("太字|文字を太字にします。"));
  EXPECT_EQ(button.toolTip(), QStringLiteral("太字"));
  EXPECT_EQ(button.accessibleName(), QStringLiteral("太字"));
  EXPECT_EQ(button.statusTip(), QStringLiteral("文字を太字にします。"));
  EXPECT_EQ(button.accessibleDescription(), QStringLiteral("文字を太字にします。"));
  SetHint(&button, QStringLiteral("フォント切替"));
  EXPECT_EQ(button.accessibleName(), QStringLiteral("フォント切替"));
  EXPECT_EQ(button.statusTip(), QStringLiteral("フォント切替"));
  SetAccessibleCaption(&button, QStringLiteral("保留&&転送(&H)\n内線"));
  EXPECT_EQ(button.accessibleName(), QStringLiteral("保留&転送(H) 内線"));
}

TEST(IniFile, DefaultsForMissingOrWrongValues) {
  QTemporaryDir dir;
  QString path = dir.filePath("VRD6S.ini");
  WriteBytes(path, "[Position]\r\nMainTop=12\r\nMainLeft=abc\r\nmainwidth = 800 \r\n"
                   "[Data]\r\nSelSeriesNo=\r\n");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("Position", "MainTop", 0), 12);
  EXPECT_EQ(ini.ReadInteger("Position", "MainLeft", 5), 5);
  EXPECT_EQ(ini.ReadInteger("POSITION", "MainWidth", 1000), 800);
  EXPECT_EQ(ini.ReadInteger("Data", "SelSeriesNo", 0), 0);
  EXPECT_EQ(ini.ReadInteger("Checked", "DispList", 1), 1);
  EXPECT_EQ(IniFile(dir.filePath("none.ini")).ReadInteger("A", "B", 7), 7);
}

TEST(IniFile, WritesThroughKeepingEverythingElse) {
  QTemporaryDir dir;
  QString path = dir.filePath("VRD6S.ini");
  WriteBytes(path, "; comment\r\n[Other]\r\nKeep=1\r\n\r\n[Position]\r\nMainTop=1\r\nX=2\r\n");
  IniFile ini(path);
  ini.WriteInteger("Position", "MainTop", 40);
  ini.WriteInteger("Position", "MainLeft", -3);
  ini.WriteString("Dir", "OpenPicture", QString::fromUtf8("/opt/ロゴ集"));
  EXPECT_TRUE(ini.LastWriteOk());
  EXPECT_EQ(ReadBytes(path),
            QByteArray("; comment\r\n[Other]\r\nKeep=1\r\n\r\n[Position]\r\nMainTop=40\r\nX=2\r\n"
                       "MainLeft=-3\r\n\r\n[Dir]\r\nOpenPicture=/opt/") + Sj("ロゴ集") + "\r\n");
  IniFile again(path);
  EXPECT_EQ(again.ReadString("Dir", "OpenPicture", ""), QString::fromUtf8("/opt/ロゴ集"));
  EXPECT_EQ(again.ReadInteger("Position", "MainLeft", 0), -3);
}

TEST(IniFile, FirstWriteCreatesTheFileAndFailuresAreSilent) {
  QTemporaryDir dir;
  QString path = dir.filePath("new.ini");
  IniFile ini(path);
  ini.WriteInteger("Checked", "DispList", 0);
  EXPECT_EQ(ReadBytes(path), QByteArray("[Checked]\r\nDispList=0\r\n"));
  IniFile nowhere(dir.filePath("missing/dir/x.ini"));
  nowhere.WriteInteger("A", "B", 1);
  EXPECT_FALSE(nowhere.LastWriteOk());
  EXPECT_EQ(nowhere.ReadInteger("A", "B", 0), 1);  // the value holds for this run
}

TEST(FileDialogs, FiltersMatchBothCasesAndNamesGetTheDefaultExtension) {
  EXPECT_EQ(QtFilterOf(QStringLiteral("示名条ﾃﾞｰﾀﾌｧｲﾙ(*.VRD)|*.VRD")),
            QStringLiteral("示名条ﾃﾞｰﾀﾌｧｲﾙ(*.VRD *.vrd)"));
  EXPECT_EQ(QtFilterOf(QStringLiteral("画像(*.bmp;*.jpg)|*.bmp;*.jpg")), QStringLiteral("画像(*.bmp *.jpg)"));
  EXPECT_EQ(WithDefaultExtension("/a/site", "VRD"), QStringLiteral("/a/site.VRD"));
  EXPECT_EQ(WithDefaultExtension("/a/site.vrd", "VRD"), QStringLiteral("/a/site.vrd"));
  EXPECT_EQ(WithDefaultExtension("/a.b/site", "VRD"), QStringLiteral("/a.b/site.VRD"));
}

// A file dialog opens where it is asked to, else in the folder last used,
// else in the documents folder (home while there is none), never in the
// folder the program was started from.
TEST(DialogStartFolderTest, AskedThenLastUsedThenDocuments) {
  QTemporaryDir asked, last, home;
  const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
  const auto restore = qScopeGuard([&] {
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
  });
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());  // no user-dirs.dirs: ~/Documents
  const QString missing = asked.filePath("missing");
  EXPECT_EQ(DialogStartFolder(asked.path(), last.path()), asked.path());
  EXPECT_EQ(DialogStartFolder(missing, last.path()), last.path());
  EXPECT_EQ(DialogStartFolder(QString(), missing), home.path());
  ASSERT_TRUE(QDir(home.path()).mkdir("Documents"));
  EXPECT_EQ(DialogStartFolder(QString(), QString()), home.filePath("Documents"));
}
