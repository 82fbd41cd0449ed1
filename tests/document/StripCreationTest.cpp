// Creating strips from templates and as copies of other strips.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/StripCreation.h"
#include "document/Template.h"
#include "TemplateSamples.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"

namespace {

struct StripCreationTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  StripDocument doc;

  void SetUp() override { WriteTemplate(dir.filePath("Te18.TPL"), TeTemplate()); }

  static StripEntry Entry(const char* extension, const char* type = "Te18") {
    StripEntry e;
    e.seriesName = Sj("Ｔｅシリーズ主装置");
    e.stripType = type;
    e.extension = extension;
    e.department = Sj("営業部");
    e.userName = Sj("山田");
    e.registered = "2026/03/05 14:07";
    return e;
  }
  qsizetype FromTemplate(const char* extension, const char* type = "Te18") {
    return NewStripFromTemplate(doc, Entry(extension, type), QStringList{dir.path()}).value_or(-1);
  }
  // Strips 1..n, each with a text line of its own in key 0 so that copies
  // can be told apart.
  void MakeStrips(int n) {
    for (int i = 1; i <= n; ++i) {
      const qsizetype start = FromTemplate(QByteArray::number(100 + i).constData());
      ASSERT_GT(start, 0);
      const qsizetype key = KeyBlockLine(doc.lines(), start, 0);
      doc.Replace(key + layout::kTextCount, "1");
      doc.Insert(key + layout::kFirstText, "strip " + QByteArray::number(i));
    }
    doc.MarkSaved();
  }
  void ExpectUnchangedWithMessage(const Lines& before, const QString& text) {
    EXPECT_EQ(doc.lines(), before);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, text);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
  }
};

}  // namespace

