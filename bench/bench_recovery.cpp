// Recovery copies of a 2,000-strip file of 48 keys through the main
// window: what the window's thread spends on one copy (after a key commit,
// and with a key being typed, whose commit is made for the copy only),
// what a key commit costs while a copy is being written (the document's
// lines are shared with the writer until it has joined them), and how long
// the worker takes to write one copy, the sync included.
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <cstdio>

#include "GenerateStrips.h"
#include "MainWindowBench.h"
#include "Timing.h"
#include "app/Main.h"
#include "base/LineIO.h"
#include "document/RecoveryCopy.h"
#include "view/StripView.h"

namespace {

constexpr int kStrips = 2000;
constexpr int kRuns = 15;

// A key's text written into the document, as leaving its editor does.
void CommitKey(TFMain& main, int k, int n) {
  main.View().Editor(k)->setPlainText(QStringLiteral("営業%1\n内線").arg(n));
  main.CommitKeyText(k);
}

bool Measure(TFMain& main, const QString& folder) {
  const QString site = folder + QStringLiteral("/site.VRD");
  if (!WriteLinesFile(site, bench::GeneratedDocument(kStrips)) || !main.OpenDataFile(site)) return false;
  main.Action(QStringLiteral("ActionShowDetail"))->trigger();
  main.ListView1->setCurrentItem(main.ListView1->topLevelItem(kStrips / 2 - 1));
  QApplication::processEvents();
  int n = 0;

  const double committedMs = bench::FastestMilliseconds([&] { main.KeepRecoveryCopy(); }, [&] {
    main.Recovery().Wait();
    CommitKey(main, 20, ++n);
  }, kRuns);

  QPlainTextEdit* editor = main.View().Editor(21);
  main.KeyFaceDblClick(21);
  const double typingMs = bench::FastestMilliseconds([&] { main.KeepRecoveryCopy(); }, [&] {
    main.Recovery().Wait();
    editor->insertPlainText(QStringLiteral("x"));
  }, kRuns);
  main.EndKeyEdit();

  // A commit right after a copy has been asked for, while the worker still
  // holds the lines, against one with the worker idle.
  const double duringMs = bench::FastestMilliseconds([&] { CommitKey(main, 22, ++n); }, [&] {
    main.Recovery().Wait();
    CommitKey(main, 23, ++n);
    main.KeepRecoveryCopy();
  }, kRuns);
  const double idleMs = bench::FastestMilliseconds([&] { CommitKey(main, 22, ++n); },
                                                   [&] { main.Recovery().Wait(); }, kRuns);

  const double workerMs = bench::FastestMilliseconds([&] {
    main.KeepRecoveryCopy();
    main.Recovery().Wait();
  }, [&] { CommitKey(main, 24, ++n); }, 5);

  std::printf("  window thread, one copy after a key commit:          %8.3f\n", committedMs);
  std::printf("  window thread, one copy with a key being typed:      %8.3f\n", typingMs);
  std::printf("  a key commit while a copy is written / worker idle:  %8.3f / %.3f\n", duringMs, idleMs);
  std::printf("  worker, one copy written and synced (%.1f MB):       %8.1f\n",
              JoinLines(main.Document().lines()).size() / 1e6, workerMs);
  main.Document().MarkSaved();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("recovery copies, %d strips of 48 keys, fastest of %d runs (ms)\n", kStrips, kRuns);
  return bench::WithMainWindow(argc, argv, Measure);
}
