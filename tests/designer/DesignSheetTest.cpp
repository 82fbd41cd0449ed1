// What the designer draws: the sheet's selection by band and Shift+click,
// faulty keys marked at a device pixel ratio of 2, the grid dialog's
// description, and the test strip's outlines where the template puts them.
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>

#include "DesignerFixture.h"
#include "designer/GridDialog.h"
#include "designer/TestStrip.h"

namespace {

bool IsDark(const QImage& image, QPointF at) { return qGray(image.pixel(at.toPoint())) < 200; }

}  // namespace

TEST_F(DesignerTest, BandAndShiftClickSelectAndFaultyKeysAreMarkedSharplyAtRatioTwo) {
  window->Design().Reset(Telephone(), QStringLiteral("例"), QString());
  DesignSheet* sheet = window->Sheet();
  sheet->SetScale(4);
  const StripTemplate& model = window->Design().Model();
  Click(sheet, QPointF(5, 5));
  EXPECT_TRUE(window->Design().Selected().isEmpty());
  // A band around the first three keys of the first column (and no group).
  const QRectF band = SheetRectOf(model, {0, 0}).united(SheetRectOf(model, {0, 2})).adjusted(-0.3, -0.3, 0.3, 0.3);
  Drag(sheet, band.topLeft(), band.bottomRight());
  EXPECT_EQ(window->Design().Selected(), (Selection{{0, 0}, {0, 1}, {0, 2}}));
  // Shift+click takes one away and adds another.
  Click(sheet, SheetRectOf(model, {0, 1}).center(), Qt::ShiftModifier);
  Click(sheet, SheetRectOf(model, {1, 0}).center(), Qt::ShiftModifier);
  EXPECT_EQ(window->Design().Selected(), (Selection{{0, 0}, {0, 2}, {1, 0}}));
  EXPECT_EQ(window->Design().History().count(), 0);

  // Key 1 on key 0: both overlap, marked in red; drawn at device resolution.
  window->Design().Edit("重ね", [](StripTemplate& t) { t.groups[0].keys[1] = t.groups[0].keys[0]; });
  ASSERT_TRUE(window->Design().FaultyKeys().contains(1));
  window->Design().Select({});
  QImage image((QSizeF(sheet->size()) * 2).toSize(), QImage::Format_RGB32);
  image.setDevicePixelRatio(2);
  {
    QPainter painter(&image);
    sheet->Paint(painter, QRect(QPoint(), sheet->size()));
  }
  const QRectF marked = sheet->ToPixel(SheetRectOf(model, {0, 0})).adjusted(-2, -2, 2, 2);
  const QRgb mark = image.pixel((QPointF(marked.center().x(), marked.top()) * 2).toPoint());
  EXPECT_GT(qRed(mark), 150);
  EXPECT_LT(qGreen(mark), 80);
  // The outline's edge is one device pixel wide beside white: not smeared over two logical pixels.
  const QRectF healthy = sheet->ToPixel(SheetRectOf(model, {0, 5}));
  const int y = static_cast<int>(healthy.center().y() * 2);
  int dark = 0;
  for (int x = static_cast<int>(healthy.left() * 2) - 4; x <= static_cast<int>(healthy.left() * 2) + 4; ++x) {
    if (qGray(image.pixel(x, y)) < 60) ++dark;
  }
  EXPECT_TRUE(dark == 1 || dark == 2) << dark;
}

TEST(GridDialogTest, TheFieldsGiveTheDescriptionAndRefuseTooLargeAnInset) {
  GridDialog dialog;
  QString problem;
  std::optional<GridDescription> grid = dialog.Description(&problem);
  ASSERT_TRUE(grid);  // the example telephone's numbers by default
  EXPECT_EQ(grid->groups.value(0).rows, 12);
  EXPECT_EQ(grid->groups.value(0).columns, 2);
  EXPECT_EQ(grid->keyWidth, Decimal4::FromInt(38));
  EXPECT_EQ(grid->PitchY(), Decimal4::FromInt(10));
  dialog.findChildren<QLineEdit*>().last()->setText(QStringLiteral("保留, 転送"));
  grid = dialog.Description(&problem);
  ASSERT_TRUE(grid);
  EXPECT_EQ(grid->fixedTexts, (QList<QByteArray>{Sj("保留"), Sj("転送")}));
  QList<QDoubleSpinBox*> boxes = dialog.findChildren<QDoubleSpinBox*>();
  boxes[4]->setValue(5);  // the inset: 10 mm of a 9 mm key
  EXPECT_FALSE(dialog.Description(&problem));
  EXPECT_TRUE(problem.contains(QStringLiteral("余白")));
}

TEST(TestStripTest, OutlinesLandWhereTheTemplatePutsThemShiftedByTheAdjustment) {
  const StripTemplate model = Telephone();
  const PrintAdjustment adjustment{Decimal4::FromDouble(1.5), Decimal4::FromDouble(-2)};
  // 10 pixels a millimetre from the paper corner.
  QImage page(1480, 2100, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    const Decimal4 ten = Decimal4::FromInt(10);
    DrawTestStrip(painter, CardCanvas{Decimal4(), Decimal4(), ten, ten}, model, QStringLiteral("例"), adjustment);
  }
  for (const ItemRef& item : AllItems(model)) {
    if (item.IsGroup()) continue;
    SCOPED_TRACE(testing::Message() << item.group << "," << item.key);
    const QRectF mm = SheetRectOf(model, item).translated(-2, 1.5);
    const QPointF leftMiddle(mm.left() * 10, mm.center().y() * 10);
    EXPECT_TRUE(IsDark(page, leftMiddle));
    EXPECT_FALSE(IsDark(page, leftMiddle - QPointF(3, 0)));
    EXPECT_TRUE(IsDark(page, QPointF(mm.center().x() * 10, mm.bottom() * 10)));
  }
}
