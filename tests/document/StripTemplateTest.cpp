// The template model: reading into groups and keys, writing back, numbers set
// in code, a strip's type taken back as a template, and the sheet table.
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "document/StripLayout.h"
#include "document/StripSheet.h"
#include "document/StripTemplate.h"
#include "document/Template.h"
#include "TemplateSamples.h"
#include "support/TestFiles.h"

namespace {

StripTemplate ReadModel(const Lines& lines) {
  TemplateReading reading = ReadTemplate(lines);
  EXPECT_TRUE(reading.faults.isEmpty()) << reading.faults.value(0).Text().toStdString();
  return reading.model.value_or(StripTemplate{});
}

Decimal4 Mm(const char* text) { return *Decimal4::FromText(text); }

}  // namespace

TEST(StripTemplate, ReadsGroupsKeysAndTheirFields) {
  const StripTemplate t = ReadModel(TeTemplate());
  EXPECT_EQ(t.title, Sj(kTeTitle));
  EXPECT_EQ(t.SeriesServed(), QList<int>{2});
  ASSERT_EQ(t.groups.size(), 2);
  EXPECT_EQ(t.KeyCount(), 5);
  EXPECT_EQ(t.groups[0].showNumbers.value(), 1);
  EXPECT_EQ(t.groups[0].box.height.value(), Mm("29"));

  int group = -1;
  const TemplateKey& fixed = t.Key(3, &group);
  EXPECT_EQ(group, 1);
  EXPECT_EQ(fixed.outline.width.value(), Mm("40"));
  EXPECT_EQ(fixed.label.x.value(), Mm("1.5"));
  EXPECT_EQ(fixed.labelFont, Sj("ＭＳ Ｐゴシック"));
  EXPECT_EQ(fixed.labelSize.value(), 7);
  EXPECT_EQ(fixed.labelAlign.value(), 2);
  EXPECT_EQ(fixed.textArea.x.value(), Mm("6.5"));
  EXPECT_FALSE(fixed.IsEditable());
  EXPECT_EQ(fixed.ShownNumber(), 1);
  EXPECT_EQ(fixed.FixedTextSize(), 12);
  EXPECT_EQ(fixed.FixedText(), Sj("内線"));
  EXPECT_TRUE(t.Key(0).IsEditable());
  EXPECT_EQ(t.Key(2).ShownNumber(), 3);
  // A fixed key's field as written: the text at byte 7.
  EXPECT_EQ(TemplateKey::FixedKeyField(1, 9, Sj("保留")), Sj("-01,09保留"));
}

TEST(StripTemplate, KeepsHowNumbersWereWrittenUntilTheyChange) {
  // Numbers written unusually, a count with a leading zero and lines after
  // the last key all come back as they were.
  Lines lines = TemplateLines(kTeTitle, {GroupTemplate(1, {"001"})});
  lines[1] = "01", lines[3] = "10.50", lines[8 + 9] = " 7";
  lines << "trailing" << "";
  StripTemplate t = ReadModel(lines);
  EXPECT_EQ(t.ToLines(), lines);
  // A line that holds no number (a fault) is kept as it was, even empty.
  Lines damaged = lines;
  damaged[8 + 10] = "", damaged[8 + 15] = "abc";
  const TemplateReading reading = ReadTemplate(damaged);
  ASSERT_TRUE(reading.model.has_value());
  EXPECT_EQ(reading.faults.size(), 2);
  EXPECT_EQ(reading.model->ToLines(), damaged);
  EXPECT_EQ(t.groups[0].box.x.value(), Mm("10.5"));

  // A value set in code is written plainly; a count follows the list.
  t.groups[0].box.x = Mm("12.25");
  t.groups[0].keys[0].labelSize = 8;
  t.groups[0].keys.append(t.groups[0].keys[0]);
  t.groups.append(t.groups[0]);
  const Lines written = t.ToLines();
  EXPECT_EQ(written[1], "2");
  EXPECT_EQ(written[3], "12.25");
  EXPECT_EQ(written[7], "2");
  EXPECT_EQ(written[8 + 9], "8");
  EXPECT_EQ(ReadModel(written).KeyCount(), 4);
}

TEST(StripTemplate, AStripsTypeComesBackWithItsKeyLines) {
  // A strip made from a template gives that template back, whatever its
  // keys hold now, and a strip made from that has the same key lines 0-18.
  const Lines templateLines = TeTemplate();
  StripEntry entry;
  entry.seriesName = Sj("Ｔｅシリーズ主装置");
  entry.stripType = "T";
  entry.extension = "200";
  Lines document{layout::kFormatVersionLine, "1"};
  document << NewStripBlock(1, entry, StripBodyFromTemplate(templateLines));
  const StripTemplate back = TemplateOfStrip(document, 3, Sj(kTeTitle));
  EXPECT_EQ(back.ToLines(), templateLines);

  const Lines second = Lines(layout::kGroupCount) << StripBodyOf(back);
  for (int k = 0; k < back.KeyCount(); ++k) {
    const qsizetype a = KeyBlockLine(document, 3, k);
    const qsizetype b = KeyBlockLine(second, 0, k);
    EXPECT_EQ(document.mid(a, layout::kKeyTemplateLines), second.mid(b, layout::kKeyTemplateLines)) << k;
  }
}

TEST(StripSheet, SeriesAndTypeChooseSheetAndPaper) {
  struct Row {
    const char* series;
    const char* type;
    int width, height;
    const char* paper;
    bool rounded;
  };
  const Row rows[] = {
      {"Ｔｅシリーズ主装置", "標準Ｋａ", 148, 210, "A5", false},
      {"Ｍｏシリーズ主装置", "x", 148, 210, "A5", false},
      {"Ｋａシリーズ主装置", "標準Ｋａ24ボタン", 148, 210, "A5", false},
      {"Ｋａシリーズ主装置", "Ｋａ拡張48ボタン", 210, 148, "A4", false},
      {"ＳＩＰ対応電話機", "標準Ｋａ", 182, 257, "B5", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.series) + row.type);
    const StripSheet sheet = StripSheetFor(Sj(row.series), Sj(row.type));
    EXPECT_EQ(sheet.width, Decimal4::FromInt(row.width));
    EXPECT_EQ(sheet.height, Decimal4::FromInt(row.height));
    EXPECT_EQ(sheet.paperName, QString::fromLatin1(row.paper));
    EXPECT_EQ(HasRoundedKeyCorners(Sj(row.series)), row.rounded);
  }
}
