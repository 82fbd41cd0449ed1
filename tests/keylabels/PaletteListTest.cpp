// The palette list: the entry walk, reading an entry, the well-formed check,
// the commit of an entry and the button captions; and the series table.
#include <gtest/gtest.h>

#include "document/Series.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/PaletteList.h"
#include "support/TestFiles.h"

namespace {

// A small list: entry 0 with two lines and a full colour pair, entry 1
// without text, entry 2 with one empty line and a pair without background.
Lines SmallList() {
  return {Sj("ＭＳ ゴシック"), "9", "255,65535", "2", Sj("業務コード"), Sj("指定発信"),
          Sj("ＭＳ 明朝"), "12", "0,0", "0",
          Sj("ＭＳ 明朝"), "8", "0", "1", ""};
}

// The default list of a series with entry `entry` rewritten to `lines`.
Lines WithEntryText(int series, int entry, const Lines& lines) {
  Lines list = DefaultKeyLabels(series);
  Lines old;
  KeyLabelFormat format = Myfunc_Get_Label(list, entry, &old);
  CommitKeyLabel(&list, entry, format, lines);
  return list;
}

int DocumentErrorLine(const Lines& list, int series) {
  try {
    CheckPaletteList(list, series);
  } catch (const DocumentError& e) {
    return int(e.Line());
  }
  return -1;
}

}  // namespace

TEST(SeriesTable, NamesEntriesAndFiles) {
  EXPECT_EQ(SeriesNames(), (QStringList{"Ｋａシリーズ主装置", "Ｍｏシリーズ主装置", "Ｔｅシリーズ主装置",
                                        "Ｒｕシリーズ主装置", "Ｈｏシリーズ主装置", "Ｎｅシリーズ主装置",
                                        "ＳＩＰ対応電話機"}));
  const char* files[kSeriesCount] = {"VRDKey7.ini", "VRDKey6.ini", "VRDKey5.ini", "VRDKey1.ini",
                                     "VRDKey2.ini", "VRDKey3.ini", "VRDKey4.ini"};
  const int perTab[kSeriesCount] = {20, 20, 20, 20, 15, 15, 15};
  for (int s = 0; s < kSeriesCount; ++s) {
    EXPECT_EQ(KeyLabelFileName(s), QString(files[s]));
    EXPECT_EQ(PaletteEntriesPerTab(s), perTab[s]);
    EXPECT_EQ(SeriesIndexOf(SeriesName(s)), s);
    EXPECT_EQ(SeriesIndexOfLine(Sj(SeriesName(s).toUtf8().constData())), s);
  }
  for (int bad : {-1, 7, 100}) {
    EXPECT_FALSE(IsSeries(bad));
    EXPECT_EQ(SeriesName(bad), QString());
    EXPECT_EQ(KeyLabelFileName(bad), QString());
    EXPECT_EQ(PaletteEntriesPerTab(bad), 0);
    EXPECT_EQ(PaletteEntryCount(bad), 0);
  }
  EXPECT_EQ(SeriesIndexOf("Ｋａシリーズ主装置 "), -1);
  EXPECT_EQ(SeriesIndexOf("Kaシリーズ主装置"), -1);
  EXPECT_EQ(SeriesIndexOf(""), -1);
  EXPECT_EQ(SeriesIndexOfLine(QByteArray(10, '\xFF')), -1);
}

TEST(PaletteList, WalksEntriesByTheirTextCounts) {
  const Lines list = SmallList();
  EXPECT_EQ(PaletteEntryLine(list, 0), 0);
  EXPECT_EQ(PaletteEntryLine(list, 1), 6);
  EXPECT_EQ(PaletteEntryLine(list, 2), 10);
  EXPECT_EQ(PaletteEntryLength(list, 0), 6);
  EXPECT_EQ(PaletteEntryLength(list, 6), 4);
  EXPECT_EQ(PaletteEntryLength(list, 10), 5);
  EXPECT_THROW(PaletteEntryLine(list, 3), DocumentError);  // past the end
  EXPECT_THROW(PaletteEntryLine(list, -1), DocumentError);
}

