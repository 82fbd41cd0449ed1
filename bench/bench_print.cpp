// Strip card printing of a 100-key strip: the preview page, drawing onto a
// printer's canvas (a PDF QPrinter at its high resolution), and one strip
// sent as a job to the CUPS-PDF printer when it is set up.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "HundredKeyStrip.h"
#include "base/Mainsub.h"
#include "base/PrintSystem.h"
#include "document/StripDocument.h"
#include "print/CardPrint.h"

namespace {

int PdfCount(const QString& folder) {
  return static_cast<int>(QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());
}

bool QueueIdle(const QString& queue) {
  QProcess lpstat;
  lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
  lpstat.waitForFinished();
  return lpstat.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  StripDocument document;
  document.SetLines(bench::HundredKeyStrip());
  const PrintAdjustment adjustment{Decimal4::FromDouble(0.5), Decimal4::FromDouble(-0.5)};

  const double preview = bench::MillisecondsPerRun(50, [&] { RenderCardPreview(document, 0, adjustment); });
  std::printf("preview page, 100 keys:          %8.2f ms  (%.0f pages/s)\n", preview, 1000 / preview);

  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(QStringLiteral("cards.pdf")));
  printer.setPageSize(QPageSize(QPageSize::A5));
  printer.setFullPage(true);
  QPainter painter(&printer);
  const CardCanvas canvas{Decimal4(), Decimal4(), ScaleOfDpi(printer.logicalDpiY()),
                          ScaleOfDpi(printer.logicalDpiX())};
  const int strips = 200;
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < strips; ++i) {
    if (i > 0) printer.newPage();
    DrawStripCard(painter, document.lines(), 3, canvas, adjustment);
  }
  const double drawMs = timer.nsecsElapsed() / 1e6 / strips;
  painter.end();
  std::printf("printer canvas (%d dpi), 100 keys: %6.2f ms  (%.0f strips/s, goal 100)\n",
              printer.logicalDpiY(), drawMs, 1000 / drawMs);

  PrintSystem& system = PrintSystem::Current();
  const QString queue = QStringLiteral("LabelKoboPDF");
  const QString folder = QStringLiteral("/var/spool/cups-pdf/labelkobo");
  const int index = static_cast<int>(system.Printers().indexOf(queue));
  if (index < 0 || !QDir(folder).exists()) {
    std::printf("CUPS-PDF printer: not set up (scripts/setup-cups-pdf)\n");
    return 0;
  }
  system.SetCurrentPrinter(index);
  const int runs = 5;
  double sendMs = 0, pdfMs = 0;
  for (int i = 0; i < runs; ++i) {
    const int before = PdfCount(folder);
    timer.restart();
    PrintStripCards(system, document, {0}, PrintChoice{}, adjustment);
    sendMs += timer.nsecsElapsed() / 1e6;
    while ((PdfCount(folder) <= before || !QueueIdle(queue)) && timer.elapsed() < 60000) QThread::msleep(10);
    pdfMs += timer.nsecsElapsed() / 1e6;
  }
  std::printf("one strip to CUPS-PDF: job sent  %8.1f ms, PDF written %.1f ms (%.1f strips/s end to end)\n",
              sendMs / runs, pdfMs / runs, 1000 * runs / pdfMs);
  return 0;
}
