// Undo and redo in the main window. The document records the changes of
// each user action; one history step holds them and makes them again, or
// their inverse, and the window then shows the strip and keys they touched.
#include <QAction>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <QTreeWidget>
#include <QUndoStack>

#include <algorithm>

#include "app/Main.h"
#include "base/Prompts.h"
#include "document/StripList.h"
#include "document/StripRow.h"
#include "view/StripGeometry.h"
#include "view/StripView.h"

namespace {

// Steps kept: a key edit costs a few hundred bytes, so even a long
// afternoon's history stays small.
constexpr int kHistoryLimit = 2000;

// Lines 0 and 1 of a document: the format version and the strip count.
constexpr qsizetype kDocumentHeaderLines = 2;

class DocumentStep : public QUndoCommand {
 public:
  DocumentStep(const QString& name, ChangeSet changes, std::function<bool(const ChangeSet&)> apply)
      : QUndoCommand(name), changes_(std::move(changes)), apply_(std::move(apply)) {}

  void undo() override { apply_(Inverse(changes_)); }
  void redo() override {
    // Pushed after the action made its changes: the first redo is done.
    if (!made_) {
      made_ = true;
      return;
    }
    apply_(changes_);
  }

 private:
  ChangeSet changes_;
  std::function<bool(const ChangeSet&)> apply_;
  bool made_ = false;
};

QString WithStepName(const char* caption, const QString& name) {
  const QString text = QString::fromUtf8(caption);
  return name.isEmpty() ? text : text + QStringLiteral(": ") + name;
}

}  // namespace

TFMain::HistoryStep::HistoryStep(TFMain& window, const char* name) : window_(window) {
  if (window_.applyingHistory_) return;
  if (window_.historyStepDepth_++ > 0) return;
  window_.historyStepName_ = QString::fromUtf8(name);
  window_.document_.StartRecording();
}

TFMain::HistoryStep::~HistoryStep() {
  if (window_.applyingHistory_ || --window_.historyStepDepth_ > 0) return;
  ChangeSet changes = window_.document_.TakeRecording();
  // An action that wrote back what was there makes no step.
  DropUnchanged(changes);
  if (changes.empty()) return;
  window_.history_->push(new DocumentStep(window_.historyStepName_, std::move(changes),
                                          [w = &window_](const ChangeSet& c) { return w->ApplyHistoryChanges(c); }));
}

