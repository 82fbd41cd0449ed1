// The whole-document check walk and the rows of the strip list.
#include <gtest/gtest.h>

#include "DocumentBuilder.h"
#include "document/DataFile.h"
#include "document/StripCheck.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "document/StripRow.h"
#include "support/TestFiles.h"

namespace {

// The line and message of the first damage, or (-1, "") when sound.
std::pair<qsizetype, QString> Damage(const Lines& lines) {
  try {
    CheckDocument(lines);
  } catch (const DocumentError& e) {
    return {e.Line(), e.Expected()};
  }
  return {-1, QString()};
}

// Strip 1 of SimpleDocument: its first key block.
constexpr qsizetype kFirstKey = 3 + 7 + 6;

}  // namespace

TEST(CheckDocument, CountsStripsAndKeys) {
  const DocumentTotals totals = CheckDocument(SimpleDocument(3, 2));
  EXPECT_EQ(totals.strips, 3);
  EXPECT_EQ(totals.keys, 6);
  EXPECT_EQ(CheckDocument({}).strips, 0);
  EXPECT_EQ(CheckDocument({"file-version:01.01.00.00", "0"}).keys, 0);
  // Keys with many texts, groups without keys, strips without groups.
  const Lines mixed = Document({StripBlock(1, {Group({}), Group({KeyBlock("1", {"a", "b", "c", "d"})})}),
                                StripBlock(2, {})});
  EXPECT_EQ(CheckDocument(mixed).keys, 1);
}

TEST(CheckDocument, ReadsLenientFieldsLeniently) {
  Lines lines = SimpleDocument(1, 1);
  lines[kFirstKey + layout::kKeyNumber] = "abc";
  lines[kFirstKey + layout::kColorPair] = "red,";
  lines[kFirstKey + layout::kFontName] = "";
  lines[kFirstKey + layout::kPictureKind] = ".jpg";
  EXPECT_EQ(Damage(lines).first, -1);
}

TEST(CheckDocument, ReportsTheFirstDamagedLine) {
  const Lines sound = SimpleDocument(2, 2);
  const qsizetype strip2 = sound.indexOf(SeparatorLine(2));
  struct Case {
    qsizetype line;
    QByteArray value;
    QString expected;
  };
  const QList<Case> cases = {
      {1, "two", QStringLiteral("0以上の個数")},
      {2, SeparatorLine(3), QStringLiteral("示名条 1 の区切り行")},
      {strip2, "2", QStringLiteral("示名条 2 の区切り行")},
      {3 + layout::kGroupCount, "-1", QStringLiteral("示名条 1: 0以上の個数")},
      {3 + layout::kGroupCount, "101", QStringLiteral("示名条 1: 100以下のグループ数")},
      {3 + 7 + layout::kShowNumbers, "yes", QStringLiteral("示名条 1: 整数")},
      {3 + 7 + layout::kGroupHeight, "4,5", QStringLiteral("示名条 1: ミリメートルの数値")},
      {3 + 7 + layout::kKeyCount, "x", QStringLiteral("示名条 1: 0以上の個数")},
      {kFirstKey + layout::kKeyWidth, "wide", QStringLiteral("示名条 1: キー 0: ミリメートルの数値")},
      {kFirstKey + layout::kTextHeight, "", QStringLiteral("示名条 1: キー 0: ミリメートルの数値")},
      {kFirstKey + layout::kLabelSize, "9pt", QStringLiteral("示名条 1: キー 0: 整数")},
      {kFirstKey + layout::kAlign, "", QStringLiteral("示名条 1: キー 0: 整数")},
      {kFirstKey + layout::kFontSize, "1.5", QStringLiteral("示名条 1: キー 0: 整数")},
      {kFirstKey + 35 + layout::kBold, "b", QStringLiteral("示名条 1: キー 1: 整数")},
      {kFirstKey + layout::kTextCount, "n", QStringLiteral("示名条 1: キー 0: 0以上の個数")},
  };
  for (const Case& c : cases) {
    Lines lines = sound;
    lines[c.line] = c.value;
    const auto [line, expected] = Damage(lines);
    EXPECT_EQ(line, c.line) << c.value.toStdString();
    EXPECT_EQ(expected, c.expected) << c.value.toStdString();
  }
  // A text count too large walks into strip 2's separator, which then
  // stands where the next key's lines should be numbers.
  Lines lines = sound;
  lines[kFirstKey + layout::kTextCount] = "3";
  EXPECT_NE(Damage(lines).first, -1);
  // Lines after the last strip, and a count promising a strip that is not there.
  lines = sound;
  lines.append("");
  EXPECT_EQ(Damage(lines), std::make_pair(sound.size(), QStringLiteral("ファイルの終わり（示名条は 2 個）")));
  lines = sound;
  lines[1] = "3";
  EXPECT_EQ(Damage(lines), std::make_pair(sound.size(), QStringLiteral("示名条 3 の区切り行")));
  // A document cut short inside a key: the line past the end is reported.
  lines = sound.mid(0, sound.size() - 5);
  EXPECT_EQ(Damage(lines).first, lines.size());
  // Not the current layout.
  lines = sound;
  lines[0] = "01.01.00.00";
  EXPECT_EQ(Damage(lines).first, 0);
}

