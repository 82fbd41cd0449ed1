#include "print/CardPrint.h"

#include <QPainter>
#include <algorithm>

#include "base/PrintSystem.h"
#include "base/ShiftJis.h"
#include "document/CheckedRead.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "view/KeyPicture.h"
#include "view/KeyText.h"
#include "view/Pixels.h"
#include "view/StripRenderer.h"

using namespace layout;

namespace {

// The sheet of the document's table with the preview image's size.
CardFormat Format(const StripSheet& sheet, double imageWidth, double imageHeight) {
  return {sheet.width, sheet.height, Decimal4::FromDouble(imageWidth), Decimal4::FromDouble(imageHeight),
          sheet.paperCode};
}

// A rectangle on the canvas of millimetres x, y (with the group origin and
// the adjustment added) and a width and height in millimetres.
DecimalRect Place(const CardCanvas& c, Decimal4 x, Decimal4 y, Decimal4 width, Decimal4 height) {
  DecimalRect r;
  r.left = c.scaleX * x - c.offsetX;
  r.top = c.scaleY * y - c.offsetY;
  r.right = r.left + c.scaleX * width;
  r.bottom = r.top + c.scaleY * height;
  return r;
}

CardKey PlanKey(const Lines& lines, qsizetype at, Decimal4 gx, Decimal4 gy, const CardCanvas& c,
                const PrintAdjustment& adj) {
  CardKey key;
  key.blockLine = at;
  const Decimal4 x = ReadDecimal(lines, at + kTextX);
  const Decimal4 y = ReadDecimal(lines, at + kTextY);
  const Decimal4 width = ReadDecimal(lines, at + kTextWidth);
  const Decimal4 height = ReadDecimal(lines, at + kTextHeight);
  const KeyTextFormat format = ReadKeyTextFormat(lines, at);  // checks what DrawKeyText reads
  key.pointSize = format.pointSize;
  key.hasPicture = format.hasPicture;
  const Decimal4 top = y + gy + adj.vertical;
  Decimal4 pictureWidth;
  if (key.hasPicture) {
    pictureWidth = width;
    key.picture = Place(c, x + gx + adj.horizontal, top, width, height);
  }
  key.text = Place(c, x + pictureWidth + gx + adj.horizontal, top, width - pictureWidth, height);
  return key;
}

}  // namespace

CardFormat CardFormatFor(const QByteArray& seriesName, const QByteArray& stripType) {
  const StripSheet sheet = StripSheetFor(seriesName, stripType);
  switch (sheet.kind) {
    case SheetKind::kPortrait:
    case SheetKind::kStandardKa:
      return Format(sheet, 559.4, 793.4);
    case SheetKind::kLandscapeKa:
      return Format(sheet, 793.4, 559.4);  // on A4, in the top 148 mm of the page
    case SheetKind::kLarge:
      break;
  }
  return Format(sheet, 688, 971);
}

Decimal4 ScaleOfDpi(int dpi) { return Decimal4::FromDouble(dpi * 0.039370078740157); }

std::vector<CardKey> PlanStripCard(const Lines& lines, qsizetype stripStart, const CardCanvas& canvas,
                                   const PrintAdjustment& adjustment) {
  std::vector<CardKey> keys;
  const int groupCount = ReadCount(lines, stripStart + kGroupCount);
  qsizetype at = stripStart + kFirstGroup;
  for (int g = 0; g < groupCount; ++g) {
    const Decimal4 gx = ReadDecimal(lines, at + kGroupX);
    const Decimal4 gy = ReadDecimal(lines, at + kGroupY);
    const int keyCount = ReadCount(lines, at + kKeyCount);
    at += kGroupHeaderLines;
    for (int k = 0; k < keyCount; ++k) {
      keys.push_back(PlanKey(lines, at, gx, gy, canvas, adjustment));
      at += KeyBlockLength(lines, at);
    }
  }
  return keys;
}

void DrawCardKey(QPainter& canvas, const Lines& lines, const CardKey& key) {
  if (key.hasPicture) {
    // Stretched over the whole text area, corners on whole pixels; a picture
    // that cannot be decoded prints nothing.
    DrawKeyPicture(canvas, QRectF(PixelRect(key.picture)), lines, key.blockLine);
    return;
  }
  DrawKeyText(canvas, key.text.left, key.text.top, key.text.right, key.text.bottom, lines,
              key.blockLine, key.pointSize);
}

