// Strip geometry: sheet table, scales, every rectangle of both views to the
// pixel, the 100-group and 100-key limits, damaged numbers and the jump from
// the all view.
#include <gtest/gtest.h>

#include "document/StripLayout.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/KeyTextLoad.h"
#include "view/StripGeometry.h"

namespace {

// One group at 10, 20 (40 x 30 mm) holding the given keys.
TestStrip OneGroupStrip(QList<TestKey> keys) {
  TestStrip strip;
  TestGroup group;
  group.keys = std::move(keys);
  strip.groups = {group};
  return strip;
}

StripPlan Plan(const TestStrip& strip) {
  return PlanStrip(DocumentLines({strip}), kFirstStripStart);
}

// A strip whose groups hold the given numbers of keys.
TestStrip StripWithKeys(const QList<int>& keysPerGroup) {
  TestStrip strip;
  for (int count : keysPerGroup) {
    TestGroup group;
    for (int i = 0; i < count; ++i) group.keys.append(TestKey::Editable(i + 1));
    strip.groups.append(group);
  }
  return strip;
}

// Runs `action` and returns the line index of the DocumentError it raises.
template <typename F>
qsizetype ErrorLine(F action) {
  try {
    action();
  } catch (const DocumentError& e) {
    return e.Line();
  }
  ADD_FAILURE() << "no DocumentError";
  return -2;
}

}  // namespace

TEST(StripGeometry, WorkedExampleOfTheTeSeries) {
  TestKey key = TestKey::Editable(1);
  key.textX = "1.5";
  key.textY = "2";
  key.textWidth = "20";
  key.textHeight = "8";
  const StripPlan plan = Plan(OneGroupStrip({key}));

  ASSERT_FALSE(plan.tooMany);
  EXPECT_EQ(plan.view[kDetailView].sx.Raw(), 43952);
  EXPECT_EQ(plan.view[kDetailView].sy.Raw(), 37780);
  EXPECT_EQ(plan.view[kAllView].sx.Raw(), 46486);
  EXPECT_EQ(plan.view[kAllView].sy.Raw(), 29809);
  EXPECT_EQ(plan.view[kDetailView].size, QSize(650, 793));
  EXPECT_EQ(plan.view[kAllView].size, QSize(688, 626));
  EXPECT_FALSE(plan.roundedCorners);

  ASSERT_EQ(plan.keys.size(), 1u);
  const KeyView& detail = plan.keys[0].view[kDetailView];
  EXPECT_EQ(detail.panel, QRect(50, 83, 87, 30));
  EXPECT_EQ(detail.frame, QRect(48, 81, 91, 34));
  // All view: 4.6486 x 11.5 = 53.4589, 2.9809 x 22 = 65.5798, 4.6486 x 20 =
  // 92.972, 2.9809 x 8 = 23.8472.
  const KeyView& all = plan.keys[0].view[kAllView];
  EXPECT_EQ(all.panel, QRect(53, 65, 92, 23));
  EXPECT_EQ(all.frame, QRect(51, 63, 96, 27));
}

TEST(StripGeometry, SheetTableChoosesTheFirstMatchingRow) {
  struct Case {
    const char* series;
    const char* type;
    QSize detail, all;
    bool rounded;
  } cases[] = {
      {"Ｔｅシリーズ主装置", "何でも", {650, 793}, {688, 626}, false},
      {"Ｍｏシリーズ主装置", "標準Ｋａ", {650, 793}, {688, 626}, false},
      {"Ｋａシリーズ主装置", "標準Ｋａ（２４）", {650, 793}, {513, 626}, false},
      {"Ｋａシリーズ主装置", "Ｋａ拡張", {800, 485}, {800, 485}, false},
      {"ＳＩＰ対応電話機", "標準Ｋａ", {800, 971}, {688, 626}, true},
      {"Ｈｏシリーズ主装置", "", {800, 971}, {688, 626}, true},
  };
  for (const Case& c : cases) {
    TestStrip strip = OneGroupStrip({TestKey::Editable(1)});
    strip.series = Sj(c.series);
    strip.type = Sj(c.type);
    const StripPlan plan = Plan(strip);
    EXPECT_EQ(plan.view[kDetailView].size, c.detail) << c.series << " " << c.type;
    EXPECT_EQ(plan.view[kAllView].size, c.all) << c.series << " " << c.type;
    EXPECT_EQ(plan.roundedCorners, c.rounded) << c.series;
  }
  // The landscape Ka sheet: 800 / 210 and 485.5 / 148 in both views.
  const SheetFormat ka = SheetFormatFor(Sj("Ｋａシリーズ主装置"), Sj("その他"));
  EXPECT_EQ(ka.sheetWidth, Decimal4::FromInt(210));
  EXPECT_EQ((ka.canvasWidth[kAllView] / ka.sheetWidth).Raw(), 38095);
  EXPECT_EQ((ka.canvasHeight[kDetailView] / ka.sheetHeight).Raw(), 32804);
}

