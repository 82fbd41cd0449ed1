// Key-label files: reading with the fall-back to the defaults, writing and
// reading back, and vrdtool keylabels on top of both.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "document/Series.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/KeyLabelFile.h"
#include "keylabels/PaletteList.h"
#include "support/RunVrdtool.h"
#include "support/TestFiles.h"

namespace {

// The defaults of a series with entry 0 changed, so that a list read from a
// file can be told from the defaults.
Lines EditedList(int series) {
  Lines list = DefaultKeyLabels(series);
  CommitKeyLabel(&list, 0, {Sj("ＭＳ ゴシック"), 11, 0, 16777215}, {Sj("受付"), "", Sj("ﾃｽﾄ")});
  return list;
}

}  // namespace

TEST(KeyLabelFile, PathsFollowTheSeriesTable) {
  EXPECT_EQ(KeyLabelFilePath(0, "/opt/lk"), QString("/opt/lk/VRDKey7.ini"));
  EXPECT_EQ(KeyLabelFilePath(3, "/opt/lk/"), QString("/opt/lk/VRDKey1.ini"));
  EXPECT_EQ(KeyLabelFilePath(6, "/opt/lk"), QString("/opt/lk/VRDKey4.ini"));
  EXPECT_EQ(KeyLabelFilePath(7, "/opt/lk"), QString());
}

TEST(KeyLabelFile, WrittenAndReadBackGivesTheSameList) {
  QTemporaryDir dir;
  for (int series = 0; series < kSeriesCount; ++series) {
    const Lines list = EditedList(series);
    ASSERT_TRUE(WriteKeyLabelFile(series, dir.path(), list));
    Lines back{"old"};
    EXPECT_EQ(Myfunc_Load_Label(series, dir.path(), &back), LabelSource::File);
    EXPECT_EQ(back, list) << series;
  }
  // Shift_JIS lines each ended by CR LF; the committed colour line reads 0,16777215.
  const QByteArray bytes = ReadBytes(dir.filePath("VRDKey1.ini"));
  EXPECT_TRUE(bytes.startsWith(Sj("ＭＳ ゴシック") + "\r\n11\r\n0,16777215\r\n3\r\n" + Sj("受付") +
                               "\r\n\r\n" + QByteArray::fromHex("C3BDC4") + "\r\n" + Sj("ＭＳ 明朝") +
                               "\r\n"));
  EXPECT_TRUE(bytes.endsWith("\r\n8\r\n0\r\n1\r\n\r\n"));
  EXPECT_EQ(bytes, JoinLines(EditedList(3)));
  EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
}

TEST(KeyLabelFile, WritingReplacesTheWholeFile) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("VRDKey3.ini"), QByteArray(100000, 'x'));
  ASSERT_TRUE(WriteKeyLabelFile(5, dir.path(), DefaultKeyLabels(5)));
  EXPECT_EQ(ReadBytes(dir.filePath("VRDKey3.ini")), JoinLines(DefaultKeyLabels(5)));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"VRDKey3.ini"});
  EXPECT_FALSE(WriteKeyLabelFile(5, dir.filePath("no/such/folder"), DefaultKeyLabels(5)));
  EXPECT_FALSE(WriteKeyLabelFile(7, dir.path(), DefaultKeyLabels(5)));
}

