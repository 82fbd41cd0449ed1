#include "print/PdfExport.h"

#include "base/LineIO.h"
#include "base/PrintSystem.h"
#include "document/CheckedRead.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"

using namespace layout;

namespace {

// One strip's page as the printer would get it; DocumentError for a
// damaged strip before anything is drawn.
struct PlannedCard {
  CardFormat format;
  std::vector<CardKey> keys;
};
PlannedCard PlanCard(const Lines& lines, qsizetype start, const CardCanvas& canvas,
                     const PrintAdjustment& adjustment) {
  PlannedCard card;
  card.format = CardFormatFor(LineAt(lines, start + kSeriesName), LineAt(lines, start + kStripType));
  card.keys = PlanStripCard(lines, start, canvas, adjustment);
  return card;
}

}  // namespace

PdfPages::PdfPages(const QString& title) {
  buffer_.open(QIODevice::WriteOnly);
  writer_.setResolution(kPdfDpi);
  writer_.setCreator(QString::fromUtf8(kPdfCreator));
  writer_.setTitle(title);
}

bool PdfPages::NextPage(QPageSize::PageSizeId paper, QPageLayout::Orientation orientation) {
  QPageLayout layout(QPageSize(paper), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  layout.setMode(QPageLayout::FullPageMode);
  if (!writer_.setPageLayout(layout)) return false;
  if (!painter_.isActive()) return painter_.begin(&writer_);
  return writer_.newPage();
}

QByteArray PdfPages::Finish() {
  if (!painter_.isActive() || !painter_.end()) return QByteArray();
  buffer_.close();
  return buffer_.data();
}

StripCardsPdf RenderStripCardsPdf(const StripDocument& document, const QList<int>& selection,
                                  const PrintAdjustment& adjustment, Progress& progress) {
  StripCardsPdf result;
  PdfPages target(QString::fromUtf8(kCardJobTitle));
  const Lines& lines = document.lines();
  const Decimal4 scale = ScaleOfDpi(kPdfDpi);
  const CardCanvas canvas{Decimal4(), Decimal4(), scale, scale};  // full page: origin at the corner
  const int total = static_cast<int>(selection.size());
  for (int done = 0; done < total; ++done) {
    if (!progress.Report(done, total)) {  // the pages drawn so far are dropped
      result.pages = 0;
      result.cancelled = true;
      return result;
    }
    const int position = selection[done];
    const qsizetype start = CardStripStart(document, position);
    if (start < 0) {
      result.skipped.append({position + 1, QStringLiteral("示名条が見つかりません。")});
      continue;
    }
    PlannedCard card;
    try {
      card = PlanCard(lines, start, canvas, adjustment);
    } catch (const DocumentError& error) {
      result.skipped.append({position + 1, LayoutErrorText(error)});
      continue;
    }
    if (!target.NextPage(PageSizeOfPaperCode(card.format.paperCode), QPageLayout::Portrait)) break;
    for (const CardKey& key : card.keys) DrawCardKey(target.Painter(), lines, key);
    ++result.pages;
  }
  result.pdf = target.Finish();
  if (result.pdf.isEmpty()) result.pages = 0;
  progress.Report(total, total);
  return result;
}

QByteArray RenderStripListPdf(const std::vector<ListRow>& rows, const QDateTime& now, Progress& progress) {
  PdfPages target(QString::fromUtf8(kListJobTitle));
  const int pages = ListPageCount(static_cast<int>(rows.size()));
  for (int page = 1; page <= pages; ++page) {
    if (!progress.Report(page - 1, pages) || !target.NextPage(QPageSize::A4, QPageLayout::Landscape)) {
      return QByteArray();
    }
    DrawListPage(target.Painter(), rows, page, now);
  }
  progress.Report(pages, pages);
  return target.Finish();
}

bool WritePdfFile(const QString& path, const QByteArray& pdf) {
  if (pdf.isEmpty()) return false;
  return WriteFileSafely(path, pdf);
}
