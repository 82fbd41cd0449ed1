// The templates shipped in data/: each one is sound, names its series and
// fits the sheet of every series it names; together they cover every series.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <set>

#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripLayout.h"
#include "document/StripTemplate.h"
#include "document/Template.h"
#include "support/TestFiles.h"

namespace {

struct MmRect {
  Decimal4 x, y, w, h;
  Decimal4 Right() const { return x + w; }
  Decimal4 Bottom() const { return y + h; }
  bool Within(const MmRect& o, Decimal4 margin = {}) const {
    return x >= o.x + margin && y >= o.y + margin && Right() <= o.Right() - margin &&
           Bottom() <= o.Bottom() - margin && w > Decimal4() && h > Decimal4();
  }
  bool Overlaps(const MmRect& o) const {
    return x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom();
  }
  MmRect Moved(const MmRect& origin) const { return {x + origin.x, y + origin.y, w, h}; }
};

MmRect RectAt(const Lines& lines, qsizetype i) {
  return {ReadDecimal(lines, i), ReadDecimal(lines, i + 1), ReadDecimal(lines, i + 2), ReadDecimal(lines, i + 3)};
}

Decimal4 Mm(int n) { return Decimal4::FromInt(n); }

// The sheet a strip of this series and type is laid out on.
MmRect SheetOf(const QByteArray& series, const QByteArray& type) {
  const bool portrait = series.contains(Sj("Ｔｅシリーズ")) || series.contains(Sj("Ｍｏシリーズ")) ||
                        (series.contains(Sj("Ｋａシリーズ")) && type.contains(Sj("標準Ｋａ")));
  if (portrait) return {Mm(0), Mm(0), Mm(148), Mm(210)};
  if (series.contains(Sj("Ｋａシリーズ"))) return {Mm(0), Mm(0), Mm(210), Mm(148)};
  return {Mm(0), Mm(0), Mm(182), Mm(257)};
}

struct DataTemplate {
  QString fileName;
  QByteArray bytes;
  Lines lines;
  QByteArray stripType() const { return sjis::Encode(fileName.section('.', 0, 0)); }
  QList<int> series() const {
    QList<int> served;
    for (int s = 0; s < kSeriesCount; ++s) {
      if (TemplateServesSeries(lines.value(0), sjis::Encode(SeriesName(s)))) served << s;
    }
    return served;
  }
};

QList<DataTemplate> DataTemplates() {
  QList<DataTemplate> found;
  const QDir data(QStringLiteral(SOURCE_DIR "/data"));
  for (const QFileInfo& file : data.entryInfoList(QDir::Files, QDir::Name)) {
    if (!file.fileName().endsWith(".tpl", Qt::CaseInsensitive)) continue;
    DataTemplate t{file.fileName(), ReadBytes(file.filePath()), {}};
    t.lines = SplitLines(t.bytes);
    found << t;
  }
  return found;
}

// What a walk over one template found.
struct TemplateFacts {
  int keys = 0;
  int fixedKeys = 0;
  int hiddenEditableKeys = 0;  // editable keys in groups that hide numbers
};

// Checks one group and its keys; `c` moves past them.
void CheckGroup(const DataTemplate& t, qsizetype& c, const MmRect& groupRect, TemplateFacts& facts,
                int& lastNumber) {
  const Lines& lines = t.lines;
  const int flag = ReadInt(lines, c + layout::kShowNumbers);
  EXPECT_TRUE(flag == 0 || flag == 1) << "line " << c + 1;
  const int keys = ReadCount(lines, c + layout::kKeyCount);
  c += layout::kGroupHeaderLines;
  QList<MmRect> outlines;
  for (int k = 0; k < keys; ++k, c += layout::kKeyTemplateLines) {
    const std::string where = t.fileName.toStdString() + " key template at line " + std::to_string(c + 1);
    const MmRect outline = RectAt(lines, c + layout::kKeyX);
    const MmRect label = RectAt(lines, c + layout::kLabelX);
    const MmRect text = RectAt(lines, c + layout::kTextX);
    const MmRect groupSpace{Mm(0), Mm(0), groupRect.w, groupRect.h};
    EXPECT_TRUE(outline.Within(groupSpace)) << where;
    EXPECT_TRUE(label.Within(outline)) << where;
    EXPECT_TRUE(text.Within(outline)) << where;
    EXPECT_FALSE(label.Overlaps(text)) << where;
    for (const MmRect& other : outlines) EXPECT_FALSE(outline.Overlaps(other)) << where;
    outlines << outline;

    EXPECT_EQ(lines[c + layout::kLabelFont], Sj("ＭＳ Ｐゴシック")) << where;
    const int labelSize = ReadInt(lines, c + layout::kLabelSize);
    EXPECT_TRUE(labelSize >= 6 && labelSize <= 8) << where;
    EXPECT_EQ(ReadInt(lines, c + layout::kLabelColor), 0) << where;
    EXPECT_EQ(ReadInt(lines, c + layout::kLabelBold), 0) << where;
    EXPECT_EQ(ReadInt(lines, c + layout::kLabelItalic), 0) << where;
    EXPECT_EQ(ReadInt(lines, c + layout::kLabelAlign), 2) << where;

    const QByteArray& field = lines[c + layout::kKeyNumber];
    if (IsEditableTemplateKey(field)) {
      // Editable keys are numbered 001, 002... across the strip.
      EXPECT_EQ(field, QByteArray::number(lastNumber + 1).rightJustified(3, '0')) << where;
      lastNumber = KeyNumberValue(field);
      if (flag == 0) ++facts.hiddenEditableKeys;
    } else {
      const Lines start = KeyStartLines(field);
      const int size = start[layout::kFontSize - layout::kFontName].toInt();
      const QByteArray fixedText = start.last();
      EXPECT_TRUE(field.startsWith('-') && field[3] == ',') << where;
      EXPECT_TRUE(size >= 8 && size <= 12) << where;
      EXPECT_FALSE(fixedText.isEmpty()) << where;
      EXPECT_LE(fixedText.size(), layout::kTextLineBytes) << where;
      ++facts.fixedKeys;
    }
  }
  facts.keys += keys;
}

TemplateFacts CheckTemplate(const DataTemplate& t) {
  TemplateFacts facts;
  const Lines& lines = t.lines;
  const int groups = ReadCount(lines, 1);
  EXPECT_LE(groups, layout::kMaxGroups);
  QList<MmRect> groupRects;
  qsizetype c = 2;
  int lastNumber = 0;
  for (int g = 0; g < groups; ++g) {
    const MmRect rect = RectAt(lines, c + layout::kGroupX);
    for (int series : t.series()) {
      const MmRect sheet = SheetOf(sjis::Encode(SeriesName(series)), t.stripType());
      EXPECT_TRUE(rect.Within(sheet, Mm(5))) << t.fileName.toStdString() << " group " << g << " series " << series;
    }
    for (const MmRect& other : groupRects) EXPECT_FALSE(rect.Overlaps(other)) << t.fileName.toStdString();
    groupRects << rect;
    CheckGroup(t, c, rect, facts, lastNumber);
  }
  EXPECT_LE(facts.keys, layout::kMaxKeys) << t.fileName.toStdString();
  return facts;
}

}  // namespace