TEST(StripGeometry, RectanglesTruncateEachValueAtTheEnd) {
  // Group at 9.839 mm, 22.6965 mm wide: SX x (x + width) = 143.0000 while the
  // key outline adds SX x width = 99.7556 to the left 43.2443: 142.9999.
  TestStrip strip;
  TestGroup group;
  group.x = "9.839";
  group.y = "0";
  group.width = "22.6965";
  group.height = "10";
  TestKey key = TestKey::Editable(1);
  key.x = "0";
  key.y = "0";
  key.width = "22.6965";
  key.height = "10";
  // A text area reaching left of the strip's origin (4.3952 x -9.739 =
  // -42.8048) and a top of 3.778 x 0.1 = 0.3778: the frame subtracts 2 before
  // truncating, so its top is -1.6222 -> -1, not 0 - 2.
  key.textX = "-19.578";
  key.textY = "0.1";
  key.textWidth = "0.5";
  key.textHeight = "1";
  group.keys = {key};
  strip.groups = {group};
  const StripPlan plan = Plan(strip);

  const DecimalRect& g = plan.groups[0].rect[kDetailView];
  EXPECT_EQ(g.left.Raw(), 432443);
  EXPECT_EQ(g.right.Raw(), 1430000);
  EXPECT_EQ(PixelRect(g), QRect(43, 0, 100, 37));
  const DecimalRect& outline = plan.keys[0].view[kDetailView].outline;
  EXPECT_EQ(outline.right.Raw(), 1429999);
  EXPECT_EQ(PixelRect(outline), QRect(43, 0, 99, 37));

  const KeyView& detail = plan.keys[0].view[kDetailView];
  EXPECT_EQ(detail.panel, QRect(-42, 0, 2, 3));
  EXPECT_EQ(detail.frame, QRect(-44, -1, 6, 7));
}

TEST(StripGeometry, NumberLabelsAndTheAllViewSizeRule) {
  TestKey key = TestKey::Editable(7);
  key.labelX = "0.5";
  key.labelY = "0.25";
  key.labelWidth = "3";
  key.labelHeight = "2";
  key.labelFont = Sj("ＭＳ ゴシック");
  key.labelSize = "9";
  key.labelColor = "255";
  key.labelBold = "1";
  key.labelItalic = "0";
  key.labelAlign = "3";
  key.size = "12";
  const StripPlan plan = Plan(OneGroupStrip({key}));
  const KeyPlan& k = plan.keys[0];
  // 4.3952 x 10.5 = 46.1496, 3.778 x 20.25 = 76.5045, 13.1856, 7.556.
  EXPECT_EQ(k.view[kDetailView].label, QRect(46, 76, 13, 7));
  EXPECT_EQ(k.label.fontName, Sj("ＭＳ ゴシック"));
  EXPECT_EQ(k.label.color, 255);
  EXPECT_TRUE(k.label.bold);
  EXPECT_FALSE(k.label.italic);
  EXPECT_EQ(k.label.alignment, 3);
  EXPECT_EQ(k.shownNumber, 7);
  EXPECT_TRUE(k.labelVisible);
  // (9 - 3) x 688 / 650 + 3 = 9 and (12 - 3) x 688 / 650 + 3 = 12.
  EXPECT_EQ(k.view[kDetailView].labelPointSize, 9);
  EXPECT_EQ(k.view[kAllView].labelPointSize, 9);
  EXPECT_EQ(k.view[kDetailView].textPointSize, 12);
  EXPECT_EQ(k.view[kAllView].textPointSize, 12);

  // Standard Ka: (12 - 3) x 513 / 650 + 3 = 10.
  TestStrip ka = OneGroupStrip({key});
  ka.series = Sj("Ｋａシリーズ主装置");
  ka.type = Sj("標準Ｋａ");
  EXPECT_EQ(Plan(ka).keys[0].view[kAllView].textPointSize, 10);

  EXPECT_EQ(AllViewFontSize(9, 650, 688), 9);
  EXPECT_EQ(AllViewFontSize(12, 650, 513), 10);
  EXPECT_EQ(AllViewFontSize(1, 650, 513), 2);  // -2 x 513 / 650 = -1.57 -> -1
  EXPECT_EQ(AllViewFontSize(2000000000, 650, 688), 2116923076);  // no overflow
}

