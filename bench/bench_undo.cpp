// Undo and redo on a 2,000-strip file of 48 keys: one key commit taken back
// and made again, in the document alone and through the main window (the
// key redrawn, the tool bar following); a replace-all of one word in every
// key, and deleting 1,000 of the 2,000 strips, undone and redone through
// the window (the list refilled, a strip laid out); and the heap that 1,000
// key-edit steps hold.
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QUndoStack>
#include <cstdio>
#include <malloc.h>

#include "GenerateStrips.h"
#include "MainWindowBench.h"
#include "Timing.h"
#include "app/Main.h"
#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/StripDocument.h"
#include "view/KeyEditing.h"
#include "view/KeySearch.h"
#include "view/StripView.h"

namespace {

constexpr int kStrips = 2000;

// Every question answered yes, no dialog shown.
class YesPrompts : public Prompts {
 public:
  PromptAnswer Message(const QString&, const QString&, PromptIcon, PromptButtons, PromptAnswer) override {
    return PromptAnswer::Yes;
  }
  std::optional<QString> OpenFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QColor> Color(const QColor&) override { return std::nullopt; }
  std::optional<QFont> Font(const QFont&, const QColor&, QColor*) override { return std::nullopt; }
};

size_t HeapInUse() { return mallinfo2().uordblks; }

void DocumentCommit() {
  StripDocument document;
  document.SetLines(bench::GeneratedDocument(kStrips));
  document.MarkSaved();
  const qsizetype keyLine = KeyBlockLine(document.lines(), document.FindStrip(kStrips / 2) + 1, 20);
  for (const char* shape : {"same line count", "line count changes"}) {
    document.StartRecording();
    if (shape[0] == 's') CommitKeyText(document, keyLine, {QStringLiteral("営業"), QStringLiteral("内線")});
    else CommitKeyText(document, keyLine, {QStringLiteral("営業部"), QStringLiteral("内線"), QStringLiteral("3")});
    const ChangeSet changes = document.TakeRecording();
    const ChangeSet inverse = Inverse(changes);
    // Each undo or redo is followed by a lookup of the last strip, which
    // walks the strips again where the change moved lines.
    const double undoMs = bench::FastestMilliseconds([&] {
      document.Apply(inverse);
      document.FindStrip(kStrips);
    }, [&] { document.Apply(changes); }, 21);
    const double redoMs = bench::FastestMilliseconds([&] {
      document.Apply(changes);
      document.FindStrip(kStrips);
    }, [&] { document.Apply(inverse); }, 21);
    std::printf("  document alone, %-18s undo %7.3f  redo %7.3f\n", shape, undoMs, redoMs);
  }
}

// Runs the action, then lets the window handle what it posted (repaints,
// deferred deletions) as the event loop would between two user actions.
void Trigger(TFMain& main, const char* action) {
  main.Action(QString::fromLatin1(action))->trigger();
}
void Settle() { QApplication::processEvents(); }

struct UndoRedo {
  double undoMs = 1e9;
  double redoMs = 1e9;
};
// The last step undone and redone `runs` times: the fastest of each.
UndoRedo FastestUndoRedo(TFMain& main, int runs) {
  UndoRedo fastest;
  for (int i = 0; i < runs; ++i) {
    fastest.undoMs = std::min(fastest.undoMs, bench::FastestMilliseconds([&] { Trigger(main, "ActionEditUndo"); }, {}, 1));
    Settle();
    fastest.redoMs = std::min(fastest.redoMs, bench::FastestMilliseconds([&] { Trigger(main, "ActionEditRedo"); }, {}, 1));
    Settle();
  }
  return fastest;
}

int WindowSteps(TFMain& main, const QString& folder) {
  const QString site = folder + QStringLiteral("/site.VRD");
  if (!WriteLinesFile(site, bench::GeneratedDocument(kStrips)) || !main.OpenDataFile(site)) return 1;
  Trigger(main, "ActionShowDetail");
  main.ListView1->setCurrentItem(main.ListView1->topLevelItem(kStrips / 2 - 1));
  QPlainTextEdit* editor = main.View().Editor(20);
  editor->setPlainText(QStringLiteral("営業部\n内線\n3"));
  main.CommitKeyText(20);
  Settle();
  const UndoRedo commit = FastestUndoRedo(main, 21);
  std::printf("  window, one key commit (key redrawn, tool bar):  undo %7.3f  redo %7.3f\n", commit.undoMs,
              commit.redoMs);

  // 1,000 commits, each a step: what the history holds beyond the document.
  main.History().clear();
  const size_t before = HeapInUse();
  for (int i = 0; i < 1000; ++i) {
    const int k = 20 + i % 20;
    main.View().Editor(k)->setPlainText(QStringLiteral("営業%1\n内線").arg(i));
    main.CommitKeyText(k);
    Settle();
  }
  const size_t after = HeapInUse();
  std::printf("  1,000 key-edit steps: %d steps, heap %+.2f MB (%.0f bytes a step)\n", main.History().count(),
              (double(after) - double(before)) / 1e6, (double(after) - double(before)) / 1000);

  // すべて置換 of one word in every key (96,000 lines), undone and redone:
  // each should cost about what the replacement itself does.
  main.History().clear();
  SearchRequest word{sjis::Encode(QStringLiteral("外線")), sjis::Encode(QStringLiteral("局線")), false, true};
  const bench::RunTimes replace = bench::TimeRuns([&] { main.ReplaceAllKeyTexts(word); }, {}, 1);
  Settle();
  const UndoRedo replaced = FastestUndoRedo(main, 3);
  std::printf("  window, すべて置換 of %d keys: replace %7.1f  undo %7.1f (%.2f x replace, limit 2)  redo %7.1f\n",
              kStrips * 48, replace.fastest, replaced.undoMs, replaced.undoMs / replace.fastest, replaced.redoMs);
  Trigger(main, "ActionEditUndo");
  Settle();

  main.ListView1->clearSelection();
  for (int r = 0; r < kStrips; r += 2) main.ListView1->topLevelItem(r)->setSelected(true);
  Settle();
  const double deleteMs = bench::FastestMilliseconds([&] { Trigger(main, "ActionJimeijoDelete"); }, {}, 1);
  const int rowsLeft = main.ListView1->topLevelItemCount();
  const UndoRedo deletion = FastestUndoRedo(main, 5);
  std::printf("  window, deleting 1,000 of %d strips: delete %7.1f  undo %7.1f  redo %7.1f  (%d rows left)\n",
              kStrips, deleteMs, deletion.undoMs, deletion.redoMs, rowsLeft);
  main.Document().MarkSaved();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::WithMainWindow(argc, argv, [](TFMain& main, const QString& folder) {
    YesPrompts prompts;
    Prompts::Install(&prompts);
    std::printf("undo and redo, %d strips of 48 keys, fastest runs (ms)\n", kStrips);
    DocumentCommit();
    const bool measured = WindowSteps(main, folder) == 0;
    Prompts::Install(nullptr);
    return measured;
  });
}