TEST(PaletteList, GetLabelReadsFormatAndFillsTheBuffer) {
  const Lines list = SmallList();
  Lines buffer{"stale"};
  KeyLabelFormat f = Myfunc_Get_Label(list, 0, &buffer);
  EXPECT_EQ(f.fontName, Sj("ＭＳ ゴシック"));
  EXPECT_EQ(f.fontSize, 9);
  EXPECT_EQ(f.fontColor, 255);
  EXPECT_EQ(f.backColor, 65535);
  EXPECT_EQ(buffer, (Lines{Sj("業務コード"), Sj("指定発信")}));

  f = Myfunc_Get_Label(list, 1, &buffer);
  EXPECT_EQ(f.fontSize, 12);
  EXPECT_EQ(f.backColor, 0);
  EXPECT_TRUE(buffer.isEmpty());

  // A pair without a comma: white background.
  f = Myfunc_Get_Label(list, 2, &buffer);
  EXPECT_EQ(f.fontColor, 0);
  EXPECT_EQ(f.backColor, 16777215);
  EXPECT_EQ(buffer, Lines{""});

  // A colour pair that is no number reads black on white.
  Lines odd = SmallList();
  odd[2] = "red,blue";
  f = Myfunc_Get_Label(odd, 0, &buffer);
  EXPECT_EQ(f.fontColor, 0);
  EXPECT_EQ(f.backColor, 16777215);

  // The buffer is cleared even when the entry cannot be read.
  buffer = {"stale"};
  EXPECT_THROW(Myfunc_Get_Label(list, 3, &buffer), DocumentError);
  EXPECT_TRUE(buffer.isEmpty());
}

TEST(PaletteList, WellFormedOnlyWithExactlyThreeTabsOfEntries) {
  for (int s = 0; s < kSeriesCount; ++s) EXPECT_TRUE(IsWellFormedPaletteList(DefaultKeyLabels(s), s));
  // 60 entries are right for series 0 and wrong for series 4 (45).
  EXPECT_FALSE(IsWellFormedPaletteList(DefaultKeyLabels(0), 4));
  EXPECT_FALSE(IsWellFormedPaletteList(DefaultKeyLabels(4), 0));
  EXPECT_FALSE(IsWellFormedPaletteList(DefaultKeyLabels(0), 7));
  EXPECT_FALSE(IsWellFormedPaletteList({}, 0));

  // Entries with many text lines or none are fine as long as the counts hold.
  EXPECT_TRUE(IsWellFormedPaletteList(WithEntryText(5, 44, {"a", "b", "c", "d"}), 5));
  EXPECT_TRUE(IsWellFormedPaletteList(WithEntryText(5, 0, {}), 5));

  const Lines good = DefaultKeyLabels(6);  // its last entry: 8 points, one empty line
  Lines bad = good;
  bad[3] = "x";  // text count of entry 0
  EXPECT_EQ(DocumentErrorLine(bad, 6), 3);
  bad = good;
  bad[3] = "-1";
  EXPECT_EQ(DocumentErrorLine(bad, 6), 3);
  bad = good;
  bad[1] = "7pt";  // font size of entry 0
  EXPECT_EQ(DocumentErrorLine(bad, 6), 1);
  bad = good;
  bad.removeLast();  // the last entry's only text line is missing
  EXPECT_EQ(DocumentErrorLine(bad, 6), bad.size());
  bad = good;
  bad[bad.size() - 2] = "2";  // the last entry announces a line it lacks
  EXPECT_EQ(DocumentErrorLine(bad, 6), bad.size());
  bad = good;
  bad[bad.size() - 2] = "2147483647";
  EXPECT_EQ(DocumentErrorLine(bad, 6), bad.size());
  bad = good;
  bad.append("");  // a line after the last entry
  EXPECT_EQ(DocumentErrorLine(bad, 6), good.size());
  bad = good.mid(0, good.size() - 5);  // one entry short
  EXPECT_EQ(DocumentErrorLine(bad, 6), bad.size());
}