TEST(StripGeometry, KeyNumberFieldsAndTheShowNumbersFlag) {
  QList<TestKey> keys(5, TestKey::Editable(1));
  keys[0].number = "-5";
  keys[1].number = "0";
  keys[2].number = "  ";
  keys[3].number = "3";
  keys[4].number = Sj("-05,12保留");
  const StripPlan shown = Plan(OneGroupStrip(keys));
  ASSERT_EQ(shown.keys.size(), 5u);
  auto expect = [](const KeyPlan& k, int number, int label, bool editable, bool panel) {
    EXPECT_EQ(k.keyNumber, number) << k.index;
    EXPECT_EQ(k.shownNumber, label) << k.index;
    EXPECT_EQ(k.labelVisible, label > 0) << k.index;
    EXPECT_EQ(k.editable, editable) << k.index;
    EXPECT_EQ(k.hasPanel, panel) << k.index;
  };
  expect(shown.keys[0], -5, 5, false, true);
  expect(shown.keys[1], 0, 0, false, true);
  expect(shown.keys[2], 0, 0, false, false);
  expect(shown.keys[3], 3, 3, true, true);
  expect(shown.keys[4], 0, 5, false, true);

  TestStrip hidden = OneGroupStrip(keys);
  hidden.groups[0].showNumbers = "0";
  for (const KeyPlan& k : Plan(hidden).keys) EXPECT_FALSE(k.labelVisible) << k.index;
}

TEST(StripGeometry, KeysFollowTheWalkAcrossGroups) {
  TestStrip strip = StripWithKeys({2, 0, 3});
  strip.groups[0].keys[0].text = {"a", "b", "c"};
  strip.groups[2].keys[1].text = {"x"};
  strip.groups[2].x = "100";
  const Lines lines = DocumentLines({strip, strip});
  const StripPlan plan = PlanStrip(lines, kFirstStripStart);
  ASSERT_EQ(plan.keys.size(), 5u);
  ASSERT_EQ(plan.groups.size(), 3u);
  const int groupOfKey[] = {0, 0, 2, 2, 2};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(plan.keys[k].index, k);
    EXPECT_EQ(plan.keys[k].group, groupOfKey[k]);
    EXPECT_EQ(plan.keys[k].blockLine, KeyBlockLine(lines, kFirstStripStart, k));
  }
  EXPECT_EQ(plan.keys[1].blockLine, kFirstStripStart + 7 + 6 + 36);
  EXPECT_EQ(plan.groups[2].headerLine, kFirstStripStart + 7 + 6 + 36 + 33 + 6);
  // Keys of group 2 sit at its origin, 100 mm: 4.3952 x 101 = 443.9152.
  EXPECT_EQ(PixelRect(plan.keys[2].view[kDetailView].outline).left(), 443);

  const qsizetype second = lines.indexOf(QByteArray("2") + QByteArray(10, '\xFF')) + 1;
  EXPECT_EQ(PlanStrip(lines, second).keys[4].blockLine, KeyBlockLine(lines, second, 4));
}

