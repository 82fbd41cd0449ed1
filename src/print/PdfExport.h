#pragma once
// PDF files of strip cards and of the strip list, drawn by the printer's own
// routines (DrawStripCard's plan and keys, DrawListPage) onto QPdfWriter
// pages: every page on its own paper at true size, placed from the page
// corner, text as vector glyphs of embedded font subsets. No printer is
// needed.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <vector>

#include "print/CardPrint.h"
#include "print/ListPrint.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

// The resolution the pages are drawn at: a pixel of the drawing routines is
// 1/1200 inch, finer than any placement the strips hold.
inline constexpr int kPdfDpi = 1200;

// A strip that was left out, by its strip number (from 1).
struct SkippedStrip {
  int number = 0;
  QString reason;
};

struct StripCardsPdf {
  QByteArray pdf;  // empty when no page could be drawn or when stopped
  int pages = 0;
  QList<SkippedStrip> skipped;  // damaged strips, in selection order
  bool cancelled = false;       // stopped before the last strip: no PDF
};

// The strips at the 0-based list positions of `selection`, one page each
// on its card paper (A5, A4 or JIS B5, portrait), shifted by the
// adjustment. A damaged strip (or one whose separator is missing) is
// skipped before anything of it is drawn. Reports before each strip.
StripCardsPdf RenderStripCardsPdf(const StripDocument& document, const QList<int>& selection,
                                  const PrintAdjustment& adjustment, Progress& progress = NoProgress());

// Every page of the strip list on A4 landscape, as list printing draws it,
// reporting before each page; empty when stopped.
QByteArray RenderStripListPdf(const std::vector<ListRow>& rows, const QDateTime& now,
                              Progress& progress = NoProgress());

// A PDF built in memory at kPdfDpi, page by page, each page full page on
// its own paper: the painter's origin is the paper corner, no margins.
class PdfPages {
 public:
  explicit PdfPages(const QString& title);
  // Starts the next page (the first begins painting); false when the
  // writer refuses.
  bool NextPage(QPageSize::PageSizeId paper, QPageLayout::Orientation orientation);
  QPainter& Painter() { return painter_; }
  // Ends painting: the file's bytes, empty when no page was started.
  QByteArray Finish();

 private:
  QBuffer buffer_;
  QPdfWriter writer_{&buffer_};
  QPainter painter_;
};

// Writes a finished PDF to `path` without ever leaving a partial file: a
// temporary file beside it, renamed over it only when every write and the
// commit succeeded. False on any failure.
bool WritePdfFile(const QString& path, const QByteArray& pdf);

inline constexpr char kPdfCreator[] = "ラベル工房";
