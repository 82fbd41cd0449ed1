#pragma once
// The real print path of the tests: jobs go through CUPS to a CUPS-PDF
// queue (scripts/setup-cups-pdf makes them) and the PDFs it writes are read
// back with poppler's tools. Tests skip when the queue is not there.

#include <QImage>
#include <QList>
#include <QLockFile>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

inline constexpr char kPdfQueue[] = "LabelKoboPDF";
inline constexpr char kMarginsQueue[] = "LabelKoboMargins";

struct PdfWord {
  QString text;
  QRectF mm;  // from the page's top-left corner
};

struct PdfFile {
  QString path;
  int jobId = 0;
  int pages = 0;
  QSizeF pageMm;  // of the first page
};

// One test's use of a queue: taken under a lock shared by every test
// process, so that parallel tests never take each other's PDFs.
class CupsPdfQueue {
 public:
  explicit CupsPdfQueue(const QString& queue);
  ~CupsPdfQueue();

  // Why the queue cannot be used; empty when it can.
  const QString& Unavailable() const { return unavailable_; }
  // Makes the queue the print system's current printer.
  bool SelectInPrintSystem() const;
  // Waits until the queue is idle and `count` new PDFs have appeared since
  // this object was made (or the last call), oldest job first.
  QList<PdfFile> TakeNewPdfs(int count, int timeoutSeconds = 90);

 private:
  QString queue_;
  QString folder_;
  QString unavailable_;
  QStringList seen_;
  std::unique_ptr<QLockFile> lock_;
};

// The size of every page in millimetres (pdfinfo).
QList<QSizeF> PdfPageSizesMm(const QString& pdf);
// The output of a poppler tool (pdffonts, pdftotext...) run on its arguments.
QString RunPoppler(const QString& tool, const QStringList& args);
// The words of a page with their boxes in millimetres (pdftotext -bbox).
QList<PdfWord> PdfWords(const QString& pdf, int page = 1);
// A page rendered in grey at `dpi` (pdftoppm).
QImage PdfPageGrey(const QString& pdf, int page, int dpi);
// The pixels `region` of a page rendered in grey at `dpi`.
QImage PdfRegionGrey(const QString& pdf, int page, int dpi, const QRect& region);
// The box in millimetres of the pixels whose grey is within 6 of `grey`.
QRectF GreyBoxMm(const QImage& page, int grey, int dpi);
// The cups-pdf file name part a job title becomes.
QString CupsPdfTitlePart(const QString& title);
