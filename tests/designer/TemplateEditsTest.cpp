// The designer's edits on a template: arranging, numbering, copying and
// removing a selection; the title of check boxes and free text.
#include <QDir>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "base/LineIO.h"
#include "designer/TemplateEdits.h"
#include "document/Series.h"
#include "DesignerFixture.h"

namespace {

// 3 rows x 2 columns of 38 x 9 mm keys numbered down, and a fixed key.
StripTemplate Grid() {
  GridDescription grid = KeyGrid(3, 2, {Sj("保留")});
  grid.title = Sj("Ｔｅシリーズ主装置");
  return TemplateOfGrid(grid);
}

}  // namespace

TEST(TemplateEdits, ArrangeTheSelectionOnTheFirstItemOrWithEqualGaps) {
  // Key 0 at 11.5, 11.5; key 4 (second column, middle row) at 50.5, 21.5; afterwards:
  const struct { Align align; double left, top; } cases[] = {{Align::kLeft, 11.5, 21.5},    {Align::kRight, 11.5, 21.5}, {Align::kTop, 50.5, 11.5},
                        {Align::kBottom, 50.5, 11.5}, {Align::kCentreX, 11.5, 21.5}, {Align::kCentreY, 50.5, 11.5}};
  for (const auto& c : cases) {
    StripTemplate t = Grid();
    AlignItems(t, {{0, 0}, {0, 4}}, c.align);
    EXPECT_EQ(SheetRectOf(t, {0, 4}), QRectF(c.left, c.top, 38, 9)) << static_cast<int>(c.align);
    EXPECT_EQ(SheetRectOf(t, {0, 0}), QRectF(11.5, 11.5, 38, 9));
  }
  // The middle key of a column pulled down, then spread again.
  StripTemplate t = Grid();
  MoveItems(t, {{0, 1}}, Decimal4(), Decimal4::FromInt(3));
  DistributeItems(t, {{0, 2}, {0, 1}, {0, 0}}, false);
  EXPECT_DOUBLE_EQ(SheetRectOf(t, {0, 1}).top(), 21.5);
  // A key of a selected group moves with it once.
  StripTemplate moved = Grid();
  MoveItems(moved, {{0, -1}, {0, 2}}, Decimal4::FromInt(1), Decimal4::FromInt(2));
  EXPECT_EQ(SheetRectOf(moved, {0, 2}), SheetRectOf(Grid(), {0, 2}).translated(1, 2));
  EXPECT_EQ(moved.groups[0].keys[2].outline.x.value(), Grid().groups[0].keys[2].outline.x.value());
}

TEST(TemplateEdits, RenumberDuplicateDeleteAndResize) {
  StripTemplate t = Grid();
  RenumberKeys(t, {{0, 4}, {0, 1}, {1, 0}}, 7);  // document order; the fixed key keeps its field
  EXPECT_EQ(t.groups[0].keys[1].keyNumber, "007");
  EXPECT_EQ(t.groups[0].keys[4].keyNumber, "008");
  EXPECT_EQ(t.groups[1].keys[0].FixedText(), Sj("保留"));

  const Selection copies = DuplicateItems(t, {{0, 0}, {1, -1}, {1, 0}}, Decimal4::FromInt(2));
  EXPECT_EQ(copies, (Selection{{0, 6}, {2, -1}}));
  EXPECT_EQ(SheetRectOf(t, {0, 6}), SheetRectOf(t, {0, 0}).translated(2, 2));
  EXPECT_EQ(t.groups[2].keys.size(), 1);
  DeleteItems(t, {{0, 6}, {2, -1}, {2, 0}, {0, 0}});
  EXPECT_EQ(t.ToBytes(), [] {
    StripTemplate expected = Grid();
    RenumberKeys(expected, {{0, 4}, {0, 1}}, 7);
    expected.groups[0].keys.removeFirst();
    return expected.ToBytes();
  }());

  StripTemplate r = Grid();
  ResizeItem(r, {0, 0}, Handle::kTopLeft, Decimal4::FromInt(2), Decimal4::FromInt(50), Decimal4::FromDouble(0.5));
  EXPECT_EQ(SheetRectOf(r, {0, 0}), QRectF(13.5, 20, 36, 0.5));  // never below the minimum
  ResizeItem(r, {0, -1}, Handle::kBottomRight, Decimal4::FromInt(1), Decimal4::FromInt(1), Decimal4::FromDouble(0.5));
  EXPECT_EQ(SheetRectOf(r, {0, -1}).size(), SheetRectOf(Grid(), {0, -1}).size() + QSizeF(1, 1));
}

