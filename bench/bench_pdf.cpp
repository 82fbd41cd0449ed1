// PDF export of many strips (48 keys, 96 text lines each): strips per
// second and the peak memory of the export against the size of the PDF it
// made, for growing strip counts; the document itself is counted apart.
// `bench_pdf N` measures N strips; without N it runs 250, 500 and 1000.
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "GenerateStrips.h"
#include "Memory.h"
#include "base/Mainsub.h"
#include "document/StripDocument.h"
#include "print/PdfExport.h"

namespace {

using bench::ResetPeak;
using bench::StatusMiB;

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterFontSubstitutes();
  QTemporaryDir dir;
  // Each count in a process of its own, so no run reuses another's freed memory.
  if (argc < 2) {
    for (const char* count : {"250", "500", "1000"}) {
      QProcess run;
      run.setProcessChannelMode(QProcess::ForwardedChannels);
      run.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(count)});
      run.waitForFinished(-1);
    }
    return 0;
  }
  RenderStripCardsPdf(StripDocument(), {}, {});  // fonts and engine loaded before measuring
  {
    const int strips = QString::fromLatin1(argv[1]).toInt();
    StripDocument document;
    document.SetLines(bench::GeneratedDocument(strips));
    QList<int> selection;
    for (int i = 0; i < strips; ++i) selection.append(i);
    ResetPeak();
    const double before = StatusMiB("VmRSS:");  // the document and the program
    QElapsedTimer timer;
    timer.start();
    const StripCardsPdf pdf = RenderStripCardsPdf(document, selection, {});
    const bool written = WritePdfFile(dir.filePath(QStringLiteral("cards.pdf")), pdf.pdf);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double pdfMiB = pdf.pdf.size() / 1048576.0;
    const double added = StatusMiB("VmHWM:") - before;
    std::printf("%5d strips: %5.2f s  %4.0f strips/s  PDF %5.2f MiB  export peak +%5.1f MiB (+%4.1f beyond the PDF)  %s\n",
                strips, seconds, strips / seconds, pdfMiB, added, added - pdfMiB, written ? "written" : "NOT WRITTEN");
  }
  return 0;
}
