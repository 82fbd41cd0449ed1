// Start-up to a shown window with a 2,000-strip file opened at once, as the
// program starts: the application object, every window made and the main
// window shown, the file opened (read, indexed, listed, strip 1 laid out),
// and the window painted. Each part is printed with its share of the whole.
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
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
  RunProgram(app, folder.path(), [&](TFMain& main) {
    windowsMs = Since(start) - appMs;
    const Clock::time_point openStart = Clock::now();
    opened = main.OpenDataFile(path);
    openMs = Since(openStart);
    QTimer::singleShot(0, &main, [&] {
      const Clock::time_point paintStart = Clock::now();
      main.repaint();
      paintMs = Since(paintStart);
      main.Document().MarkSaved();
      main.close();
      QCoreApplication::quit();
    });
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