TEST(StripGeometry, ExactlyOneHundredKeysAndGroups) {
  const StripPlan hundred = Plan(StripWithKeys({60, 40}));
  EXPECT_FALSE(hundred.tooMany);
  EXPECT_EQ(hundred.keys.size(), 100u);

  // 60 + 40 + 1: the third group crosses the limit; the first two stay.
  const StripPlan crossing = Plan(StripWithKeys({60, 40, 1}));
  EXPECT_TRUE(crossing.tooMany);
  EXPECT_EQ(crossing.groups.size(), 2u);
  EXPECT_EQ(crossing.keys.size(), 100u);

  const StripPlan early = Plan(StripWithKeys({50, 51, 0}));
  EXPECT_TRUE(early.tooMany);
  EXPECT_EQ(early.groups.size(), 1u);
  EXPECT_EQ(early.keys.size(), 50u);

  TestStrip manyGroups = StripWithKeys(QList<int>(100, 1));
  EXPECT_FALSE(Plan(manyGroups).tooMany);
  manyGroups.groups.append(TestGroup());
  const StripPlan refused = Plan(manyGroups);
  EXPECT_TRUE(refused.tooMany);
  EXPECT_TRUE(refused.groups.empty());
  EXPECT_TRUE(refused.keys.empty());
  EXPECT_EQ(refused.view[kDetailView].size, QSize(0, 0));
  EXPECT_EQ(QString::fromUtf8(kTooManyButtonsText), QStringLiteral("ボタンの数が多すぎます。"));
}

TEST(StripGeometry, DamagedNumbersNameTheirLine) {
  const qsizetype group = kFirstStripStart + 7;
  const qsizetype key = group + 6;
  struct Case {
    const char* what;
    void (*damage)(TestStrip&);
    qsizetype line;
  } cases[] = {
      {"group count", [](TestStrip& s) { s.groupCount = "x"; }, kFirstStripStart + 6},
      {"flag", [](TestStrip& s) { s.groups[0].showNumbers = ""; }, group},
      {"group x", [](TestStrip& s) { s.groups[0].x = "1,5"; }, group + 1},
      {"key count", [](TestStrip& s) { s.groups[0].keyCount = "-1"; }, group + 5},
      {"outline", [](TestStrip& s) { s.groups[0].keys[0].height = "a"; }, key + 3},
      {"label size", [](TestStrip& s) { s.groups[0].keys[0].labelSize = "9pt"; }, key + 9},
      {"label colour", [](TestStrip& s) { s.groups[0].keys[0].labelColor = "red"; }, key + 10},
      {"label align", [](TestStrip& s) { s.groups[0].keys[0].labelAlign = ""; }, key + 13},
      {"text area", [](TestStrip& s) { s.groups[0].keys[0].textWidth = "-"; }, key + 17},
      {"font size", [](TestStrip& s) { s.groups[0].keys[0].size = "big"; }, key + 20},
      {"italic", [](TestStrip& s) { s.groups[0].keys[0].italic = "yes"; }, key + 23},
      {"text count", [](TestStrip& s) { s.groups[0].keys[0].textCount = "two"; }, key + 32},
  };
  for (const Case& c : cases) {
    TestStrip strip = OneGroupStrip({TestKey::Editable(1)});
    c.damage(strip);
    const Lines lines = DocumentLines({strip});
    EXPECT_EQ(ErrorLine([&] { PlanStrip(lines, kFirstStripStart); }), c.line) << c.what;
  }
  // The key number is read leniently: no error.
  TestStrip lenient = OneGroupStrip({TestKey::Editable(1)});
  lenient.groups[0].keys[0].number = Sj("保留");
  EXPECT_NO_THROW(Plan(lenient));

  // Text lines that run past the end of the document, and a strip cut short.
  TestStrip overrun = OneGroupStrip({TestKey::Editable(1, {"a"})});
  overrun.groups[0].keys[0].textCount = "3";
  Lines lines = DocumentLines({overrun});
  EXPECT_EQ(ErrorLine([&] { PlanStrip(lines, kFirstStripStart); }), lines.size());
  lines = DocumentLines({OneGroupStrip({TestKey::Editable(1)})}).mid(0, key + 20);
  EXPECT_EQ(ErrorLine([&] { PlanStrip(lines, kFirstStripStart); }), lines.size());

  // The message counts lines from 1.
  EXPECT_EQ(LayoutErrorText(DocumentError(41, QStringLiteral("整数"))),
            QStringLiteral("示名条データに誤りがあります（42行目：整数）。"));
  EXPECT_EQ(LayoutErrorText(DocumentError(60, QStringLiteral("行が足りません"))),
            QStringLiteral("示名条データに誤りがあります（61行目：行が足りません）。"));
}