void DrawStripCard(QPainter& canvas, const Lines& lines, qsizetype stripStart,
                   const CardCanvas& target, const PrintAdjustment& adjustment) {
  const std::vector<CardKey> keys = PlanStripCard(lines, stripStart, target, adjustment);
  for (const CardKey& key : keys) DrawCardKey(canvas, lines, key);
}

qsizetype CardStripStart(const StripDocument& document, int position) {
  if (position < 0) return -1;
  const qsizetype separator = document.FindStrip(position + 1);
  return separator < 0 ? -1 : separator + 1;
}

QImage RenderCardPreview(const StripDocument& document, int position,
                         const PrintAdjustment& adjustment, qreal devicePixelRatio) {
  const qsizetype start = CardStripStart(document, position);
  if (start < 0) return QImage();
  const Lines& lines = document.lines();
  const CardFormat format =
      CardFormatFor(LineAt(lines, start + kSeriesName), LineAt(lines, start + kStripType));
  const CardCanvas canvas{Decimal4(), Decimal4(), format.PreviewScaleY(), format.PreviewScaleX()};
  const std::vector<CardKey> keys = PlanStripCard(lines, start, canvas, adjustment);
  QImage image = NewScreenImage(format.ImageSize(), devicePixelRatio);
  QPainter painter(&image);
  for (const CardKey& key : keys) DrawCardKey(painter, lines, key);
  return image;
}

QString CardJobTitle(const Lines& lines, qsizetype stripStart) {
  QStringList parts{QStringLiteral("示名条")};
  for (qsizetype field : {kExtension, kUserName}) {
    const QString text = sjis::Decode(LineAt(lines, stripStart + field)).trimmed();
    if (!text.isEmpty()) parts.append(text);
  }
  return parts.join(QLatin1Char(' '));
}

std::vector<CardJob> PlanCardJobs(int items, int copies, bool collate) {
  copies = std::max(1, copies);
  const int outer = collate ? copies : 1;
  const int inner = collate ? 1 : copies;
  std::vector<CardJob> jobs;
  for (int pass = 0; pass < outer; ++pass) {
    for (int item = 0; item < items; ++item) jobs.push_back({item, inner});
  }
  return jobs;
}

CardPrintResult PrintStripCards(PrintSystem& system, const StripDocument& document,
                                const QList<int>& selection, const PrintChoice& choice,
                                const PrintAdjustment& adjustment, Progress& progress) {
  CardPrintResult result;
  const Lines& lines = document.lines();
  const std::vector<CardJob> jobs = PlanCardJobs(static_cast<int>(selection.size()), choice.copies, choice.collate);
  result.jobCount = static_cast<int>(jobs.size());
  for (const CardJob& job : jobs) {
    if (!progress.Report(result.jobsSent, result.jobCount)) {
      result.stop = CardPrintResult::kCancelled;
      return result;
    }
    const qsizetype start = CardStripStart(document, selection[job.item]);
    if (start < 0) {
      result.stop = CardPrintResult::kMissingStrip;
      return result;
    }
    try {
      const CardFormat format =
          CardFormatFor(LineAt(lines, start + kSeriesName), LineAt(lines, start + kStripType));
      // Read through once before the job starts: a damaged strip sends nothing.
      PlanStripCard(lines, start, CardCanvas{}, adjustment);
      SetPaperSize(system, format.paperCode);
      std::unique_ptr<PrintJob> printJob = system.BeginJob(CardJobTitle(lines, start), QPageLayout::Portrait);
      if (!printJob) {
        result.stop = CardPrintResult::kPrinterFailed;
        return result;
      }
      const QPoint origin = printJob->CanvasOrigin();
      const CardCanvas canvas{Decimal4::FromInt(origin.y()), Decimal4::FromInt(origin.x()),
                              ScaleOfDpi(printJob->DpiY()), ScaleOfDpi(printJob->DpiX())};
      const std::vector<CardKey> keys = PlanStripCard(lines, start, canvas, adjustment);
      for (int page = 0; page < job.pages; ++page) {
        if (page > 0 && !printJob->NewPage()) {
          result.stop = CardPrintResult::kPrinterFailed;
          return result;
        }
        for (const CardKey& key : keys) DrawCardKey(printJob->Canvas(), lines, key);
      }
      if (!printJob->End()) {
        result.stop = CardPrintResult::kPrinterFailed;
        return result;
      }
      ++result.jobsSent;
    } catch (const DocumentError& error) {
      result.stop = CardPrintResult::kDamagedStrip;
      result.damage = LayoutErrorText(error);
      return result;
    }
  }
  progress.Report(result.jobsSent, result.jobCount);
  return result;
}
