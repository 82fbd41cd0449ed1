// Find and replace in the main window: the two commands open the dialog,
// each press of its button runs one step of the search engine on the
// document and shows the match in its key's editor.
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTextCursor>

#include "app/Main.h"
#include "base/Prompts.h"
#include "view/KeyText.h"
#include "view/Search.h"
#include "view/StripView.h"

namespace {

// Editor positions past the end (a final empty line the editor dropped)
// stop at its end.
int InEditor(const QPlainTextEdit* editor, int position) {
  return qBound(0, position, editor->document()->characterCount() - 1);
}

}  // namespace

void TFMain::ActionEditFindExecute() { OpenSearch(SearchMode::Find); }

void TFMain::ActionEditReplaceExecute() { OpenSearch(SearchMode::Replace); }

void TFMain::OpenSearch(SearchMode mode) {
  CommitPendingKey();
  searchState_ = SearchState();
  if (!windows_.search) return;
  windows_.search->SetHost(this);
  windows_.search->ShowMode(mode);
}

Lines TFMain::KeyTextLines(int k) const {
  return ReadKeyTextFormat(document_.lines(), stripView_->KeyBlockLine(k)).text;
}

void TFMain::CommitEditorInPlace() {
  QPlainTextEdit* editor = EditingEditor();
  if (!editor) return;
  const int anchor = editor->textCursor().anchor(), position = editor->textCursor().position();
  if (!CommitKeyText(editingKey_)) return;
  // The editor is refilled with the lines as they were cut; its selection
  // stays where it was.
  QTextCursor cursor = editor->textCursor();
  cursor.setPosition(InEditor(editor, anchor));
  cursor.setPosition(InEditor(editor, position), QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
}

void TFMain::SearchKeyTexts(SearchMode mode, const SearchRequest& request) {
  // The search reads the document: what is being typed goes in first. The
  // editor stays open, so that a press that finds nothing more leaves the
  // match it shows, and the key selection, as they were.
  CommitEditorInPlace();
  HistoryStep historyStep(*this, "置換");
  const SearchStepResult step =
      ::SearchKeyTexts(document_, searchState_, mode, request, {currentStripNumber_, currentKey_});
  if (step.replaced) {
    const SearchReplacement& r = step.replacement;
    RedrawReplacedKey(r.strip, r.key);
    if (r.strip == currentStripNumber_ && r.key < keyCount_) {
      // The caret stands just after the inserted text, nothing selected.
      const EditorRange range = EditorRangeOf(KeyTextLines(r.key), r.position, r.length);
      QPlainTextEdit* editor = stripView_->Editor(r.key);
      QTextCursor cursor = editor->textCursor();
      cursor.setPosition(InEditor(editor, range.start + range.length));
      editor->setTextCursor(cursor);
    }
  }
  if (step.found) {
    SelectFoundText(searchState_.strip, searchState_.key, searchState_.pending,
                    static_cast<int>(request.searchText.size()));
  } else {
    // No message box and no wrap: the status line tells "no more" apart
    // from "nothing happened".
    ShowStatusMessage(QStringLiteral("最後の示名条まで検索しました"));
  }
}

void TFMain::ReplaceAllKeyTexts(const SearchRequest& request) {
  CommitPendingKey();
  HistoryStep step(*this, "すべて置換");
  const int count = ::ReplaceAllKeyTexts(document_, searchState_, request, {currentStripNumber_, currentKey_},
                                         [this](int strip, int key) { RedrawReplacedKey(strip, key); });
  // The occurrences are gone: the next press starts afresh.
  searchState_ = SearchState();
  Prompts::Notice(QStringLiteral("%1 件置換しました。").arg(count));
}

void TFMain::RedrawReplacedKey(int strip, int key) {
  // Keys of other strips are drawn from their lines when laid out; a
  // replacement never changes a key's line count, so no block moves.
  if (strip != currentStripNumber_ || key < 0 || key >= keyCount_) return;
  stripView_->ReloadEditor(key);
  stripView_->DrawKeyFace(key);
}

void TFMain::SelectFoundText(int strip, int key, int position, int length) {
  if (strip != currentStripNumber_) ShowStrip(strip);
  // A strip that cannot be laid out has shown its message.
  if (strip != currentStripNumber_ || key < 0 || key >= keyCount_) return;
  // The match is shown in the key's editor, which lives in the detail view.
  if (!showDetail_) ShowDetailAtKey(key);
  // Editing starts as by a double-click: the key alone selected, its editor
  // shown and focused, its format in the tool bar, the key current.
  // The key's panel takes the focus first, as the click before a
  // double-click gives it, so that no other key's panel loses the focus to
  // the editor (which would clear the selection).
  selectionClickFlag_ = false;
  FocusKeyPanel(key);
  KeyFaceDblClick(key);
  QPlainTextEdit* editor = stripView_->Editor(key);
  const EditorRange range = EditorRangeOf(KeyTextLines(key), position, length);
  QTextCursor cursor = editor->textCursor();
  cursor.setPosition(InEditor(editor, range.start));
  cursor.setPosition(InEditor(editor, range.start + range.length), QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
  ScrollBox1->ensureWidgetVisible(editor);
}