TEST(KeyLabelFile, MissingFileGivesTheDefaultsAndWritesNothing) {
  QTemporaryDir dir;
  for (int series = 0; series < kSeriesCount; ++series) {
    Lines list{"old"};
    EXPECT_EQ(Myfunc_Load_Label(series, dir.path(), &list), LabelSource::Defaults);
    EXPECT_EQ(list, DefaultKeyLabels(series));
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  // A series outside 0..6 has no file and keeps the list.
  Lines list{"old"};
  EXPECT_EQ(Myfunc_Load_Label(7, dir.path(), &list), LabelSource::Unchanged);
  EXPECT_EQ(list, Lines{"old"});
  EXPECT_EQ(Myfunc_Load_Label(-1, dir.path(), &list), LabelSource::Unchanged);
  EXPECT_EQ(list, Lines{"old"});
}

TEST(KeyLabelFile, MalformedFilesFallBackToTheDefaults) {
  QTemporaryDir dir;
  const QString path = dir.filePath("VRDKey2.ini");  // series 4
  const Lines good = EditedList(4);
  auto loads = [&](const QByteArray& bytes) {
    WriteBytes(path, bytes);
    Lines list{"old"};
    LabelSource source = Myfunc_Load_Label(4, dir.path(), &list);
    return source == LabelSource::File ? list : (list == DefaultKeyLabels(4) ? Lines{"defaults"} : list);
  };
  const Lines defaults{"defaults"};
  EXPECT_EQ(loads(JoinLines(good)), good);
  // Lone LF line ends read as well.
  QByteArray lf = JoinLines(good);
  lf.replace("\r\n", "\n");
  EXPECT_EQ(loads(lf), good);

  Lines bad = good;
  bad[1] = "abc";  // font size
  EXPECT_EQ(loads(JoinLines(bad)), defaults);
  bad = good;
  bad[3] = "three";  // text count
  EXPECT_EQ(loads(JoinLines(bad)), defaults);
  bad = good;
  bad[3] = "99";  // more lines announced than the file has
  EXPECT_EQ(loads(JoinLines(bad)), defaults);
  EXPECT_EQ(loads(JoinLines(good.mid(0, good.size() - 1))), defaults);  // cut short
  EXPECT_EQ(loads(JoinLines(DefaultKeyLabels(0))), defaults);           // 60 entries, not 45
  EXPECT_EQ(loads(JoinLines(good) + "extra\r\n"), defaults);
  EXPECT_EQ(loads(""), defaults);
  EXPECT_EQ(loads(QByteArray("\xFF\xFE\x00\x01", 4)), defaults);
  // A zero byte ends the text: what follows it is not read.
  EXPECT_EQ(loads(JoinLines(good.mid(0, 20)) + QByteArray(1, '\0') + JoinLines(good.mid(20))), defaults);
}

TEST(KeyLabelFile, TrailingEmptyLinesOfAHandEditedFileAreIgnored) {
  QTemporaryDir dir;
  const QString path = dir.filePath("VRDKey2.ini");  // series 4
  // The last entry of the list ends in an empty text line of its own, which
  // must stay.
  Lines good = EditedList(4);
  ASSERT_TRUE(good.last().isEmpty());
  for (const QByteArray& tail : {QByteArray("\r\n"), QByteArray("\r\n\r\n\r\n"), QByteArray("\n\n"), QByteArray("\r")}) {
    WriteBytes(path, JoinLines(good) + tail);
    Lines list;
    EXPECT_EQ(Myfunc_Load_Label(4, dir.path(), &list), LabelSource::File) << tail.toHex().constData();
    EXPECT_EQ(list, good);
  }
  // Anything but empty lines after the last entry is still malformed.
  for (const QByteArray& tail : {QByteArray("\r\n \r\n"), QByteArray("\r\n\r\nx\r\n\r\n")}) {
    WriteBytes(path, JoinLines(good) + tail);
    Lines list;
    EXPECT_EQ(Myfunc_Load_Label(4, dir.path(), &list), LabelSource::Defaults);
  }
  // The last entry takes the empty lines it announces; only the rest is dropped.
  WriteBytes(path, JoinLines(good.mid(0, good.size() - 1)) + "\r\n\r\n");
  Lines list;
  EXPECT_EQ(Myfunc_Load_Label(4, dir.path(), &list), LabelSource::File);
  EXPECT_EQ(list, good);
}

TEST(KeyLabelFile, UnreadableFileGivesTheDefaults) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("VRDKey4.ini"));  // a folder where the file should be
  Lines list;
  EXPECT_EQ(Myfunc_Load_Label(6, dir.path(), &list), LabelSource::Defaults);
  EXPECT_EQ(list, DefaultKeyLabels(6));
}

TEST(VrdtoolKeyLabels, DefaultsAreTheBuiltInLists) {
  for (int series = 0; series < kSeriesCount; ++series) {
    VrdtoolRun r = RunVrdtool({"keylabels", QString::number(series), "--defaults"});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, JoinLines(DefaultKeyLabels(series))) << series;
  }
}

TEST(VrdtoolKeyLabels, ReadsTheSeriesFileFromTheFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteKeyLabelFile(0, dir.path(), EditedList(0)));
  VrdtoolRun r = RunVrdtool({"keylabels", "0", "--dir", dir.path()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, JoinLines(EditedList(0)));
  // --defaults ignores the file.
  r = RunVrdtool({"keylabels", "--defaults", "0", "--dir", dir.path()});
  EXPECT_EQ(r.out, JoinLines(DefaultKeyLabels(0)));
  // Another series has no file there: its defaults, with a note on stderr.
  r = RunVrdtool({"keylabels", "1", "--dir", dir.path()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, JoinLines(DefaultKeyLabels(1)));
  EXPECT_TRUE(r.err.contains("VRDKey6.ini"));
}

TEST(VrdtoolKeyLabels, BadArgumentsExitWithTwo) {
  for (const QStringList& args : {QStringList{"keylabels"}, QStringList{"keylabels", "7"},
                                  QStringList{"keylabels", "-1"}, QStringList{"keylabels", "x"},
                                  QStringList{"keylabels", "0", "1"}, QStringList{"keylabels", "0", "--dir"},
                                  QStringList{"keylabels", "0", "--all"}}) {
    VrdtoolRun r = RunVrdtool(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("keylabels")) << args.join(' ').toStdString();
  }
}
