// The data file: line ends, the layout mark, the conversion of the old
// layout, byte-exact writing, and any bytes read without a crash.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DocumentBuilder.h"
#include "base/LineIO.h"
#include "document/DataFile.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "document/StripRow.h"
#include "support/TestFiles.h"

namespace {

QString Fixture(const char* name) { return QStringLiteral(TEST_DATA_DIR "/") + QString::fromLatin1(name); }

// The old-layout form of a current-layout key block: lines 25 to 31 dropped.
Lines OldKey(const Lines& key) { return key.mid(0, 25) + key.mid(32); }

qsizetype ConversionErrorLine(const Lines& old) {
  try {
    ConvertedFromOldLayout(old);
  } catch (const DocumentError& e) {
    return e.Line();
  }
  return -1;
}

}  // namespace

TEST(DataFileLayout, VersionMarkAnywhereInLineZero) {
  EXPECT_TRUE(IsCurrentLayout({"file-version:01.01.00.00", "0"}));
  EXPECT_TRUE(IsCurrentLayout({"file-version:09.99"}));
  EXPECT_TRUE(IsCurrentLayout({"  xx file-version:"}));
  EXPECT_FALSE(IsCurrentLayout({"File-Version:01.01.00.00"}));
  EXPECT_FALSE(IsCurrentLayout({"2", "file-version:01.01.00.00"}));
  EXPECT_FALSE(IsCurrentLayout({}));
}

TEST(OldLayout, SevenEmptyLinesAfterLine24OfEveryKeyAndTheVersionOnTop) {
  const Lines k1 = KeyBlock("1", {"a", "b", "c"});
  const Lines k2 = KeyBlock("2");
  const Lines k3 = KeyBlock("-05,12", {"x"});
  const Lines current = Document({StripBlock(1, {Group({k1, k2}), Group({})}), StripBlock(2, {Group({k3})})});
  Lines old{"2"};
  old += StripBlock(1, {Group({OldKey(k1), OldKey(k2)}), Group({})});
  old += StripBlock(2, {Group({OldKey(k3)})});
  ASSERT_EQ(old.size(), current.size() - 1 - 3 * 7);

  QList<qsizetype> inserted;
  EXPECT_EQ(ConvertedFromOldLayout(old, &inserted), current);
  // The added lines: the version line, then lines 25 to 31 of each key.
  QList<qsizetype> expected{0};
  const qsizetype key1 = 2 + 8 + 6, key2 = key1 + 36, key3 = 2 + 89 + 8 + 6;
  for (qsizetype key : {key1, key2, key3}) {
    for (int line = 25; line <= 31; ++line) expected.append(key + line);
  }
  EXPECT_EQ(inserted, expected);
  Lines inPlace = old;
  EXPECT_TRUE(ConvertOldLayout(inPlace));
  EXPECT_EQ(inPlace, current);
}

TEST(OldLayout, LinesAfterTheLastStripAreKept) {
  Lines old{"1"};
  old += StripBlock(1, {Group({OldKey(KeyBlock("1", {"t"}))})});
  old += Lines{"trailing", ""};
  Lines converted = ConvertedFromOldLayout(old);
  ASSERT_EQ(converted.size(), old.size() + 8);
  EXPECT_EQ(converted.mid(converted.size() - 2), (Lines{"trailing", ""}));
  EXPECT_EQ(ConvertedFromOldLayout({"0"}), (Lines{"file-version:01.01.00.00", "0"}));
}

