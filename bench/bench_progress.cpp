// The window's side of long loops: how soon the progress dialog is on
// screen once the loop starts, and the longest the window thread went
// without handling its events (a timer asks every 10 ms) while the loop ran
// on its worker: a PDF export of 300 strips of 48 keys, and 20 strips of
// 100 keys sent to the CUPS-PDF printer when it is set up.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "GenerateStrips.h"
#include "HundredKeyStrip.h"
#include "base/Mainsub.h"
#include "base/PrintSystem.h"
#include "base/ProgressDialog.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "print/PdfExport.h"

namespace {

// Notes when the first progress dialog shows.
class ShowWatch : public QObject {
 public:
  explicit ShowWatch(const QElapsedTimer& clock) : clock_(clock) { qApp->installEventFilter(this); }
  ~ShowWatch() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (shownMs < 0 && event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched)) {
      shownMs = clock_.nsecsElapsed() / 1e6;
    }
    return false;
  }
  double shownMs = -1;

 private:
  const QElapsedTimer& clock_;
};

void Measure(const char* what, int steps, const std::function<void(Progress&)>& loop) {
  QElapsedTimer clock;
  clock.start();
  ShowWatch watch(clock);
  qint64 last = 0, longest = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  tick.start(10);
  RunWithProgress(nullptr, {QStringLiteral("bench"), QStringLiteral("%1 / %2")}, steps, loop);
  std::printf("%-34s dialog shown after %6.1f ms; window thread's longest wait %4lld ms (ticks every 10); %.1f s in all\n",
              what, watch.shownMs, static_cast<long long>(longest), clock.elapsed() / 1000.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  RenderStripCardsPdf(StripDocument(), {}, {});  // fonts and engine loaded before measuring

  StripDocument many;
  many.SetLines(bench::GeneratedDocument(300));
  QList<int> all;
  for (int i = 0; i < 300; ++i) all.append(i);
  Measure("PDF export, 300 strips:", 300, [&](Progress& p) { RenderStripCardsPdf(many, all, {}, p); });

  PrintSystem& system = PrintSystem::Current();
  const int printer = static_cast<int>(system.Printers().indexOf(QStringLiteral("LabelKoboPDF")));
  if (printer < 0) {
    std::printf("CUPS-PDF printer: not set up (scripts/setup-cups-pdf)\n");
    return 0;
  }
  // The print tests' lock, so that their PDFs and these do not mix.
  QLockFile lock(QDir::tempPath() + QStringLiteral("/labelkobo-cups-pdf.lock"));
  if (!lock.tryLock(10 * 60 * 1000)) return 1;
  system.SetCurrentPrinter(printer);
  const QList<QByteArray> strip = bench::HundredKeyStrip();
  QList<QByteArray> twenty{strip[0], "20"};
  for (int i = 1; i <= 20; ++i) {
    twenty.append(SeparatorLine(i));
    twenty += strip.mid(3);
  }
  StripDocument cards;
  cards.SetLines(twenty);
  QList<int> selection;
  for (int i = 0; i < 20; ++i) selection.append(i);
  Measure("20 strips to CUPS-PDF:", 20,
          [&](Progress& p) { PrintStripCards(system, cards, selection, PrintChoice{}, {}, p); });
  return 0;
}
