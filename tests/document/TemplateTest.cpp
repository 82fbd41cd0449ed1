// Templates: the start values of keys, the strip body built from a template,
// the checks on damaged templates, and finding templates in a folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

#include "document/Series.h"
#include "document/StripLayout.h"
#include "document/Template.h"
#include "TemplateSamples.h"
#include "support/TestFiles.h"

namespace {

Lines Empty(int n) { return Lines(n, QByteArray()); }

QByteArray SeriesLine(int series) { return Sj(SeriesName(series).toUtf8().constData()); }

}  // namespace

TEST(KeyStartLines, EditableKeyStartsEmptyInMinchoSizeNine) {
  Lines expected{Sj("ＭＳ 明朝"), "9", "0", "0", "0", "2"};
  expected << Empty(7) << "0";
  EXPECT_EQ(KeyStartLines("001"), expected);
  EXPECT_EQ(KeyStartLines("3"), expected);
  EXPECT_EQ(KeyStartLines("012"), expected);
  EXPECT_EQ(KeyStartLines("1234"), expected);  // only the first three bytes count
  EXPECT_EQ(expected.size(), layout::kKeyFixedLines - layout::kKeyTemplateLines);
}

TEST(KeyStartLines, FixedKeyTakesSizeAndTextFromItsField) {
  Lines fixed{Sj("ＭＳ Ｐゴシック"), "12", "0", "0", "0", "2"};
  fixed << Empty(7) << "1" << Sj("内線");
  EXPECT_EQ(KeyStartLines(Sj("-01,12内線")), fixed);

  // Shorter than five bytes: size 9 and one empty text line.
  Lines shortField{Sj("ＭＳ Ｐゴシック"), "9", "0", "0", "0", "2"};
  shortField << Empty(7) << "1" << "";
  EXPECT_EQ(KeyStartLines("-01"), shortField);
  EXPECT_EQ(KeyStartLines(""), shortField);
  EXPECT_EQ(KeyStartLines("0"), shortField);

  // The text starts at byte 7 whatever it is; "08" reads as 8; a size
  // that is no number is 9.
  EXPECT_EQ(KeyStartLines(Sj("-05,12,保留")).last(), Sj(",保留"));
  EXPECT_EQ(KeyStartLines(Sj("-02,08転送"))[1], "8");
  EXPECT_EQ(KeyStartLines(Sj("-02,ab転送"))[1], "9");
  EXPECT_EQ(KeyStartLines(Sj("-02,ab転送")).last(), Sj("転送"));
  // Not an integer in the first three bytes: fixed, even when positive later.
  EXPECT_FALSE(IsEditableTemplateKey("1,2"));
  EXPECT_FALSE(IsEditableTemplateKey("abc"));
  EXPECT_FALSE(IsEditableTemplateKey("000"));
  EXPECT_TRUE(IsEditableTemplateKey(" 5"));
}

TEST(StripBodyFromTemplate, CopiesTheTemplateAndAddsStartLinesAfterEveryKey) {
  const Lines t = TeTemplate();
  const Lines body = StripBodyFromTemplate(t);
  // Group count, then per group six header lines and the key blocks:
  // three editable keys of 33 lines, one fixed key with text and one
  // without, 34 lines each.
  ASSERT_EQ(body.size(), 1 + 6 + 3 * 33 + 6 + 2 * 34);
  EXPECT_EQ(body[0], "2");
  EXPECT_EQ(body.mid(1, 6), t.mid(2, 6));
  EXPECT_EQ(body.mid(7, 19), KeyTemplate("001"));
  EXPECT_EQ(body.mid(7 + 19, 14), KeyStartLines("001"));
  EXPECT_EQ(body.mid(7 + 33, 19), KeyTemplate("002"));

  // Walking the result as a strip finds every key where it should be.
  Lines strip = Empty(layout::kGroupCount) << body;
  const qsizetype fixedKey = KeyBlockLine(strip, 0, 3);
  EXPECT_EQ(fixedKey, 6 + 1 + 6 + 3 * 33 + 6);
  EXPECT_EQ(strip[fixedKey + layout::kFontSize], "12");
  EXPECT_EQ(strip[fixedKey + layout::kFirstText], Sj("内線"));
  EXPECT_EQ(KeyBlockLine(strip, 0, 4) + 34, strip.size());
  EXPECT_EQ(GroupFirstKey(strip, 0, 1), 3);
}

TEST(StripBodyFromTemplate, IgnoresLinesAfterTheLastKeyAndAcceptsNoGroups) {
  Lines t = TeTemplate();
  const Lines body = StripBodyFromTemplate(t);
  t << "trailing" << "lines";
  EXPECT_EQ(StripBodyFromTemplate(t), body);
  EXPECT_EQ(StripBodyFromTemplate({Sj(kTeTitle), "0"}), Lines{"0"});
}

TEST(StripBodyFromTemplate, RefusesCountsThatAreNoNumbers) {
  auto errorLine = [](const Lines& t) -> qsizetype {
    try {
      StripBodyFromTemplate(t);
    } catch (const DocumentError& e) {
      return e.Line();
    }
    return -1;
  };
  Lines t = TeTemplate();
  t[1] = "two";
  EXPECT_EQ(errorLine(t), 1);
  t[1] = "-1";
  EXPECT_EQ(errorLine(t), 1);
  t = TeTemplate();
  t[2 + 5] = "3keys";  // first group's key count
  EXPECT_EQ(errorLine(t), 7);
  t = TeTemplate();
  const qsizetype secondGroup = 2 + 6 + 3 * 19;
  t[secondGroup + 5] = "";
  EXPECT_EQ(errorLine(t), secondGroup + 5);
  EXPECT_EQ(errorLine({}), 0);              // no title, no count
  EXPECT_EQ(errorLine({Sj(kTeTitle)}), 1);  // the count line is missing
}

