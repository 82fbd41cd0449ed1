// Committing a key's text and walking keys with Tab: the plain commit on a
// 2,000-strip document of 48 keys each, the same commit through the main
// window (write, editor reload, one key redrawn), and Tab through the 100
// keys of a strip with the selection rules and the repaint.
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>

#include "GenerateStrips.h"
#include "HundredKeyStrip.h"
#include "MainWindowBench.h"
#include "Timing.h"
#include "app/Main.h"
#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "document/StripDocument.h"
#include "view/KeyEditing.h"
#include "view/StripView.h"

namespace {

constexpr int kStrips = 2000;
constexpr int kRuns = 200;

// The block line of key 20 of strip n.
qsizetype KeyLineOf(const StripDocument& document, int n) {
  return KeyBlockLine(document.lines(), document.FindStrip(n) + 1, 20);
}

void PlainCommits() {
  StripDocument document;
  document.SetLines(bench::GeneratedDocument(kStrips));
  constexpr double kLimitMs = 2;
  std::printf("committing key 20's text, %d strips of 48 keys (%lld lines), %d runs (ms), ratio to the limit "
              "of %.0f ms\n", kStrips, static_cast<long long>(document.size()), kRuns, kLimitMs);
  const auto print = [&](const char* what, bench::RunTimes t) {
    std::printf("  %-52s fastest %8.4f  worst %8.4f  ratio %5.2f\n", what, t.fastest, t.worst, t.worst / kLimitMs);
  };
  // The first write after a save parts the lines from the saved copy. One
  // commit before: the process's first encoding sets up its tables.
  int i = 0;
  const qsizetype firstLine = KeyLineOf(document, 1);
  CommitKeyText(document, firstLine, {QStringLiteral("外線"), QStringLiteral("内線")});
  print("first write after a save", bench::TimeRuns([&] {
    CommitKeyText(document, firstLine, {QStringLiteral("外線%1").arg(++i), QStringLiteral("内線")});
  }, [&] { document.MarkSaved(); }, 20));
  for (int n : {1, kStrips / 2, kStrips}) {
    const qsizetype keyLine = KeyLineOf(document, n);
    const bench::RunTimes same = bench::TimeRuns([&] {
      CommitKeyText(document, keyLine, {QStringLiteral("営業%1").arg(++i), QStringLiteral("内線")});
    }, {}, kRuns);
    // Two lines, then one, then two: the lines after the block move.
    const bench::RunTimes grow = bench::TimeRuns([&] {
      if (++i % 2) {
        CommitKeyText(document, keyLine, {QStringLiteral("営業部")});
      } else {
        CommitKeyText(document, keyLine, {QStringLiteral("営業"), QStringLiteral("部")});
      }
    }, {}, kRuns);
    print(qPrintable(QStringLiteral("strip %1, same line count").arg(n)), same);
    print(qPrintable(QStringLiteral("strip %1, line count changes").arg(n)), grow);
  }
  // Whether the document has unsaved changes, asked after every change.
  document.MarkSaved();
  CommitKeyText(document, KeyLineOf(document, kStrips / 2), {QStringLiteral("変更")});
  bool changed = false;
  print("unsaved changes? after one commit", bench::TimeRuns([&] { changed = document.IsChanged(); }, {}, 20));
  if (!changed) std::puts("  (the commit was not seen as a change)");
}

void SendKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget();
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(target, &release);
}

int WindowCommits(TFMain& main, const QString& folder) {
  const QString site = folder + QStringLiteral("/site.VRD");
  if (!WriteLinesFile(site, bench::GeneratedDocument(kStrips))) return 1;
  if (!main.OpenDataFile(site)) return 1;
  main.Action("ActionShowDetail")->trigger();
  QPlainTextEdit* editor = main.View().Editor(20);
  for (int n : {kStrips, 1}) {
    main.ListView1->setCurrentItem(main.ListView1->topLevelItem(n - 1));
    editor = main.View().Editor(20);
    int i = 0;
    const double sameMs = bench::MillisecondsPerRun(kRuns, [&] {
      editor->setPlainText(QStringLiteral("営業%1\n内線").arg(++i));
      main.CommitKeyText(20);
    });
    const double growMs = bench::MillisecondsPerRun(kRuns, [&] {
      editor->setPlainText(++i % 2 ? QStringLiteral("営業部") : QStringLiteral("営業\n部"));
      main.CommitKeyText(20);
    });
    std::printf("  in the window, strip %4d (write, editor reload, one key redrawn): same line count %8.4f, "
                "line count changes %8.4f\n", n, sameMs, growMs);
  }
  main.Document().MarkSaved();
  return 0;
}

int TabWalk(TFMain& main, const QString& folder) {
  const QString path = folder + QStringLiteral("/hundred.VRD");
  if (!WriteLinesFile(path, bench::HundredKeyStrip())) return 1;
  if (!main.OpenDataFile(path) || main.KeyCount() != 100) return 1;
  main.Action("ActionShowDetail")->trigger();
  main.View().Controls(0, kDetailView).panel->setFocus();
  QApplication::processEvents();
  int walked = 0;
  const double ms = bench::MillisecondsPerRun(1, [&] {
    for (int k = 1; k < 100; ++k) {
      SendKey(Qt::Key_Tab);
      QApplication::processEvents();  // the two frames' repaint
      walked += main.CurrentKey() == k && main.SelectedKeys().size() == 1;
    }
    for (int k = 98; k >= 0; --k) {
      SendKey(Qt::Key_Backtab, Qt::ShiftModifier);
      QApplication::processEvents();
      walked += main.CurrentKey() == k && main.SelectedKeys().size() == 1;
    }
  });
  std::printf("Tab and Shift+Tab through 100 keys, selection and repaint (ms per key) %8.4f  (%d of %d steps right)\n",
              ms / 198, walked, 2 * 198);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::WithMainWindow(argc, argv, [](TFMain& main, const QString& folder) {
    PlainCommits();
    return WindowCommits(main, folder) == 0 && TabWalk(main, folder) == 0;
  });
}