void TFMain::CreateHistory() {
  history_ = new QUndoStack(this);
  history_->setUndoLimit(kHistoryLimit);
  QAction* undo = Action(QStringLiteral("ActionEditUndo"));
  QAction* redo = Action(QStringLiteral("ActionEditRedo"));
  redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  undo->setEnabled(false);
  redo->setEnabled(false);
  connect(history_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
  connect(history_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
  connect(history_, &QUndoStack::undoTextChanged, undo,
          [undo](const QString& name) { undo->setText(WithStepName("元に戻す(&U)", name)); });
  connect(history_, &QUndoStack::redoTextChanged, redo,
          [redo](const QString& name) { redo->setText(WithStepName("やり直し(&Y)", name)); });
}

void TFMain::ForgetHistory() {
  if (history_) history_->clear();
}

void TFMain::ActionEditUndoExecute() { StepHistory(true); }

void TFMain::ActionEditRedoExecute() { StepHistory(false); }

void TFMain::StepHistory(bool undo) {
  // In a key's editor the editor's own typing goes back first.
  if (QPlainTextEdit* editor = EditingEditor()) {
    QTextDocument* typed = editor->document();
    if (undo ? typed->isUndoAvailable() : typed->isRedoAvailable()) {
      undo ? editor->undo() : editor->redo();
      return;
    }
  }
  // A size typed into the tool bar and not confirmed is no step: it goes,
  // so that the focus leaving the box does not apply it.
  DropTypedSize();
  // What is being typed becomes a step of its own before the history moves.
  CommitPendingKey();
  if (undo ? !history_->canUndo() : !history_->canRedo()) return;
  historyBroken_ = false;
  undo ? history_->undo() : history_->redo();
  if (historyBroken_) {
    history_->clear();
    Prompts::Error(QStringLiteral("変更を元に戻せませんでした。履歴を消去します。"));
  }
  // The tool bar shows the current key as the step left it.
  if (keyCount_ > 0) ShowKeyFormat(currentKey_);
}

bool TFMain::ApplyHistoryChanges(const ChangeSet& changes) {
  const int stripsBefore = static_cast<int>(document_.StripSeparators().size());
  if (!document_.Apply(changes)) {
    historyBroken_ = true;
    return false;
  }
  applyingHistory_ = true;
  // Any change to a strip's header lines, a separator line or line 1
  // changes the list; a change of key lines alone does not.
  bool stripsChanged = static_cast<int>(document_.StripSeparators().size()) != stripsBefore;
  for (const LineChange& c : changes) {
    if (c.at < 2) stripsChanged = true;
    if (c.textOnly && c.delta() == 0) continue;
    for (const Lines* lines : {&c.removed, &c.inserted}) {
      for (qsizetype j = 0; j < lines->size() && !stripsChanged; ++j) {
        if (StripNumberOfSeparator(lines->view(j)) > 0) stripsChanged = true;
      }
    }
  }
  ShowHistoryChanges(changes, stripsChanged);
  applyingHistory_ = false;
  return true;
}

void TFMain::RefillStripList() {
  // The strip to show is laid out afterwards, once.
  const QScopedValueRollback<bool> quiet(quietListChange_, true);
  ListView1->clear();
  try {
    for (const StripRow& row : StripRowsOf(document_)) AddStripRow(row);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
}

void TFMain::ShowHistoryChanges(const ChangeSet& changes, bool stripsChanged) {
  const std::vector<LineRange> ranges = ChangedRanges(changes);
  const std::vector<StripDocument::Separator>& separators = document_.StripSeparators();
  // The strip holding the first changed line below the strip count (which
  // every creation and deletion changes): the last strip opening at or
  // above it. Strips put back show the first of them; strips taken away
  // show the one that took the first one's place, or the last one.
  auto firstInStrips = std::find_if(ranges.begin(), ranges.end(),
                                    [](const LineRange& r) { return r.from >= kDocumentHeaderLines; });
  const qsizetype first = firstInStrips == ranges.end() ? 0 : firstInStrips->from;
  auto after = std::upper_bound(separators.begin(), separators.end(), first,
                                [](qsizetype line, const StripDocument::Separator& s) { return line < s.line; });
  const int strip = after == separators.begin() ? 1 : std::prev(after)->number;
  const bool headerChanged = std::any_of(ranges.begin(), ranges.end(), [&](const LineRange& r) {
    auto in = std::upper_bound(separators.begin(), separators.end(), r.from,
                               [](qsizetype line, const StripDocument::Separator& s) { return line < s.line; });
    return in != separators.begin() && r.from <= std::prev(in)->line + layout::kHeaderLines;
  });
  if (stripsChanged || headerChanged) RefillStripList();
  if (ListView1->topLevelItemCount() == 0) {
    ClearStripView();
    return;
  }
  const bool sameStrip = strip == currentStripNumber_ && keyCount_ > 0 && !stripsChanged && !headerChanged;
  if (sameStrip) {
    const bool linesMoved = std::any_of(changes.begin(), changes.end(), [](const LineChange& c) { return c.delta() != 0; });
    try {
      if (linesMoved) stripView_->RefreshKeyBlockLines();
    } catch (const DocumentError& error) {
      Prompts::Error(LayoutErrorText(error));
      return;
    }
  } else {
    ShowStrip(std::clamp(strip, 1, ListView1->topLevelItemCount()));
  }
  const std::vector<int> keys = KeysIn(ranges);
  for (int k : keys) {
    stripView_->ReloadEditor(k);
    stripView_->DrawKeyFace(k);
  }
  SelectChangedKeys(keys);
}

std::vector<int> TFMain::KeysIn(const std::vector<LineRange>& ranges) const {
  std::vector<int> keys;
  if (keyCount_ == 0) return keys;
  for (int k = 0; k < keyCount_; ++k) {
    const qsizetype start = stripView_->KeyBlockLine(k);
    qsizetype end = start + layout::kKeyFixedLines;
    try {
      end = start + KeyBlockLength(document_.lines(), start);
    } catch (const DocumentError&) {
    }
    // The first range that does not end above the key: the ranges ascend
    // and do not overlap, so their ends ascend too.
    auto r = std::lower_bound(ranges.begin(), ranges.end(), start, [](const LineRange& range, qsizetype line) {
      return std::max(range.to, range.from + 1) <= line;
    });
    if (r != ranges.end() && r->from < end) keys.push_back(k);
  }
  return keys;
}

void TFMain::SelectChangedKeys(const std::vector<int>& keys) {
  if (keys.empty() || !showDetail_) {
    if (!keys.empty()) currentKey_ = keys.front();
    return;
  }
  if (keys.size() == 1) {
    FocusKeyPanel(keys.front());
    return;
  }
  FocusKeyPanel(keys.front());
  for (int k : keys) selection_.Select(k);
  EnableOnlySelectionCommands();
}