TEST(OldLayout, MalformedListsFailAtTheirLineAndStayUnchanged) {
  Lines old{"1"};
  old += StripBlock(1, {Group({OldKey(KeyBlock("1", {"a", "b"}))})});
  ASSERT_EQ(ConversionErrorLine(old), -1);
  const qsizetype groupCount = 1 + 7, keyCount = groupCount + 6, textCount = keyCount + 1 + 25;

  EXPECT_EQ(ConversionErrorLine({}), 0);  // an empty file
  EXPECT_EQ(ConversionErrorLine({"abc"}), 0);
  for (qsizetype line : {qsizetype(0), groupCount, keyCount, textCount}) {
    for (const QByteArray& bad : {QByteArray("x"), QByteArray("-1"), QByteArray(""), QByteArray("1.5")}) {
      Lines damaged = old;
      damaged[line] = bad;
      EXPECT_EQ(ConversionErrorLine(damaged), line) << line << " " << bad.constData();
      Lines inPlace = damaged;
      EXPECT_FALSE(ConvertOldLayout(inPlace));
      EXPECT_EQ(inPlace, damaged);
    }
  }
  // Counts that run past the end of the list, at every level.
  for (qsizetype line : {qsizetype(0), groupCount, keyCount, textCount}) {
    Lines damaged = old;
    damaged[line] = "3";
    EXPECT_NE(ConversionErrorLine(damaged), -1) << line;
  }
  for (qsizetype cut = 0; cut < old.size(); ++cut) {
    EXPECT_NE(ConversionErrorLine(old.mid(0, cut)), -1) << cut;
  }
}

TEST(OldLayout, FixtureConvertsToTheCurrentFixture) {
  DataFileContent old = ReadDataFile(Fixture("two_strips_old.VRD"));
  DataFileContent current = ReadDataFile(Fixture("two_strips.VRD"));
  ASSERT_TRUE(old.ok());
  ASSERT_TRUE(current.ok());
  EXPECT_TRUE(old.wasOldLayout);
  EXPECT_FALSE(current.wasOldLayout);
  EXPECT_EQ(old.lines, current.lines);
  EXPECT_EQ(JoinLines(old.lines), ReadBytes(Fixture("two_strips.VRD")));
  // Document lines map back to file lines: 1 version line + 7 per key added.
  EXPECT_EQ(old.insertedLines.size(), 1 + 4 * 7);
  EXPECT_EQ(old.FileLineOf(1), 0);  // the count line
  EXPECT_EQ(old.FileLineOf(0), 0);  // the version line stands before it
  EXPECT_EQ(old.FileLineOf(old.lines.size() - 1), ReadBytes(Fixture("two_strips_old.VRD")).count('\n') - 1);
  EXPECT_EQ(current.FileLineOf(57), 57);
}

TEST(DataFileRead, LineEndsAndByteZero) {
  const Lines expected = ReadDataFile(Fixture("two_strips.VRD")).lines;
  ASSERT_EQ(expected.size(), 174);
  EXPECT_EQ(ReadDataFile(Fixture("two_strips_lf.vrd")).lines, expected);
  EXPECT_EQ(ReadDataFile(Fixture("two_strips_nul.VRD")).lines, expected);
  QByteArray cr = JoinLines(expected);
  cr.replace("\r\n", "\r");
  EXPECT_EQ(ParseDataFile(cr).lines, expected);
  // Separator bytes and texts that are not valid Shift_JIS come through as they are.
  EXPECT_EQ(expected[2], QByteArray::fromHex("31FFFFFFFFFFFFFFFFFFFF"));
  EXPECT_TRUE(expected.contains(QByteArray("\x80\xA0\xFD")));
}

TEST(DataFileRead, EmptyMissingAndMalformedFiles) {
  using Status = DataFileContent::Status;
  EXPECT_EQ(ReadDataFile(Fixture("empty.VRD")).status, Status::kFormatError);
  EXPECT_EQ(ReadDataFile(Fixture("no_such_file.VRD")).status, Status::kReadError);
  EXPECT_EQ(ReadDataFile(QStringLiteral(TEST_DATA_DIR)).status, Status::kReadError);  // a folder
  DataFileContent old = ReadDataFile(Fixture("old_damaged.VRD"));
  EXPECT_EQ(old.status, Status::kFormatError);
  EXPECT_EQ(old.errorLine, 14);
  EXPECT_TRUE(old.lines.isEmpty());
  // A current-layout file whose strip count is no number.
  DataFileContent count = ParseDataFile("file-version:01.01.00.00\r\nmany\r\n");
  EXPECT_EQ(count.status, Status::kFormatError);
  EXPECT_EQ(count.errorLine, 1);
  // Header only, or the version line alone: no strips, not an error.
  EXPECT_EQ(ReadDataFile(Fixture("header_only.VRD")).lines, (Lines{"file-version:01.01.00.00", "0"}));
  EXPECT_TRUE(ParseDataFile("file-version:01.01.00.00").ok());
  // Damage deeper down opens; it shows when a strip is laid out.
  EXPECT_TRUE(ReadDataFile(Fixture("damaged_group_count.VRD")).ok());
  EXPECT_TRUE(ReadDataFile(Fixture("truncated.VRD")).ok());
}

