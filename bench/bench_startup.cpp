// Start-up to a shown window with a 2,000-strip file opened at once, as the
// program starts: the application object, every window made and the main
// window shown, the file opened (read, indexed, listed, strip 1 laid out),
// and the window painted. Each part is printed with its share of the whole.
#include <QTemporaryDir>
#include <QTimer>
#include <QEvent>
#include <chrono>
#include <functional>
#include <cstdio>

#include "GenerateStrips.h"
#include "app/Application.h"
#include "app/Main.h"
#include "document/DataFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Calls onPaint once, when the watched widget is first painted.
class PaintWatch : public QObject {
 public:
  std::function<void()> onPaint;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && onPaint) {
      const bool handled = QObject::eventFilter(watched, event);
      std::function<void()> done = std::move(onPaint);
      onPaint = nullptr;
      QTimer::singleShot(0, this, done);  // after the paint itself
      return handled;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  constexpr int kStrips = 2000;
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("site.VRD"));
  if (!WriteDataFile(path, bench::GeneratedDocument(kStrips))) return 1;

  const Clock::time_point start = Clock::now();
  LabelApplication app(argc, argv);
  PrepareApplication(app);
  const double appMs = Since(start);
  double windowsMs = 0, openMs = 0, paintMs = 0;
  bool opened = false;
  PaintWatch watch;
  RunProgram(app, folder.path(), [&](TFMain& main) {
    windowsMs = Since(start) - appMs;
    const Clock::time_point openStart = Clock::now();
    opened = main.OpenDataFile(path);
    openMs = Since(openStart);
    // The event loop paints the window; the first paint after the open ends the run.
    watch.onPaint = [&, paintStart = Clock::now()] {
      paintMs = Since(paintStart);
      main.Document().MarkSaved();
      main.close();
      QCoreApplication::quit();
    };
    main.installEventFilter(&watch);
    main.update();
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
  });
  if (!opened) {
    std::fprintf(stderr, "bench_startup: the file did not open\n");
    return 1;
  }
  const double totalMs = appMs + windowsMs + openMs + paintMs;
  std::printf("start-up with a %d-strip file opened at once (ms, one run), share of the whole\n", kStrips);
  const auto row = [&](const char* what, double ms) { std::printf("  %-52s %8.1f  %5.2f\n", what, ms, ms / totalMs); };
  row("application object (platform, fonts, translation)", appMs);
  row("every window made, the main window shown", windowsMs);
  row("file opened: read, indexed, listed, strip 1 laid out", openMs);
  row("main window painted", paintMs);
  row("from the application object to the painted window", totalMs);
  return 0;
}
