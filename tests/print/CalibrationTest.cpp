// The calibration sheet as drawn: every label, ruler numbers included,
// stands clear of every line and of every other label, on each paper.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "print/Calibration.h"

namespace {

constexpr int kDpi = 200;
constexpr double kClearanceMm = 0.3;

int Px(double mm) { return static_cast<int>(mm * kDpi / 25.4); }

QImage BlankSheet(const CalibrationPaper& paper) {
  QImage sheet(Px(paper.sizeMm.width()), Px(paper.sizeMm.height()), QImage::Format_RGB32);
  sheet.setDotsPerMeterX(qRound(kDpi / 0.0254));
  sheet.setDotsPerMeterY(qRound(kDpi / 0.0254));
  sheet.fill(Qt::white);
  return sheet;
}

// The smallest rectangle within `area` holding every inked pixel.
QRect InkIn(const QImage& image, QRect area) {
  area = area.intersected(image.rect());
  QRect ink;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(line[x]) < 160) ink |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

}  // namespace

TEST(CalibrationSheet, EveryLabelStandsClearOfEveryLineAndOfEveryOtherLabel) {
  const PrintAdjustment adjustment{Decimal4::FromDouble(1.5), Decimal4::FromDouble(-2)};
  const Decimal4 scale = ScaleOfDpi(kDpi);
  const CardCanvas canvas{Decimal4(), Decimal4(), scale, scale};
  for (const CalibrationPaper& paper : CalibrationPapers()) {
    SCOPED_TRACE(paper.name.toStdString());
    QImage lines = BlankSheet(paper);
    {
      QPainter painter(&lines);
      DrawCalibrationLines(painter, canvas, paper, adjustment);
    }
    QImage text = BlankSheet(paper);
    std::vector<QRect> inked;
    for (const CalibrationLabel& label : CalibrationLabels(paper, adjustment)) {
      SCOPED_TRACE(label.text.left(12).toStdString());
      {
        QPainter painter(&text);
        DrawCalibrationLabel(painter, canvas, label, adjustment);
      }
      // Where the label's ink may fall: its box shifted, with room to spill.
      const QRectF box = label.boxMm.translated(adjustment.horizontal.ToDouble(), adjustment.vertical.ToDouble());
      const QRect area = QRect(QPoint(Px(box.left()), Px(box.top())), QPoint(Px(box.right()), Px(box.bottom())))
                             .adjusted(-Px(10), -Px(10), Px(10), Px(10));
      const QRect ink = InkIn(text, area);
      text.fill(Qt::white);
      ASSERT_FALSE(ink.isEmpty());
      const int clear = Px(kClearanceMm) + 1;
      const QRect around = ink.adjusted(-clear, -clear, clear, clear);
      EXPECT_TRUE(InkIn(lines, around).isEmpty()) << "a line within " << kClearanceMm << " mm";
      for (const QRect& other : inked) EXPECT_FALSE(other.intersects(around)) << "another label";
      inked.push_back(ink);
    }
  }
}