TEST(StripBodyFromTemplate, RefusesATemplateThatEndsBeforeItsLastKey) {
  const Lines full = TeTemplate();
  for (qsizetype cut : {full.size() - 1, full.size() - 19, qsizetype{9}, qsizetype{3}}) {
    const Lines t = full.mid(0, cut);
    try {
      StripBodyFromTemplate(t);
      ADD_FAILURE() << "cut at " << cut;
    } catch (const DocumentError& e) {
      EXPECT_EQ(e.Line(), t.size()) << "cut at " << cut;
    }
  }
  // More keys announced than written.
  Lines t = full;
  t[2 + 6 + 3 * 19 + 5] = "3";
  EXPECT_THROW(StripBodyFromTemplate(t), DocumentError);
}

TEST(TemplateErrorText, NamesTheFileAndTheLine) {
  EXPECT_EQ(TemplateErrorText("A.TPL", 40, DocumentError(7, "0以上の個数")),
            QStringLiteral("テンプレート「A.TPL」の8行目に誤りがあります（0以上の個数が必要です）。"));
  EXPECT_EQ(TemplateErrorText("A.TPL", 40, DocumentError(40, "行が足りません")),
            QStringLiteral("テンプレート「A.TPL」が途中で終わっています（40行しかありません）。"));
}

struct TemplateFolderTest : ::testing::Test {
  QTemporaryDir dir;
  void Write(const char* name, const Lines& lines) {
    WriteTemplate(dir.filePath(QString::fromUtf8(name)), lines);
  }
};

TEST_F(TemplateFolderTest, OffersTemplatesWhoseTitleNamesTheSeries) {
  Write("Ａ型.tpl", {Sj("Ｋａシリーズ主装置／Ｍｏシリーズ主装置"), "0"});
  Write("b.TPL", {SeriesLine(0), "0"});
  Write("C.Tpl", {Sj("用途：") + SeriesLine(0) + Sj(" 24ボタン"), "0"});
  Write("a2.tpl", {SeriesLine(0)});
  Write("x.y.tpl", {SeriesLine(0)});
  Write("other.tpl", {SeriesLine(3)});
  Write("empty.tpl", {});
  Write("notes.txt", {SeriesLine(0)});
  Write("tpl", {SeriesLine(0)});
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.tpl"));

  EXPECT_EQ(DiscoverStripTypes(dir.path(), SeriesLine(0)),
            (QStringList{"a2", "b", "C", "x", "Ａ型"}));
  EXPECT_EQ(DiscoverStripTypes(dir.path(), SeriesLine(1)), QStringList{"Ａ型"});
  for (int series = 2; series < kSeriesCount; ++series) {
    QStringList expected;
    if (series == 3) expected << "other";
    EXPECT_EQ(DiscoverStripTypes(dir.path(), SeriesLine(series)), expected) << series;
  }
  EXPECT_TRUE(DiscoverStripTypes(dir.path(), QByteArray()).isEmpty());
  EXPECT_TRUE(DiscoverStripTypes(dir.filePath("missing"), SeriesLine(0)).isEmpty());
}

TEST_F(TemplateFolderTest, SkipsTemplatesThatCannotBeRead) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
  Write("locked.tpl", {SeriesLine(0)});
  Write("open.tpl", {SeriesLine(0)});
  QFile::setPermissions(dir.filePath("locked.tpl"), QFile::Permissions());
  EXPECT_EQ(DiscoverStripTypes(dir.path(), SeriesLine(0)), QStringList{"open"});
}

TEST_F(TemplateFolderTest, FindsATypesFileWithoutRegardToCase) {
  Write("Ａ型.tpl", {});
  Write("b.TPL", {});
  Write("C.Tpl", {});
  Write("x.y.tpl", {});
  ASSERT_TRUE(QDir(dir.path()).mkdir("d.TPL"));
  EXPECT_EQ(FindTemplateFile(dir.path(), "Ａ型"), dir.filePath("Ａ型.tpl"));
  EXPECT_EQ(FindTemplateFile(dir.path(), "b"), dir.filePath("b.TPL"));
  EXPECT_EQ(FindTemplateFile(dir.path(), "B"), dir.filePath("b.TPL"));
  EXPECT_EQ(FindTemplateFile(dir.path(), "c"), dir.filePath("C.Tpl"));
  // The strip type of x.y.tpl is "x", whose file x.TPL does not exist.
  EXPECT_EQ(FindTemplateFile(dir.path(), "x"), QString());
  EXPECT_EQ(FindTemplateFile(dir.path(), "x.y"), dir.filePath("x.y.tpl"));
  EXPECT_EQ(FindTemplateFile(dir.path(), "d"), QString());
  EXPECT_EQ(FindTemplateFile(dir.path(), ""), QString());
  EXPECT_EQ(FindTemplateFile(dir.filePath("sub"), "../b"), QString());
}

TEST_F(TemplateFolderTest, PrefersTheExactNameWhenSeveralCasesExist) {
  Write("k.tpl", {"lower"});
  Write("k.TPL", {"upper"});
  EXPECT_EQ(FindTemplateFile(dir.path(), "k"), dir.filePath("k.TPL"));
  Write("m.tpl", {"lower"});
  Write("M.Tpl", {"mixed"});
  const QString found = FindTemplateFile(dir.path(), "m");
  EXPECT_TRUE(found == dir.filePath("m.tpl") || found == dir.filePath("M.Tpl"));
}
