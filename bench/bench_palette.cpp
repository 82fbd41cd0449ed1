// Switches the series of the main window's palette back and forth with a
// 100-key strip on screen: the buttons of the old series freed, 60 made,
// the key-label file (or the defaults) loaded and every button captioned.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "HundredKeyStrip.h"
#include "app/Main.h"
#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "keylabels/DefaultKeyLabels.h"
#include "keylabels/KeyLabelFile.h"

namespace {

// Mean and worst milliseconds of 50 switches between two series (after one
// more to warm up), the worst with its ratio to the limit of 10 ms.
void Report(const char* what, TFMain& main, int a, int b, bool paint) {
  std::vector<double> times;
  const int runs = 51;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    main.ComboBoxSeriesChange(i % 2 ? a : b);
    if (paint) QApplication::processEvents();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count());
  }
  times.erase(times.begin());  // the warm-up
  double sum = 0;
  for (double t : times) sum += t;
  const double worst = *std::max_element(times.begin(), times.end());
  std::printf("  %-46s mean %7.3f  worst %7.3f  ratio %5.2f\n", what, sum / times.size(), worst, worst / 10);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  QTemporaryDir folder;
  const QString path = folder.filePath("bench.VRD");
  if (!WriteLinesFile(path, bench::HundredKeyStrip())) return 1;
  TFMain main(folder.path());
  main.show();
  if (!main.OpenDataFile(path)) return 1;

  std::printf("palette series switch with a 100-key strip shown (ms per switch)\n");
  Report("0 <-> 1, built-in defaults, 60 buttons", main, 0, 1, false);
  for (int s : {0, 1, 6}) {
    if (!WriteKeyLabelFile(s, folder.path(), DefaultKeyLabels(s))) return 1;
  }
  Report("0 <-> 1, key-label files, 60 buttons", main, 0, 1, false);
  Report("0 <-> 6, key-label files, 60 / 45 buttons", main, 0, 6, false);
  Report("0 <-> 1, key-label files, then painted", main, 0, 1, true);
  main.Document().MarkSaved();
  return 0;
}
