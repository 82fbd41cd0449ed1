// The strip list of 2,000 strips (67 pages): building the rows, the preview
// of page 1, and printing the whole list as one job to the CUPS-PDF printer
// when it is set up.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "HundredKeyStrip.h"
#include "base/Mainsub.h"
#include "base/PrintSystem.h"
#include "print/ListPrint.h"
#include "view/StripRenderer.h"

namespace {

QList<StripRow> Strips(int count) {
  QList<StripRow> rows;
  for (int i = 0; i < count; ++i) {
    StripRow row;
    row.series = bench::Sj("Ｔｅシリーズ主装置");
    row.stripType = bench::Sj("Ｔｅ２４ボタン");
    row.extension = QByteArray::number(2001 + i);
    row.department = bench::Sj("営業部第二課");
    row.userName = bench::Sj("山田　太郎");
    row.registered = "2017/03/05 14:07";
    rows.append(row);
  }
  return rows;
}

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
  const QList<StripRow> strips = Strips(2000);
  std::vector<ListRow> rows;
  const double build = bench::MillisecondsPerRun(20, [&] { rows = BuildListRows(strips); });
  std::printf("list rows of 2,000 strips:        %8.2f ms\n", build);
  const QDateTime now = QDateTime::currentDateTime();
  const double preview = bench::MillisecondsPerRun(20, [&] {
    QImage page = NewScreenImage(QSize(1080, 760));
    QPainter painter(&page);
    DrawListPage(painter, rows, 1, now);
  });
  std::printf("preview of page 1 (1080 x 760):   %8.2f ms\n", preview);

  PrintSystem& system = PrintSystem::Current();
  const QString queue = QStringLiteral("LabelKoboPDF");
  const QString folder = QStringLiteral("/var/spool/cups-pdf/labelkobo");
  const int index = static_cast<int>(system.Printers().indexOf(queue));
  if (index < 0 || !QDir(folder).exists()) {
    std::printf("CUPS-PDF printer: not set up (scripts/setup-cups-pdf)\n");
    return 0;
  }
  system.SetCurrentPrinter(index);
  const int before = PdfCount(folder);
  QElapsedTimer timer;
  timer.start();
  PrintStripList(system, rows, PrintChoice{}, now);
  const double sent = timer.nsecsElapsed() / 1e6;
  while ((PdfCount(folder) <= before || !QueueIdle(queue)) && timer.elapsed() < 300000) QThread::msleep(20);
  std::printf("2,000 strips, %d pages, to CUPS-PDF: job sent %.0f ms, PDF written %.0f ms\n",
              ListPageCount(static_cast<int>(rows.size())), sent, timer.nsecsElapsed() / 1e6);
  return 0;
}
