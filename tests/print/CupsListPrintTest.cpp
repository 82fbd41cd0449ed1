// The strip list printed for real through CUPS to the CUPS-PDF queue: one
// job, A4 landscape, the right number of pages, each row's texts at their
// column positions.
#include <QPrinter>
#include <gtest/gtest.h>

#include "CupsPdf.h"
#include "base/PrintSystem.h"
#include "print/ListPrint.h"
#include "support/TestFiles.h"

TEST(CupsListPrint, OneLandscapeJobWithTheRowsInTheirColumns) {
  CupsPdfQueue queue(QString::fromLatin1(kPdfQueue));
  if (!queue.Unavailable().isEmpty()) GTEST_SKIP() << queue.Unavailable().toStdString();
  ASSERT_TRUE(queue.SelectInPrintSystem());
  QList<StripRow> strips;
  for (int i = 0; i < 31; ++i) {
    StripRow row;
    row.series = "SERIES";
    row.stripType = "TYPE";
    row.extension = QByteArray::number(201 + i);
    row.department = "DEPT";
    row.userName = "USER";
    row.registered = "2017/03/05";
    strips.append(row);
  }
  PrintChoice once;
  ASSERT_EQ(PrintStripList(PrintSystem::Current(), BuildListRows(strips), once, QDateTime::currentDateTime()).stop,
            ListPrintResult::kDone);
  const QList<PdfFile> pdfs = queue.TakeNewPdfs(1);
  ASSERT_EQ(pdfs.size(), 1);
  // cups-pdf shortens the file name to 64 characters.
  EXPECT_TRUE(pdfs[0].path.contains(CupsPdfTitlePart(QStringLiteral("示名条一覧")).left(64)));
  EXPECT_EQ(pdfs[0].pages, 2);
  // A4 with the page turned: the printer's portrait sheet carries the
  // landscape page rotated a quarter turn, its top edge along the sheet's left.
  EXPECT_NEAR(pdfs[0].pageMm.width(), 210, 0.8);
  EXPECT_NEAR(pdfs[0].pageMm.height(), 297, 0.8);

  // The units of the page on this printer, in millimetres.
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(QString::fromLatin1(kPdfQueue));
  const ListMetrics m = MeasureListMetrics(&printer);
  const double mm = 25.4 / printer.logicalDpiX();
  const double pitch = m.pitch * mm, row = m.rowHeight * mm;
  const QList<PdfWord> words = PdfWords(pdfs[0].path, 1);
  for (const ListColumn& column : kListColumns) {
    SCOPED_TRACE(column.left);
    const double x = (6 + column.left) * pitch;
    // Each of the 30 rows has a word starting at the column's left edge:
    // on the turned sheet a row runs upwards, landscape x at 297 - y.
    int rowsFound = 0;
    for (int r = 0; r < 30; ++r) {
      const double top = 3 * row + 4 * row + r * row;
      for (const PdfWord& w : words) {
        if (std::abs((297 - w.mm.bottom()) - x) < pitch / 2 && w.mm.center().x() > top &&
            w.mm.center().x() < top + row) {
          ++rowsFound;
          break;
        }
      }
    }
    EXPECT_EQ(rowsFound, 30);
  }
}