TEST_F(StripCreationTest, FirstStripStartsTheDocument) {
  EXPECT_EQ(FromTemplate("201"), 3);
  const StripEntry e = Entry("201");
  Lines expected{"file-version:01.01.00.00", "1", SeparatorLine(1), "201", e.department, e.userName,
                 e.registered, e.seriesName, "Te18"};
  expected << StripBodyFromTemplate(TeTemplate());
  EXPECT_EQ(doc.lines(), expected);
  EXPECT_EQ(doc.StripCount(), 1);
  EXPECT_EQ(doc.FindStrip(1), 2);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(StripCreationTest, FifthStripCountsOnAndAppendsItsSeparator) {
  MakeStrips(4);
  const qsizetype oldSize = doc.size();
  EXPECT_EQ(FromTemplate("205"), oldSize + 1);
  EXPECT_EQ(doc.at(1), "5");
  EXPECT_EQ(doc.at(oldSize), QByteArray("5") + QByteArray(10, '\xFF'));
  EXPECT_EQ(doc.FindStrip(5), oldSize);
  EXPECT_EQ(doc.EndOfStrip(4), oldSize);
  EXPECT_EQ(doc.at(oldSize + 1), "205");
  EXPECT_EQ(doc.size(), oldSize + 1 + 6 + StripBodyFromTemplate(TeTemplate()).size());
  EXPECT_TRUE(doc.IsChanged());
}

TEST_F(StripCreationTest, TemplateNamesItsFileInAnyCase) {
  WriteTemplate(dir.filePath("mixed.tpl"), TeTemplate());
  EXPECT_EQ(FromTemplate("201", "MIXED"), 3);
  EXPECT_EQ(doc.at(3 + layout::kStripType), "MIXED");
}

TEST_F(StripCreationTest, MissingTemplateChangesNothing) {
  MakeStrips(2);
  const Lines before = doc.lines();
  EXPECT_EQ(FromTemplate("299", "Gone"), -1);
  ExpectUnchangedWithMessage(before, QStringLiteral("テンプレートが存在しません。"));
}

TEST_F(StripCreationTest, DamagedTemplateIsReportedBeforeAnythingChanges) {
  Lines bad = TeTemplate();
  bad[7] = "three";  // key count of the first group
  WriteTemplate(dir.filePath("Bad.TPL"), bad);
  EXPECT_EQ(FromTemplate("201", "Bad"), -1);
  ExpectUnchangedWithMessage({}, QStringLiteral(
      "テンプレート「Bad.TPL」の8行目に誤りがあります（0以上の個数が必要です）。"));
  EXPECT_TRUE(doc.isEmpty());

  prompts.messages.clear();
  MakeStrips(1);
  const Lines before = doc.lines();
  const Lines full = TeTemplate();
  WriteTemplate(dir.filePath("Short.TPL"), full.mid(0, full.size() - 3));
  EXPECT_EQ(FromTemplate("202", "Short"), -1);
  ExpectUnchangedWithMessage(before, QStringLiteral(
      "テンプレート「Short.TPL」が途中で終わっています（%1行しかありません）。").arg(full.size() - 3));
  EXPECT_FALSE(doc.IsChanged());
}

TEST_F(StripCreationTest, DamagedCountLineIsReportedBeforeAnythingChanges) {
  MakeStrips(1);
  doc.Replace(1, "one");
  const Lines before = doc.lines();
  EXPECT_EQ(FromTemplate("202"), -1);
  ExpectUnchangedWithMessage(before, QStringLiteral("示名条データの2行目に誤りがあります（0以上の個数が必要です）。"));
  prompts.messages.clear();
  EXPECT_EQ(NewStripFromCopy(doc, Entry("203"), 1), std::nullopt);
  ExpectUnchangedWithMessage(before, QStringLiteral("示名条データの2行目に誤りがあります（0以上の個数が必要です）。"));
}

TEST_F(StripCreationTest, CopyFromAMiddleStripTakesItsLinesUpToTheNextSeparator) {
  MakeStrips(3);
  const qsizetype from = doc.FindStrip(2) + 1 + layout::kGroupCount;
  const Lines copied = doc.lines().mid(from, doc.FindStrip(3) - from);
  const qsizetype oldSize = doc.size();

  const std::optional<qsizetype> start = NewStripFromCopy(doc, Entry("204"), 2);
  ASSERT_EQ(start, oldSize + 1);
  EXPECT_EQ(doc.at(1), "4");
  EXPECT_EQ(doc.at(oldSize), SeparatorLine(4));
  EXPECT_EQ(doc.lines().mid(*start, 6), (Lines{"204", Sj("営業部"), Sj("山田"), "2026/03/05 14:07",
                                               Sj("Ｔｅシリーズ主装置"), "Te18"}));
  EXPECT_EQ(doc.lines().mid(*start + layout::kGroupCount), copied);
  EXPECT_EQ(doc.at(KeyBlockLine(doc.lines(), *start, 0) + layout::kFirstText), "strip 2");
}

TEST_F(StripCreationTest, CopyFromTheLastStripStopsAtTheOldEnd) {
  MakeStrips(3);
  const qsizetype from = doc.FindStrip(3) + 1 + layout::kGroupCount;
  const Lines copied = doc.lines().mid(from);
  const std::optional<qsizetype> start = NewStripFromCopy(doc, Entry("204"), 3);
  ASSERT_TRUE(start);
  EXPECT_EQ(doc.lines().mid(*start + layout::kGroupCount), copied);
  EXPECT_EQ(doc.size(), *start + layout::kGroupCount + copied.size());
  EXPECT_EQ(doc.at(KeyBlockLine(doc.lines(), *start, 0) + layout::kFirstText), "strip 3");

  // A copy of the copy: the source is now strip 4.
  const std::optional<qsizetype> again = NewStripFromCopy(doc, Entry("205"), 4);
  ASSERT_TRUE(again);
  EXPECT_EQ(doc.lines().mid(*again + layout::kGroupCount), copied);
  EXPECT_EQ(doc.StripCount(), 5);
}

TEST_F(StripCreationTest, CopyOfAStripThatIsMissingOrCutShort) {
  MakeStrips(2);
  const Lines before = doc.lines();
  EXPECT_EQ(NewStripFromCopy(doc, Entry("209"), 7), std::nullopt);
  ExpectUnchangedWithMessage(before, QStringLiteral("複製元の示名条が見つかりません。"));

  prompts.messages.clear();
  // Strip 2 cut after its header: no group count to copy from.
  doc.Remove(doc.FindStrip(2) + 1 + layout::kGroupCount, doc.size());
  const Lines cut = doc.lines();
  EXPECT_EQ(NewStripFromCopy(doc, Entry("209"), 2), std::nullopt);
  ExpectUnchangedWithMessage(cut, QStringLiteral("示名条データが途中で終わっています。"));
}

TEST_F(StripCreationTest, CreateStripCopiesOnlyWhenTheCopySourceNamesARow) {
  MakeStrips(2);
  QList<StripRow> rows;
  for (int n = 1; n <= 2; ++n) {
    StripEntry e = Entry(QByteArray::number(100 + n).constData());
    rows << RowOfEntry(e, n);
  }
  EXPECT_EQ(CopySourceText(rows[1]), "102" + Sj(" 使用者名：") + Sj("山田"));
  EXPECT_EQ(FindCopySource(rows, CopySourceText(rows[1])), 2);
  EXPECT_EQ(FindCopySource(rows, Sj(kNoCopySourceText)), 0);
  EXPECT_EQ(FindCopySource(rows, QByteArray()), 0);

  StripEntry copy = Entry("103");
  copy.copySource = CopySourceText(rows[1]);
  std::optional<qsizetype> start = CreateStrip(doc, copy, rows, QStringList{dir.path()});
  ASSERT_TRUE(start);
  EXPECT_EQ(doc.at(KeyBlockLine(doc.lines(), *start, 0) + layout::kFirstText), "strip 2");

  StripEntry fresh = Entry("104");
  fresh.copySource = Sj(kNoCopySourceText);
  start = CreateStrip(doc, fresh, rows, QStringList{dir.path()});
  ASSERT_TRUE(start);
  EXPECT_EQ(doc.at(KeyBlockLine(doc.lines(), *start, 0) + layout::kTextCount), "0");
  EXPECT_EQ(doc.StripCount(), 4);
}

TEST_F(StripCreationTest, CopiesUpToTheTopOfIntThenRefuses) {
  // A count line claiming 2147483646 strips: the copy becomes strip
  // 2147483647, which has no next strip; one more is refused.
  MakeStrips(1);
  doc.Replace(1, "2147483646");
  const std::optional<qsizetype> start = NewStripFromCopy(doc, Entry("204"), 1);
  ASSERT_TRUE(start);
  EXPECT_EQ(doc.at(1), "2147483647");
  EXPECT_EQ(doc.at(*start - 1), SeparatorLine(2147483647));
  EXPECT_EQ(doc.FindStrip(2147483647), *start - 1);
  EXPECT_EQ(doc.EndOfStrip(2147483647), doc.size());
  const QList<StripRow> rows = StripRowsOf(doc);
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[1].extension, "204");

  const Lines before = doc.lines();
  EXPECT_EQ(NewStripFromCopy(doc, Entry("205"), 2147483647), std::nullopt);
  ExpectUnchangedWithMessage(before, QStringLiteral("示名条データの2行目に誤りがあります（示名条の数が必要です）。"));
}