TEST(TemplateEdits, FieldsOfAMultiSelectionAndUnchangedValuesKeepTheirBytes) {
  QByteArray bytes;
  ASSERT_TRUE(ReadFileBytes(QStringLiteral(SOURCE_DIR "/data/Ｔｅ24ボタン.TPL"), &bytes));
  StripTemplate t = *ReadTemplateBytes(bytes).model;
  const Selection both{{0, 0}, {0, 1}};
  EXPECT_EQ(CommonFieldValue(t, both, Field::kOutlineWidth), FieldValue(t, {0, 0}, Field::kOutlineWidth));
  EXPECT_FALSE(CommonFieldValue(t, both, Field::kKeyNumber).isValid());  // 1 and 2
  // The same value in other digits changes nothing.
  const QString width = FieldValue(t, {0, 0}, Field::kOutlineWidth).toString();
  SetField(t, both, Field::kOutlineWidth, width + (width.contains(QLatin1Char('.')) ? "00" : ".00"));
  SetField(t, both, Field::kLabelAlign, FieldValue(t, {0, 0}, Field::kLabelAlign));
  EXPECT_EQ(t.ToBytes(), bytes);
  SetField(t, both, Field::kOutlineWidth, QStringLiteral("20.25"));
  EXPECT_EQ(CommonFieldValue(t, both, Field::kOutlineWidth).toString(), QStringLiteral("20.25"));
  // A fixed key from an editable one and back.
  SetField(t, {{0, 0}}, Field::kFixedText, QStringLiteral("保留"));
  EXPECT_EQ(t.groups[0].keys[0].keyNumber, Sj("-01,09保留"));
  SetField(t, {{0, 0}}, Field::kKeyNumber, 12);
  EXPECT_EQ(t.groups[0].keys[0].keyNumber, "012");
}

TEST(TemplateEdits, TitlesOfCheckBoxesKeepTheSeriesAndTheFreeTextOfEveryShippedTemplate) {
  const QDir data(QStringLiteral(SOURCE_DIR "/data"));
  for (const QString& name : data.entryList({"*.TPL"}, QDir::Files)) {
    QByteArray bytes;
    ASSERT_TRUE(ReadFileBytes(data.filePath(name), &bytes));
    const StripTemplate t = *ReadTemplateBytes(bytes).model;
    StripTemplate rebuilt;
    rebuilt.title = TitleOf(t.SeriesServed(), FreeTextOf(t.title));
    EXPECT_EQ(rebuilt.SeriesServed(), t.SeriesServed()) << name.toStdString();
    EXPECT_EQ(FreeTextOf(rebuilt.title), FreeTextOf(t.title)) << name.toStdString();
  }
  EXPECT_EQ(TitleOf({0, 2}, QStringLiteral(" 特注 ")), Sj("Ｋａシリーズ主装置 Ｔｅシリーズ主装置 特注"));
}

TEST(TemplateEdits, RandomEditsNeverLeaveAnItemOrTheSelectionBehind) {
  QRandomGenerator random(39);
  for (int run = 0; run < 200; ++run) {
    StripTemplate t = Grid();
    for (int step = 0; step < 8; ++step) {
      const Selection all = AllItems(t);
      if (all.isEmpty()) break;
      Selection pick;
      for (int i = 0; i < 3; ++i) pick << all[random.bounded(static_cast<int>(all.size()))];
      switch (random.bounded(5)) {
        case 0: MoveItems(t, pick, Decimal4::FromInt(static_cast<int>(random.bounded(20)) - 10), Decimal4::FromInt(1)); break;
        case 1: AlignItems(t, pick, static_cast<Align>(random.bounded(6))); break;
        case 2: DistributeItems(t, pick, random.bounded(2) == 0); break;
        case 3:
          for (const ItemRef& copy : DuplicateItems(t, pick, Decimal4::FromInt(1))) ASSERT_TRUE(IsValidItem(t, copy));
          break;
        default: DeleteItems(t, pick);
      }
      // Whatever was done, the template reads back as it was written.
      const TemplateReading again = ReadTemplateBytes(t.ToBytes());
      ASSERT_TRUE(again.model);
      ASSERT_EQ(again.model->ToBytes(), t.ToBytes());
      for (const ItemRef& item : AllItems(t)) {
        EXPECT_TRUE(ItemsInside(t, SheetRectOf(t, item).adjusted(-0.01, -0.01, 0.01, 0.01)).contains(item));
      }
    }
  }
}