TEST(DataTemplates, EveryTemplateIsSoundAndFitsItsSheets) {
  const QList<DataTemplate> templates = DataTemplates();
  ASSERT_FALSE(templates.isEmpty());
  for (const DataTemplate& t : templates) {
    SCOPED_TRACE(t.fileName.toStdString());
    EXPECT_FALSE(sjis::Decode(t.bytes).contains(QChar::ReplacementCharacter));
    EXPECT_TRUE(t.bytes.endsWith("\r\n"));
    EXPECT_EQ(t.bytes.count('\n'), t.bytes.count("\r\n"));
    EXPECT_FALSE(t.series().isEmpty());
    EXPECT_NO_THROW(StripBodyFromTemplate(t.lines));
    try {
      const TemplateFacts facts = CheckTemplate(t);
      EXPECT_GT(facts.keys, 0);
      EXPECT_GT(facts.fixedKeys, 0);
    } catch (const DocumentError& e) {
      ADD_FAILURE() << "line " << e.Line() + 1 << ": " << e.Expected().toStdString();
    }
  }
}

TEST(DataTemplates, TogetherTheyServeEverySeries) {
  const QList<DataTemplate> templates = DataTemplates();
  std::set<int> served;
  bool twoSeries = false;
  bool hiddenNumbers = false;
  QStringList kaTypes;
  for (const DataTemplate& t : templates) {
    for (int s : t.series()) served.insert(s);
    twoSeries = twoSeries || t.series().size() >= 2;
    if (t.series().contains(0)) kaTypes << t.fileName;
    try {
      hiddenNumbers = hiddenNumbers || CheckTemplate(t).hiddenEditableKeys > 0;
    } catch (const DocumentError&) {
    }
  }
  EXPECT_EQ(served.size(), size_t{kSeriesCount});
  EXPECT_TRUE(twoSeries);
  EXPECT_TRUE(hiddenNumbers);
  // The Ｋａ series has a standard portrait type and a landscape one.
  const QString standard = QStringLiteral("標準Ｋａ");
  EXPECT_TRUE(std::any_of(kaTypes.begin(), kaTypes.end(), [&](const QString& n) { return n.contains(standard); }));
  EXPECT_TRUE(std::any_of(kaTypes.begin(), kaTypes.end(), [&](const QString& n) { return !n.contains(standard); }));
}

