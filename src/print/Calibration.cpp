#include "print/Calibration.h"

#include <QFont>
#include <algorithm>
#include <QPaintDevice>
#include <QPainter>

#include "base/PrintSystem.h"
#include "document/CheckedRead.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "print/AdjustmentText.h"
#include "print/PdfExport.h"
#include "view/KeyText.h"

namespace {

constexpr double kRulerAtMm = 40;   // the horizontal ruler's line (y) and the vertical one's (x)
constexpr double kRulerEndMm = 5;   // rulers end this far from the edges
constexpr double kCrossArmMm = 6;   // each arm of a crosshair
constexpr double kTextLeftMm = 52;  // the note, right of the vertical ruler's numbers

constexpr int kA4 = 1;  // index of A4 in CalibrationPapers()

// Millimetres from the paper corner, shifted, as canvas pixels.
QPointF OnCanvas(const CardCanvas& c, const PrintAdjustment& adj, double xMm, double yMm) {
  return QPointF((xMm + adj.horizontal.ToDouble()) * c.scaleX.ToDouble() - c.offsetX.ToDouble(),
                 (yMm + adj.vertical.ToDouble()) * c.scaleY.ToDouble() - c.offsetY.ToDouble());
}

// A tick every millimetre: 1 mm long, 2 mm at each 5, 3 mm at each 10.
double TickLengthMm(int mm) { return mm % 10 == 0 ? 3 : mm % 5 == 0 ? 2 : 1; }

QFont SheetFont(QPainter& painter, int points, bool bold = false) {
  QFont font(QStringLiteral("ＭＳ ゴシック"));
  const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
  font.setPixelSize(std::max(1, PointsToPixels(points, dpi)));
  font.setBold(bold);
  return font;
}

QString Note(const CalibrationPaper& paper, const PrintAdjustment& adj) {
  const QString inset = QString::number(kCrosshairInsetMm);
  return QStringLiteral(
             "用紙：%1（%2 × %3 mm）\n"
             "印刷に使った調整値：縦方向 %4 mm／横方向 %5 mm\n\n"
             "読み方\n"
             "1. 左上の「＋」の中心は、用紙の上端と左端からそれぞれ %6 mm の位置に印刷されるはずです。\n"
             "2. 定規を用紙の上端に当て、左上の「＋」の横線までの距離を測ります。\n"
             "　縦方向の新しい値 ＝ 今の縦方向の値 ＋ %6 － 測った値\n"
             "3. 定規を用紙の左端に当て、左上の「＋」の縦線までの距離を測ります。\n"
             "　横方向の新しい値 ＝ 今の横方向の値 ＋ %6 － 測った値\n"
             "　例：上端から %7 mm なら、縦方向の値を 1.5 mm 減らします。\n"
             "4. 目盛りの数字は、横の目盛りでは用紙の左端から、縦の目盛りでは上端からの本来の距離（mm）です。"
             "定規の目盛りと比べると、どの位置でもずれが読めます。"
             "他の三つの「＋」も、それぞれ近い二つの端から %6 mm です。\n"
             "5. 新しい値を「プリンタの微調整」に入力し、もう一度テスト印刷して確かめてください。")
      .arg(paper.name)
      .arg(paper.sizeMm.width())
      .arg(paper.sizeMm.height())
      .arg(FormatAdjustment(adj.vertical), FormatAdjustment(adj.horizontal), inset,
           QString::number(kCrosshairInsetMm + 1.5));
}

}  // namespace

const std::vector<CalibrationPaper>& CalibrationPapers() {
  static const std::vector<CalibrationPaper> papers = {
      {11, QStringLiteral("A5"), QSizeF(148, 210)},
      {9, QStringLiteral("A4"), QSizeF(210, 297)},
      {13, QStringLiteral("B5"), QSizeF(182, 257)},
  };
  return papers;
}

std::optional<CalibrationPaper> CalibrationPaperNamed(const QString& name) {
  for (const CalibrationPaper& paper : CalibrationPapers()) {
    if (paper.name.compare(name, Qt::CaseInsensitive) == 0) return paper;
  }
  return std::nullopt;
}

CalibrationPaper CalibrationPaperOf(QPageSize::PageSizeId paper) {
  for (const CalibrationPaper& p : CalibrationPapers()) {
    if (PageSizeOfPaperCode(p.paperCode) == paper) return p;
  }
  return CalibrationPapers()[kA4];
}

CalibrationPaper CalibrationPaperOfStrip(const StripDocument& document, int number) {
  const qsizetype start = CardStripStart(document, number - 1);
  if (start < 0) return CalibrationPapers()[kA4];
  const Lines& lines = document.lines();
  const CardFormat format = CardFormatFor(LineAt(lines, start + layout::kSeriesName), LineAt(lines, start + layout::kStripType));
  return CalibrationPaperOf(PageSizeOfPaperCode(format.paperCode));
}

std::vector<QPointF> CalibrationCrosshairs(const CalibrationPaper& paper) {
  const double w = paper.sizeMm.width(), h = paper.sizeMm.height(), d = kCrosshairInsetMm;
  return {{d, d}, {w - d, d}, {d, h - d}, {w - d, h - d}};
}

std::vector<CalibrationLine> CalibrationLines(const CalibrationPaper& paper) {
  std::vector<CalibrationLine> lines;
  for (const QPointF& c : CalibrationCrosshairs(paper)) {
    lines.push_back({c.x() - kCrossArmMm, c.y(), c.x() + kCrossArmMm, c.y()});
    lines.push_back({c.x(), c.y() - kCrossArmMm, c.x(), c.y() + kCrossArmMm});
  }
  const int width = static_cast<int>(paper.sizeMm.width()), height = static_cast<int>(paper.sizeMm.height());
  const double r = kRulerAtMm, end = kRulerEndMm;
  lines.push_back({end, r, width - end, r});
  for (int x = static_cast<int>(end); x <= width - end; ++x) lines.push_back({double(x), r, double(x), r + TickLengthMm(x)});
  lines.push_back({r, end, r, height - end});
  for (int y = static_cast<int>(end); y <= height - end; ++y) lines.push_back({r, double(y), r + TickLengthMm(y), double(y)});
  return lines;
}

