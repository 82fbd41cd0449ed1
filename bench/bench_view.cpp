// Lays out a 100-key strip in the main window, with every control of both
// views, and prints the time per layout next to the plain parts of it.
#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <string_view>

#include "FacesInOneImage.h"
#include "GenerateStrips.h"
#include "HundredKeyStrip.h"
#include "app/Main.h"
#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "base/Prompts.h"
#include "view/StripView.h"

namespace {

// A benchmark must never wait for a message box: it prints the message.
class ConsolePrompts : public Prompts {
 public:
  PromptAnswer Message(const QString& text, const QString& title, PromptIcon, PromptButtons,
                       PromptAnswer defaultAnswer) override {
    if (title == QStringLiteral("確認")) return PromptAnswer::Yes;  // the delete question
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    return defaultAnswer;
  }
  std::optional<QString> OpenFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QColor> Color(const QColor&) override { return std::nullopt; }
  std::optional<QFont> Font(const QFont&, const QColor&, QColor*) override { return std::nullopt; }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  ConsolePrompts prompts;
  Prompts::Install(&prompts);
  QTemporaryDir folder;
  const QString path = folder.filePath("bench.VRD");
  if (!WriteLinesFile(path, bench::HundredKeyStrip())) return 1;

  TFMain main(folder.path());
  main.show();
  if (!main.OpenDataFile(path) || main.KeyCount() != 100) {
    std::fprintf(stderr, "the bench strip did not lay out 100 keys\n");
    return 1;
  }
  // Between two layouts the event loop runs, as it does between two clicks
  // on the strip list; the time is the fastest of the runs.
  const int runs = 15;
  const auto idle = [] { QApplication::processEvents(); };
  const StripPlan plan = PlanStrip(main.Document().lines(), 3);
  const double oneImageMs = bench::FacesInOneImageMilliseconds(main.Document().lines(), plan);
  std::printf("100-key strip in the main window, fastest of %d runs (ms), and its ratio to the same\n"
              "100 key faces drawn into one image (%.3f ms, limit 4 for the layout)\n", runs, oneImageMs);
  for (const char* view : {"ActionShowAll", "ActionShowDetail"}) {
    main.Action(view)->trigger();
    const double layoutMs = bench::FastestMilliseconds([&] { main.BuildStripView(); }, idle, runs);
    const double shownMs = bench::FastestMilliseconds([&] {
      main.BuildStripView();
      main.repaint();
    }, idle, runs);
    const char* name = view == std::string_view("ActionShowAll") ? "all view   " : "detail view";
    std::printf("  %s laid out with every control       %8.3f  ratio %5.2f\n", name, layoutMs, layoutMs / oneImageMs);
    std::printf("  %s laid out and the window painted   %8.3f  ratio %5.2f\n", name, shownMs, shownMs / oneImageMs);
  }
  // What painting the whole window costs without a new layout.
  const double paintMs = bench::FastestMilliseconds([&] { main.repaint(); }, idle, runs);
  std::printf("  the window painted alone (no layout)             %8.3f  ratio %5.2f\n", paintMs, paintMs / oneImageMs);
  main.Document().MarkSaved();

  // Deleting half of a large site's strips through the window: the list,
  // the document and the strip shown afterwards.
  for (int strips : {1000, 2000}) {
    const QString site = folder.filePath(QStringLiteral("site%1.VRD").arg(strips));
    if (!WriteLinesFile(site, bench::GeneratedDocument(strips))) return 1;
    if (!main.OpenDataFile(site)) return 1;
    QList<int> rows(strips);
    std::iota(rows.begin(), rows.end(), 0);
    std::shuffle(rows.begin(), rows.end(), std::mt19937(20261208));
    rows.resize(strips / 2);
    main.ListView1->clearSelection();
    main.ListView1->setCurrentItem(main.ListView1->topLevelItem(rows.front()));
    for (int r : rows) main.ListView1->topLevelItem(r)->setSelected(true);
    const auto start = std::chrono::steady_clock::now();
    main.ActionJimeijoDeleteExecute();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("deleting %d of %d strips in the window (ms)      %8.1f  (%d rows left)\n",
                strips / 2, strips, took.count(), main.ListView1->topLevelItemCount());
    main.Document().MarkSaved();
  }
  return 0;
}
