// samples/sample.VRD is made here: strips of several series created from the
// templates of data/, one of them a copy, with a few keys typed in. The test
// fails when the committed file no longer equals what the creation code
// makes; run it with LABELKOBO_WRITE_SAMPLE=1 to write the file anew.
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"

namespace {

const QString kSamplePath = QStringLiteral(SOURCE_DIR "/samples/sample.VRD");
const QString kTemplateFolder = QStringLiteral(SOURCE_DIR "/data");

QByteArray S(const char* utf8) { return Sj(utf8); }

StripEntry Entry(int series, const char* type, const char* extension, const char* department,
                 const char* user, const char* registered) {
  return {sjis::Encode(SeriesName(series)), S(type), S(extension), S(department), S(user), {}, registered};
}

// Types lines into key k of the strip starting at `start`, as the key
// editor stores them.
void TypeKey(StripDocument& doc, qsizetype start, int k, const QList<const char*>& texts) {
  const qsizetype key = KeyBlockLine(doc.lines(), start, k);
  EXPECT_GT(KeyNumberValue(doc.at(key + layout::kKeyNumber)), 0) << "key " << k << " is fixed";
  const int old = ReadCount(doc.lines(), key + layout::kTextCount);
  doc.Remove(key + layout::kFirstText, old);
  Lines lines;
  for (const char* text : texts) lines << CutToBytes(S(text), layout::kTextLineBytes);
  doc.Insert(key + layout::kFirstText, lines);
  doc.Replace(key + layout::kTextCount, QByteArray::number(lines.size()));
}

void Format(StripDocument& doc, qsizetype start, int k, const QByteArray& colorPair, bool bold) {
  const qsizetype key = KeyBlockLine(doc.lines(), start, k);
  doc.Replace(key + layout::kColorPair, colorPair);
  doc.Replace(key + layout::kBold, bold ? "1" : "0");
}

qsizetype Create(StripDocument& doc, QList<StripRow>& rows, StripEntry entry) {
  const std::optional<qsizetype> start = CreateStrip(doc, entry, rows, QStringList{kTemplateFolder});
  EXPECT_TRUE(start);
  rows << RowOfEntry(entry, static_cast<int>(rows.size()) + 1);
  return start.value_or(0);
}

Lines MakeSample() {
  StripDocument doc;
  QList<StripRow> rows;
  qsizetype s = Create(doc, rows, Entry(2, "Ｔｅ24ボタン", "201", "営業部", "山田 太郎", "2026/04/01 09:00"));
  TypeKey(doc, s, 0, {"代表", "03-1234-5678"});
  Format(doc, s, 0, "0,65535", true);
  TypeKey(doc, s, 1, {"営業部長", "佐藤"});
  TypeKey(doc, s, 2, {"営業一課"});
  TypeKey(doc, s, 3, {"営業二課"});
  TypeKey(doc, s, 4, {"総務部"});
  TypeKey(doc, s, 5, {"経理部"});
  TypeKey(doc, s, 12, {"外線1"});
  TypeKey(doc, s, 13, {"外線2"});
  TypeKey(doc, s, 14, {"FAX"});
  TypeKey(doc, s, 23, {"緊急連絡", "内線999"});
  Format(doc, s, 23, "255", true);
  TypeKey(doc, s, 30, {"山田携帯"});
  TypeKey(doc, s, 31, {"佐藤携帯"});

  // A copy of the first strip for a colleague: same keys, own header.
  StripEntry copy = Entry(2, "Ｔｅ24ボタン", "202", "営業部", "佐藤 花子", "2026/04/01 09:15");
  copy.copySource = CopySourceText(rows[0]);
  s = Create(doc, rows, copy);
  TypeKey(doc, s, 1, {"山田"});

  s = Create(doc, rows, Entry(0, "標準Ｋａ24ボタン", "301", "総務部", "鈴木 一郎", "2026/04/02 10:30"));
  TypeKey(doc, s, 0, {"受付"});
  TypeKey(doc, s, 1, {"会議室A"});
  TypeKey(doc, s, 2, {"会議室B"});
  TypeKey(doc, s, 12, {"守衛室"});

  s = Create(doc, rows, Entry(0, "Ｋａ拡張48ボタン", "300", "受付", "代表受付", "2026/04/02 10:45"));
  const char* const names[] = {"社長室", "副社長", "専務", "常務", "営業部", "総務部", "経理部", "技術部",
                               "製造部", "品質管理", "資材部", "物流"};
  for (int k = 0; k < 12; ++k) TypeKey(doc, s, k, {names[k]});

  s = Create(doc, rows, Entry(4, "Ｒｕ・Ｈｏ共用30ボタン", "401", "技術部", "高橋 次郎", "2026/04/03 13:20"));
  TypeKey(doc, s, 0, {"技術部長"});
  TypeKey(doc, s, 1, {"開発一課"});
  TypeKey(doc, s, 2, {"開発二課"});
  TypeKey(doc, s, 36, {"試験室"});

  s = Create(doc, rows, Entry(6, "ＳＩＰ電話機12ボタン", "501", "会議室", "", "2026/04/03 16:05"));
  TypeKey(doc, s, 0, {"代表"});
  TypeKey(doc, s, 1, {"受付"});
  TypeKey(doc, s, 12, {"山田"});
  TypeKey(doc, s, 13, {"佐藤"});
  return doc.lines();
}

}  // namespace

TEST(SampleFile, EqualsWhatTheCreationCodeMakes) {
  FakePrompts prompts;
  const Lines sample = MakeSample();
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.value(0).text.toStdString();
  if (qEnvironmentVariableIntValue("LABELKOBO_WRITE_SAMPLE") == 1) {
    ASSERT_TRUE(WriteLinesFile(kSamplePath, sample));
  }
  const QByteArray bytes = ReadBytes(kSamplePath);
  EXPECT_EQ(bytes, JoinLines(sample)) << "run with LABELKOBO_WRITE_SAMPLE=1 to write samples/sample.VRD";

  // The file reads back as six strips of several series, every key reachable.
  StripDocument doc;
  doc.SetLines(SplitLines(bytes));
  ASSERT_EQ(doc.StripCount(), 6);
  QList<QByteArray> series;
  for (int n = 1; n <= 6; ++n) {
    const qsizetype start = doc.FindStrip(n) + 1;
    ASSERT_GT(start, 1);
    series << doc.at(start + layout::kSeriesName);
    EXPECT_NO_THROW(KeyBlockLine(doc.lines(), start, 0));
  }
  EXPECT_EQ(QSet<QByteArray>(series.begin(), series.end()).size(), 4);
}