std::vector<CalibrationLabel> CalibrationLabels(const CalibrationPaper& paper, const PrintAdjustment& adjustment) {
  std::vector<CalibrationLabel> labels;
  const double r = kRulerAtMm;
  // Ruler numbers: the distance of each 10 mm tick from its edge, under
  // the horizontal ruler and right of the vertical one. Where the rulers
  // cross, the number goes to the other side of the other ruler: left of
  // the vertical ruler, above the horizontal one.
  for (int x = 10; x <= paper.sizeMm.width() - kRulerEndMm; x += 10) {
    const bool crossing = x == r;
    labels.push_back({QString::number(x),
                      crossing ? QRectF(QPointF(r - 7.5, r + 3.3), QPointF(r - 1, r + 6.5))
                               : QRectF(QPointF(x - 3, r + 3.3), QPointF(x + 3, r + 6.5)),
                      (crossing ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop});
  }
  for (int y = 10; y <= paper.sizeMm.height() - kRulerEndMm; y += 10) {
    const bool crossing = y == r;
    labels.push_back({QString::number(y),
                      crossing ? QRectF(QPointF(r + 3.5, r - 4.2), QPointF(r + 11, r - 1))
                               : QRectF(QPointF(r + 3.5, y - 1.6), QPointF(r + 11, y + 1.6)),
                      Qt::AlignLeft | (crossing ? Qt::AlignBottom : Qt::AlignVCenter)});
  }
  for (const QPointF& c : CalibrationCrosshairs(paper)) {
    labels.push_back({QStringLiteral("%1 mm").arg(kCrosshairInsetMm),
                      QRectF(QPointF(c.x() + 1, c.y() + 1), QPointF(c.x() + 14, c.y() + 4.5)),
                      Qt::AlignLeft | Qt::AlignTop});
  }
  const double right = paper.sizeMm.width() - 8;
  labels.push_back({QStringLiteral("印刷位置の確認シート"), QRectF(QPointF(kTextLeftMm, 46), QPointF(right, 54)),
                    Qt::AlignLeft | Qt::AlignTop, 14, true});
  labels.push_back({Note(paper, adjustment),
                    QRectF(QPointF(kTextLeftMm, 56), QPointF(right, paper.sizeMm.height() - 30)),
                    Qt::AlignLeft | Qt::AlignTop, 9, false, true});
  return labels;
}

void DrawCalibrationLines(QPainter& painter, const CardCanvas& canvas, const CalibrationPaper& paper,
                          const PrintAdjustment& adjustment) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, kCalibrationLineMm * canvas.scaleX.ToDouble(), Qt::SolidLine, Qt::FlatCap));
  for (const CalibrationLine& l : CalibrationLines(paper)) {
    painter.drawLine(QLineF(OnCanvas(canvas, adjustment, l.x1, l.y1), OnCanvas(canvas, adjustment, l.x2, l.y2)));
  }
  painter.restore();
}

void DrawCalibrationLabel(QPainter& painter, const CardCanvas& canvas, const CalibrationLabel& label,
                          const PrintAdjustment& adjustment) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::black);
  painter.setFont(SheetFont(painter, label.points, label.bold));
  const QRectF box(OnCanvas(canvas, adjustment, label.boxMm.left(), label.boxMm.top()),
                   OnCanvas(canvas, adjustment, label.boxMm.right(), label.boxMm.bottom()));
  painter.drawText(box, static_cast<int>(label.alignment) | (label.wrap ? Qt::TextWordWrap : 0), label.text);
  painter.restore();
}

void DrawCalibrationSheet(QPainter& painter, const CardCanvas& canvas, const CalibrationPaper& paper,
                          const PrintAdjustment& adjustment) {
  DrawCalibrationLines(painter, canvas, paper, adjustment);
  for (const CalibrationLabel& label : CalibrationLabels(paper, adjustment)) {
    DrawCalibrationLabel(painter, canvas, label, adjustment);
  }
}

QByteArray RenderCalibrationPdf(const CalibrationPaper& paper, const PrintAdjustment& adjustment) {
  PdfPages pdf(QString::fromUtf8(kCalibrationJobTitle));
  if (!pdf.NextPage(PageSizeOfPaperCode(paper.paperCode), QPageLayout::Portrait)) return QByteArray();
  const Decimal4 scale = ScaleOfDpi(kPdfDpi);
  DrawCalibrationSheet(pdf.Painter(), CardCanvas{Decimal4(), Decimal4(), scale, scale}, paper, adjustment);
  return pdf.Finish();
}

bool PrintCalibrationSheet(PrintSystem& system, const CalibrationPaper& paper,
                           const PrintAdjustment& adjustment) {
  SetPaperSize(system, paper.paperCode);
  std::unique_ptr<PrintJob> job =
      system.BeginJob(QString::fromUtf8(kCalibrationJobTitle), QPageLayout::Portrait);
  if (!job) return false;
  const QPoint origin = job->CanvasOrigin();
  const CardCanvas canvas{Decimal4::FromInt(origin.y()), Decimal4::FromInt(origin.x()),
                          ScaleOfDpi(job->DpiY()), ScaleOfDpi(job->DpiX())};
  DrawCalibrationSheet(job->Canvas(), canvas, paper, adjustment);
  return job->End();
}