TEST(PaletteList, CommitReplacesFormatColoursAndText) {
  Lines list = DefaultKeyLabels(6);
  Lines before;
  Myfunc_Get_Label(list, 2, &before);
  // Entry 1, "業務コード" / "指定発信", committed with black on white and three lines.
  KeyLabelFormat format{Sj("ＭＳ ゴシック"), 10, 0, 16777215};
  Lines text{Sj("一"), Sj("二"), Sj("三")};
  CommitKeyLabel(&list, 1, format, text);
  qsizetype b = PaletteEntryLine(list, 1);
  EXPECT_EQ(list.mid(b, 7), (Lines{Sj("ＭＳ ゴシック"), "10", "0,16777215", "3", Sj("一"), Sj("二"), Sj("三")}));
  EXPECT_EQ(list.size(), DefaultKeyLabels(6).size() + 1);
  EXPECT_TRUE(IsWellFormedPaletteList(list, 6));
  // The entries before and after are where the walk finds them, unchanged.
  Lines after;
  Myfunc_Get_Label(list, 2, &after);
  EXPECT_EQ(after, before);
  Lines first;
  EXPECT_EQ(Myfunc_Get_Label(list, 0, &first).fontSize, 7);
  EXPECT_EQ(first, Lines{Sj("業務コード")});

  // No text at all: N = 0, the next entry follows at once.
  CommitKeyLabel(&list, 1, format, {});
  EXPECT_EQ(list.mid(b, 9), (Lines{Sj("ＭＳ ゴシック"), "10", "0,16777215", "0",
                                  Sj("ＭＳ 明朝"), "8", "0", "1", Sj("着信拒否")}));
  EXPECT_EQ(list.size(), DefaultKeyLabels(6).size() - 2);

  // Colours: red text on yellow, then back to a pair whose text colour changes only.
  CommitKeyLabel(&list, 1, {Sj("x"), 5, 255, 65535}, {});
  EXPECT_EQ(list[b + palette::kColorPair], QByteArray("255,65535"));
  Lines buffer;
  KeyLabelFormat read = Myfunc_Get_Label(list, 1, &buffer);
  EXPECT_EQ(read.fontColor, 255);
  EXPECT_EQ(read.backColor, 65535);

  // An entry that is not there: DocumentError and the list as it was.
  const Lines kept = list;
  EXPECT_THROW(CommitKeyLabel(&list, 45, format, text), DocumentError);
  EXPECT_THROW(CommitKeyLabel(&list, -1, format, text), DocumentError);
  EXPECT_EQ(list, kept);
  Lines damaged = kept;
  damaged[b + palette::kTextCount] = "lots";
  EXPECT_THROW(CommitKeyLabel(&damaged, 1, format, text), DocumentError);
}

TEST(PaletteList, CommitOfTheLastEntry) {
  Lines list = DefaultKeyLabels(3);
  CommitKeyLabel(&list, 59, {Sj("ＭＳ 明朝"), 8, 0, 16777215}, {Sj("終")});
  EXPECT_EQ(list.mid(list.size() - 5), (Lines{Sj("ＭＳ 明朝"), "8", "0,16777215", "1", Sj("終")}));
  EXPECT_TRUE(IsWellFormedPaletteList(list, 3));
}

TEST(PaletteList, MemoLines) {
  EXPECT_EQ(MemoLines(""), Lines{});
  EXPECT_EQ(MemoLines("内線"), Lines{Sj("内線")});
  EXPECT_EQ(MemoLines("業務コード\n指定発信"), (Lines{Sj("業務コード"), Sj("指定発信")}));
  EXPECT_EQ(MemoLines("a\n\nb\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(MemoLines("\n"), Lines{""});
}

TEST(PaletteList, CaptionRule) {
  KeyLabelCaption c = CaptionOf({});
  EXPECT_EQ(c.text, QString());
  EXPECT_EQ(c.pointSize, 9);
  c = CaptionOf({""});
  EXPECT_EQ(c.text, QString());
  EXPECT_EQ(c.pointSize, 9);
  c = CaptionOf({Sj("内線電話帳")});
  EXPECT_EQ(c.text, QString("内線電話帳"));
  EXPECT_EQ(c.pointSize, 9);
  c = CaptionOf({Sj("業務コード"), Sj("指定発信")});
  EXPECT_EQ(c.text, QString("業務コード\n指定発信"));
  EXPECT_EQ(c.pointSize, 8);
  c = CaptionOf({Sj("一"), Sj("二"), Sj("三")});
  EXPECT_EQ(c.text, QString("一\n二"));
  EXPECT_EQ(c.pointSize, 8);
  c = CaptionOf({"", ""});
  EXPECT_EQ(c.text, QString("\n"));
  EXPECT_EQ(c.pointSize, 8);
}

TEST(PaletteList, FontSizeList) {
  EXPECT_EQ(FontSizeList(), (QStringList{"4", "5", "6", "7", "8", "9", "10", "11", "12", "14", "16",
                                         "18", "20", "22", "24", "26", "28", "36", "48", "72"}));
}