TEST(StripGeometry, AllViewClickFindsTheGroupAndItsFirstKey) {
  TestStrip strip = StripWithKeys({2, 3, 1, 0});
  // All view, SX 4.6486, SY 2.9809: group 0 at 10/20 mm, 40 x 30 mm ->
  // left 46.486, right 232.43, top 59.618, bottom 149.045.
  strip.groups[1].x = "30";  // 139.458 to 325.402: overlaps group 0
  strip.groups[2].x = "0";
  strip.groups[2].width = "0";  // left and right 0: ends the table
  strip.groups[3].x = "100";
  const Lines lines = DocumentLines({strip});
  const StripPlan plan = PlanStrip(lines, kFirstStripStart);

  EXPECT_EQ(AllViewGroupAt(plan, {46, 100}), -1);
  EXPECT_EQ(AllViewGroupAt(plan, {47, 60}), 0);
  EXPECT_EQ(AllViewGroupAt(plan, {47, 59}), -1);
  EXPECT_EQ(AllViewGroupAt(plan, {232, 149}), 0);   // inclusive bounds
  EXPECT_EQ(AllViewGroupAt(plan, {200, 100}), 0);   // overlap: the first group wins
  EXPECT_EQ(AllViewGroupAt(plan, {325, 149}), 1);
  EXPECT_EQ(AllViewGroupAt(plan, {326, 100}), -1);
  EXPECT_EQ(AllViewGroupAt(plan, {500, 100}), -1);  // group 3 lies behind the table's end

  EXPECT_EQ(AllViewKeyAt(plan, lines, {100, 100}), 0);
  EXPECT_EQ(AllViewKeyAt(plan, lines, {300, 100}), 2);
  EXPECT_EQ(AllViewKeyAt(plan, lines, {5, 5}), -1);

  // An empty last group: its first key would be the key count, so no jump.
  TestStrip empty = StripWithKeys({2, 0});
  empty.groups[1].x = "100";
  const Lines emptyLines = DocumentLines({empty});
  const StripPlan emptyPlan = PlanStrip(emptyLines, kFirstStripStart);
  EXPECT_EQ(AllViewGroupAt(emptyPlan, {500, 100}), 1);
  EXPECT_EQ(AllViewKeyAt(emptyPlan, emptyLines, {500, 100}), -1);
}

TEST(StripGeometry, CaptionAndTextLinesCutToTwentyBytes) {
  TestStrip strip = OneGroupStrip({TestKey::Editable(1), TestKey::Editable(2)});
  strip.extension = "2001";
  strip.user = Sj("山田");
  strip.type = Sj("Ｔｅ標準");
  const QByteArray twentyOne = "123456789012345678901";
  const QByteArray leadAt20 = "1234567890123456789" + Sj("漢字");  // byte 20 starts 漢
  strip.groups[0].keys[1].text = {twentyOne, leadAt20, Sj("短い")};
  StripDocument document;
  document.SetLines(DocumentLines({strip}));
  document.MarkSaved();
  EXPECT_EQ(StripCaption(document.lines(), kFirstStripStart),
            QStringLiteral("内線：2001 電話機のタイプ：Ｔｅ標準 使用者名：山田"));

  const StripPlan plan = PlanStrip(document.lines(), kFirstStripStart);
  EXPECT_EQ(CutLongKeyTextLines(document, plan), 2);
  const qsizetype text = plan.keys[1].blockLine + 33;
  EXPECT_EQ(document.at(text), "12345678901234567890");
  EXPECT_EQ(document.at(text + 1), "1234567890123456789");
  EXPECT_EQ(document.at(text + 2), Sj("短い"));
  EXPECT_TRUE(document.IsChanged());
  EXPECT_EQ(LoadKeyTextLines(document, plan.keys[1].blockLine),
            (Lines{"12345678901234567890", "1234567890123456789", Sj("短い")}));

  // Lines already short enough leave the document unchanged.
  document.MarkSaved();
  EXPECT_EQ(CutLongKeyTextLines(document, plan), 0);
  EXPECT_FALSE(document.IsChanged());
}