TEST(DataTemplates, AreInstalledBesideTheProgram) {
  for (const DataTemplate& t : DataTemplates()) {
    EXPECT_EQ(ReadBytes(QStringLiteral(BUILD_DIR "/") + t.fileName), t.bytes) << t.fileName.toStdString();
  }
}

TEST(DataTemplates, TheSharedTemplateIsOfferedForBothItsSeries) {
  const QString folder = QStringLiteral(SOURCE_DIR "/data");
  for (int s = 0; s < kSeriesCount; ++s) {
    const QStringList types = DiscoverStripTypes(folder, sjis::Encode(SeriesName(s)));
    EXPECT_FALSE(types.isEmpty()) << s;
    for (const QString& type : types) EXPECT_FALSE(FindTemplateFile(folder, type).isEmpty());
  }
  EXPECT_TRUE(DiscoverStripTypes(folder, sjis::Encode(SeriesName(3))).contains("Ｒｕ・Ｈｏ共用30ボタン"));
  EXPECT_TRUE(DiscoverStripTypes(folder, sjis::Encode(SeriesName(4))).contains("Ｒｕ・Ｈｏ共用30ボタン"));
}

TEST(DataTemplates, ReadIntoTheModelAndWrittenBackAreByteIdentical) {
  for (const DataTemplate& t : DataTemplates()) {
    SCOPED_TRACE(t.fileName.toStdString());
    const TemplateReading reading = ReadTemplateBytes(t.bytes);
    ASSERT_TRUE(reading.model.has_value());
    EXPECT_TRUE(reading.faults.isEmpty());
    EXPECT_EQ(reading.model->ToBytes(), t.bytes);
    EXPECT_TRUE(reading.model->trailing.isEmpty());
    EXPECT_EQ(reading.model->SeriesServed(), t.series());
    // A strip built through the model has the lines strip creation builds.
    EXPECT_EQ(StripBodyOf(*reading.model), StripBodyFromTemplate(t.lines));
  }
}