TEST(CheckDocument, HundredKeysAtMost) {
  auto keys = [](int count) {
    QList<Lines> blocks;
    for (int k = 0; k < count; ++k) blocks.append(KeyBlock("1"));
    return blocks;
  };
  EXPECT_EQ(CheckDocument(Document({StripBlock(1, {Group(keys(60)), Group(keys(40))})})).keys, 100);
  const Lines over = Document({StripBlock(1, {Group(keys(60)), Group(keys(41))})});
  const qsizetype secondGroup = 3 + 7 + 6 + 60 * 33;
  EXPECT_EQ(Damage(over), std::make_pair(secondGroup + layout::kKeyCount,
                                         QStringLiteral("示名条 1: 合わせて100以下のキー数")));
  // A key count at the top of int after keys of an earlier group: the sum
  // must not wrap round and let the walk run on to the wrong damage.
  Lines huge = over;
  huge[secondGroup + layout::kKeyCount] = "2147483647";
  EXPECT_EQ(Damage(huge), std::make_pair(secondGroup + layout::kKeyCount,
                                         QStringLiteral("示名条 1: 合わせて100以下のキー数")));
}

TEST(StripRows, SixColumnsInListOrder) {
  DataFileContent content = ReadDataFile(QStringLiteral(TEST_DATA_DIR "/two_strips.VRD"));
  StripDocument document;
  document.SetLines(content.lines);
  const QList<StripRow> rows = StripRowsOf(document);
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0].number, 1);
  EXPECT_EQ(rows[0].Columns(), (QStringList{"Ｋａシリーズ主装置", "標準Ｋａ", "201", "営業部", "山田 太郎",
                                            "2017/03/05 14:07"}));
  EXPECT_EQ(rows[1].Columns(), (QStringList{"ＳＩＰ対応電話機", "ＳＩＰ１２", "305", "総務", "", "2020/12/31 23:59"}));
  EXPECT_EQ(rows[0].department, Sj("営業部"));
}

TEST(StripRows, DamagedDocumentsGiveTheRowsTheyCan) {
  Lines lines = SimpleDocument(4, 1);
  StripDocument document;
  // Strip 3's separator is missing: no row for it, the others keep their numbers.
  const qsizetype s3 = lines.indexOf(SeparatorLine(3));
  lines[s3] = "broken";
  document.SetLines(lines);
  QList<StripRow> rows = StripRowsOf(document);
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[2].number, 4);
  EXPECT_EQ(rows[2].extension, "104");
  // A count beyond the strips present, even a huge one, lists what is there.
  lines = SimpleDocument(2, 1);
  lines[1] = "2000000000";
  document.SetLines(lines);
  EXPECT_EQ(StripRowsOf(document).size(), 2);
  // Count and separator at the top of int: one row, no endless count up.
  document.SetLines({"file-version:", "2147483647", SeparatorLine(2147483647)});
  rows = StripRowsOf(document);
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0].number, 2147483647);
  lines[1] = "1";
  document.SetLines(lines);
  EXPECT_EQ(StripRowsOf(document).size(), 1);
  // A separator at line 0 gives no row; a header cut short gives empty texts.
  document.SetLines({SeparatorLine(1), "1", SeparatorLine(2), "ext", "dep"});
  document.Replace(1, "2");
  rows = StripRowsOf(document);
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0].number, 2);
  EXPECT_EQ(rows[0].Columns(), (QStringList{"", "", "ext", "dep", "", ""}));
  // No count line: nothing to list; a count that is no number: DocumentError.
  document.SetLines({"file-version:01.01.00.00"});
  EXPECT_TRUE(StripRowsOf(document).isEmpty());
  document.SetLines({"file-version:01.01.00.00", "?", SeparatorLine(1)});
  EXPECT_THROW(StripRowsOf(document), DocumentError);
}
