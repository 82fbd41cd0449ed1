#include "designer/TestStrip.h"

#include <QPainter>

#include "base/PrintSystem.h"
#include "base/ShiftJis.h"
#include "designer/TemplateEdits.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "print/PdfExport.h"

namespace {

QPointF OnCanvas(const CardCanvas& c, const PrintAdjustment& adjustment, double xMm, double yMm) {
  return QPointF((xMm + adjustment.horizontal.ToDouble()) * c.scaleX.ToDouble() - c.offsetX.ToDouble(),
                 (yMm + adjustment.vertical.ToDouble()) * c.scaleY.ToDouble() - c.offsetY.ToDouble());
}

void DrawOutlines(QPainter& painter, const CardCanvas& canvas, const StripTemplate& model,
                  const PrintAdjustment& adjustment) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, kTestOutlineMm * canvas.scaleX.ToDouble(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  for (const ItemRef& item : AllItems(model)) {
    if (item.IsGroup()) continue;
    const QRectF mm = SheetRectOf(model, item);
    painter.drawRect(QRectF(OnCanvas(canvas, adjustment, mm.left(), mm.top()),
                            OnCanvas(canvas, adjustment, mm.right(), mm.bottom())));
  }
  painter.restore();
}

}  // namespace

QByteArray TestStripSeries(const StripTemplate& model) {
  const QList<int> served = model.SeriesServed();
  return sjis::Encode(served.isEmpty() ? QStringLiteral("Ｔｅシリーズ主装置") : SeriesName(served.first()));
}

int TestStripPaperCode(const StripTemplate& model, const QString& stripType) {
  return CardFormatFor(TestStripSeries(model), sjis::Encode(stripType)).paperCode;
}

void DrawTestStrip(QPainter& painter, const CardCanvas& canvas, const StripTemplate& model, const QString& stripType,
                   const PrintAdjustment& adjustment) {
  const Lines lines = DocumentOfTemplate(model, TestStripSeries(model), sjis::Encode(stripType));
  const std::vector<CardKey> keys = PlanStripCard(lines, 3, canvas, adjustment);
  DrawOutlines(painter, canvas, model, adjustment);
  for (const CardKey& key : keys) DrawCardKey(painter, lines, key);
}

QByteArray RenderTestStripPdf(const StripTemplate& model, const QString& stripType, const PrintAdjustment& adjustment) {
  try {
    PdfPages pdf(QString::fromUtf8(kTestStripJobTitle));
    if (!pdf.NextPage(PageSizeOfPaperCode(TestStripPaperCode(model, stripType)), QPageLayout::Portrait)) return {};
    const Decimal4 scale = ScaleOfDpi(kPdfDpi);
    DrawTestStrip(pdf.Painter(), CardCanvas{Decimal4(), Decimal4(), scale, scale}, model, stripType, adjustment);
    return pdf.Finish();
  } catch (const DocumentError&) {
    return {};
  }
}

bool PrintTestStrip(PrintSystem& system, const StripTemplate& model, const QString& stripType,
                    const PrintAdjustment& adjustment) {
  SetPaperSize(system, TestStripPaperCode(model, stripType));
  std::unique_ptr<PrintJob> job = system.BeginJob(QString::fromUtf8(kTestStripJobTitle), QPageLayout::Portrait);
  if (!job) return false;
  const QPoint origin = job->CanvasOrigin();
  const CardCanvas canvas{Decimal4::FromInt(origin.y()), Decimal4::FromInt(origin.x()), ScaleOfDpi(job->DpiY()),
                          ScaleOfDpi(job->DpiX())};
  try {
    DrawTestStrip(job->Canvas(), canvas, model, stripType, adjustment);
  } catch (const DocumentError&) {
  }
  return job->End();
}