TEST(DataFileWrite, WritesBackExactlyWhatWasRead) {
  QTemporaryDir dir;
  const QString path = dir.filePath("copy.VRD");
  const QByteArray original = ReadBytes(Fixture("two_strips.VRD"));
  ASSERT_TRUE(WriteDataFile(path, ReadDataFile(Fixture("two_strips.VRD")).lines));
  EXPECT_EQ(ReadBytes(path), original);
  // An LF file comes back with CR LF.
  ASSERT_TRUE(WriteDataFile(path, ReadDataFile(Fixture("two_strips_lf.vrd")).lines));
  EXPECT_EQ(ReadBytes(path), original);
  // Every byte a line can hold survives.
  QByteArray all;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') all.append(static_cast<char>(b));
  }
  Lines lines = SimpleDocument(1);
  lines.append(all);
  ASSERT_TRUE(WriteDataFile(path, lines));
  EXPECT_EQ(ReadDataFile(path).lines, lines);
  // An empty document writes an empty file.
  ASSERT_TRUE(WriteDataFile(path, {}));
  EXPECT_EQ(ReadBytes(path), QByteArray());
}

TEST(DataFileWrite, OneStripFileStartsWithVersionCountAndSeparator) {
  QTemporaryDir dir;
  const QString path = dir.filePath("one.VRD");
  ASSERT_TRUE(WriteDataFile(path, SimpleDocument(1)));
  EXPECT_TRUE(ReadBytes(path).startsWith(
      QByteArray("file-version:01.01.00.00\r\n1\r\n") + QByteArray::fromHex("31FFFFFFFFFFFFFFFFFFFF0D0A")));
}

TEST(DataFileWrite, AFailedWriteLeavesTheOldFile) {
  QTemporaryDir dir;
  EXPECT_FALSE(WriteDataFile(dir.filePath("missing/folder/x.VRD"), SimpleDocument(1)));
  const QString path = dir.filePath("keep.VRD");
  WriteBytes(path, "old\r\n");
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  const bool written = WriteDataFile(path, SimpleDocument(1));
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (written) GTEST_SKIP() << "running with rights that ignore folder permissions";
  EXPECT_EQ(ReadBytes(path), QByteArray("old\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.VRD"});  // no temporary left
}

// Whatever the bytes, reading, listing and checking end in a result or a
// DocumentError, never a crash or a read out of bounds.
TEST(DataFileRead, AnyBytesAreSafe) {
  QRandomGenerator random(7);
  const QByteArray current = ReadBytes(Fixture("two_strips.VRD"));
  const QByteArray old = ReadBytes(Fixture("two_strips_old.VRD"));
  const QByteArray alphabet("0123456789\r\n\xFF-x.", 16);
  auto exercise = [](const QByteArray& bytes) {
    DataFileContent content = ParseDataFile(bytes);
    if (!content.ok()) return;
    StripDocument document;
    document.SetLines(content.lines);
    try {
      for (const StripRow& row : StripRowsOf(document)) row.Columns();
    } catch (const DocumentError&) {
    }
    try {
      CheckDocument(content.lines);
    } catch (const DocumentError&) {
    }
  };
  for (int round = 0; round < 400; ++round) {
    // Damaged copies of good files: bytes changed, cut short.
    QByteArray bytes = (round % 2 ? current : old);
    const int changes = 1 + random.bounded(6);
    for (int c = 0; c < changes; ++c) {
      bytes[random.bounded(static_cast<int>(bytes.size()))] = alphabet[random.bounded(static_cast<int>(alphabet.size()))];
    }
    if (round % 5 == 0) bytes.truncate(random.bounded(static_cast<int>(bytes.size())));
    exercise(bytes);
    // Plain random bytes, with and without a version line.
    QByteArray noise(random.bounded(400), Qt::Uninitialized);
    for (char& b : noise) b = static_cast<char>(random.bounded(256));
    exercise(noise);
    exercise("file-version:\r\n" + noise);
  }
  SUCCEED();
}
