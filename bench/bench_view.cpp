// Lays out a 100-key strip in the main window, with every control of both
// views, and prints the time per layout next to the plain parts of it.
#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>

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
  const int runs = 30;
  const double allMs = bench::MillisecondsPerRun(runs, [&] { main.BuildStripView(); });
  main.Action("ActionShowDetail")->trigger();
  const double detailMs = bench::MillisecondsPerRun(runs, [&] { main.BuildStripView(); });
  std::printf("100-key strip laid out in the main window, mean of %d runs (ms)\n", runs);
  std::printf("  layout with every control, all view shown     %8.3f\n", allMs);
  std::printf("  layout with every control, detail view shown  %8.3f\n", detailMs);
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
