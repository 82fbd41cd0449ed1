// Key selection and in-place editing in the main window: the handlers of
// the detail view's key controls, the edit commands and the palette's
// receiving side. The document work is done by view/KeyEditing; which keys
// are selected is kept by view/KeySelection.
#include <QAction>
#include <QApplication>
#include <QToolBar>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "app/Main.h"
#include "base/Prompts.h"
#include "document/StripLayout.h"
#include "view/StripView.h"

namespace {

const char* const kSelectionCommands[] = {"ActionEditSelReset", "ActionEditDelete", "ActionEditFind",
                                          "ActionEditReplace"};

}  // namespace

void TFMain::WireKeyEvents() {
  selection_.SetMarkSetter([this](int k, bool selected) { stripView_->SetSelectionMark(k, selected); });
  connect(stripView_, &StripView::KeyFaceMouseDown, this, &TFMain::KeyFaceMouseDown);
  connect(stripView_, &StripView::KeyFaceClick, this, &TFMain::KeyFaceClick);
  connect(stripView_, &StripView::KeyFaceDblClick, this, &TFMain::KeyFaceDblClick);
  connect(stripView_, &StripView::KeyPictureMouseDown, this, &TFMain::KeyPictureMouseDown);
  connect(stripView_, &StripView::KeyPictureClick, this, &TFMain::KeyPictureClick);
  connect(stripView_, &StripView::KeyPictureDblClick, this, &TFMain::KeyPictureDblClick);
  connect(stripView_, &StripView::KeyPanelEnter, this, &TFMain::KeyPanelEnter);
  connect(stripView_, &StripView::KeyPanelExit, this, &TFMain::KeyPanelExit);
  connect(stripView_, &StripView::KeyEditorEscape, this,
          [this](int k) { KeyEditorKeyPress(k, Qt::Key_Escape); });
  connect(stripView_, &StripView::KeyEditorExit, this, &TFMain::KeyEditorExit);
  connect(stripView_, &StripView::KeyPanelEdit, this, &TFMain::KeyPanelEdit);
  connect(stripView_, &StripView::KeyEditorLineBytes, this, &TFMain::KeyEditorLineBytes);
}

QString TFMain::KeyName(int k) const {
  const int shown = k >= 0 && k < keyCount_ ? stripView_->Plan().keys[k].shownNumber : 0;
  return QStringLiteral("キー%1").arg(shown > 0 ? shown : k + 1);
}

void TFMain::ReportCommit(int k, bool cut) {
  QStringList said;
  if (cut) said.append(QStringLiteral("%1の文字を1行%2バイトまでに切り詰めました").arg(KeyName(k)).arg(layout::kTextLineBytes));
  if (!stripView_->KeyTextFits(k)) said.append(QStringLiteral("%1の文字がキーに収まりません（赤い印）").arg(KeyName(k)));
  if (!said.isEmpty()) ShowStatusMessage(said.join(QStringLiteral("。")));
}

void TFMain::ReportKeysNotFitting(const std::vector<int>& keys) {
  if (keys.empty()) return;
  QStringList names;
  for (int k : keys) names.append(KeyName(k));
  ShowStatusMessage(QStringLiteral("%1の文字がキーに収まりません（赤い印のキー）").arg(names.join(QStringLiteral("、"))));
}

// --- Selection -------------------------------------------------------------

QList<qsizetype> TFMain::SelectedKeyLines() const {
  QList<qsizetype> lines;
  for (int k : selection_.SelectedKeys()) lines.append(stripView_->KeyBlockLine(k));
  return lines;
}

void TFMain::ClearKeySelection() { selection_.Clear(); }

void TFMain::FocusKeyPanel(int k) {
  if (k < 0 || k >= keyCount_) return;
  QWidget* panel = stripView_->Controls(k, kDetailView).panel;
  if (!panel->isVisible()) return;
  if (editingKey_ >= 0 && editingKey_ != k) EndKeyEdit();
  const int entersBefore = panelEnters_;
  if (!panel->hasFocus()) panel->setFocus(Qt::MouseFocusReason);
  // Focus events reach only an active window, and none comes for the panel
  // that has the focus already: the key is selected alone all the same.
  if (panelEnters_ == entersBefore) KeyPanelEnter(k);
}

void TFMain::SetPopupEntryEnabled(QMenu* popup, const char* command, bool on) {
  const QString name = popup->objectName() + '_' + QString::fromLatin1(command);
  for (QAction* entry : popup->actions()) {
    if (entry->objectName() == name) entry->setEnabled(on);
  }
}

void TFMain::EnableOnlySelectionCommands() {
  EnableEditCommands(false);
  for (const char* name : kSelectionCommands) Action(QString::fromLatin1(name))->setEnabled(true);
  SetPopupEntryEnabled(PopupMenu1A, "ActionEditDelete", true);
}

void TFMain::EnablePictureRemoval(bool on) {
  Action(QStringLiteral("ActionEditPicOff"))->setEnabled(on);
  SetPopupEntryEnabled(PopupMenu1B, "ActionEditPicOff", on);
  if (!on) return;
  Action(QStringLiteral("ActionEditPicOn"))->setEnabled(false);
  SetPopupEntryEnabled(PopupMenu1A, "ActionEditPicOn", false);
}

void TFMain::KeyPanelEnter(int k) {
  ++panelEnters_;
  toolbarComboFlag_ = false;
  EnableEditCommands(true);
  ClearKeySelection();
  selection_.Select(k);
  ShowKeyFormat(k);
  // A key that does not fit is named when it becomes current (not again
  // when its own edit ends, whose commit has said what it did).
  if (currentKey_ != k && !stripView_->KeyTextFits(k)) ReportKeysNotFitting({k});
  currentKey_ = k;
}

void TFMain::KeyPanelExit(int k) {
  // The key's own editor taking the focus keeps the key selected.
  if (k == editingKey_) return;
  // The tool bar's combo boxes draw their shown item themselves, not
  // through the font list's item drawing: the focus going to the tool bar
  // keeps the selection as a drawn item does, so that its commands act on it.
  QWidget* next = QApplication::focusWidget();
  if (next && ToolBar1->isAncestorOf(next)) return;
  if (!toolbarComboFlag_) ClearKeySelection();
}

void TFMain::KeyFaceMouseDown(int k, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  selectionClickFlag_ = false;
  if (!(buttons & Qt::LeftButton)) {
    KeyFaceClick(k);  // the key's pop-up menu then opens on it
    return;
  }
  if (modifiers & Qt::AltModifier) return;
  if (modifiers & Qt::ShiftModifier) {
    selectionClickFlag_ = true;
    RefocusStep();
    selection_.SelectRange(currentKey_, k);
  } else if (modifiers & Qt::ControlModifier) {
    selectionClickFlag_ = true;
    RefocusStep();
    selection_.Toggle(k);  // refused for the last selected key, which stays
  } else {
    return;
  }
  AfterSelectionClick();
}

void TFMain::AfterSelectionClick() {
  const std::vector<int> selected = selection_.SelectedKeys();
  if (selected.size() > 1) {
    EnableOnlySelectionCommands();
  } else if (selected.size() == 1) {
    EnableEditCommands(true);
    EnablePictureRemoval(false);
    ShowKeyFormat(selected[0]);
    currentKey_ = selected[0];
  }
}

void TFMain::KeyFaceClick(int k) {
  // After a Shift or Ctrl click the mouse-down has set the selection and
  // the commands that fit it; the click that follows leaves both alone.
  if (selectionClickFlag_) return;
  FocusKeyPanel(k);
  EnableEditCommands(true);
  EnablePictureRemoval(false);
}

void TFMain::KeyPictureMouseDown(int k, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  // A plain click on a picture ends a Shift or Ctrl selection as one on a
  // face does: the picture clicked becomes the current key, so that its
  // picture, and no other, is the one the removal command takes away.
  if ((buttons & Qt::LeftButton) && !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier))) {
    selectionClickFlag_ = false;
  }
  if (!(buttons & Qt::LeftButton)) KeyPictureClick(k);
}

void TFMain::KeyPictureClick(int k) {
  if (!selectionClickFlag_) FocusKeyPanel(k);
  EnableEditCommands(false);
  EnablePictureRemoval(true);
}

void TFMain::KeyPictureDblClick(int k) {
  // The click before a double-click has made k current; a double-click that
  // comes alone (from a test or an accessibility tool) does the same.
  if (!selectionClickFlag_ && currentKey_ != k) FocusKeyPanel(k);
  ActionEditPicOnExecute();
}

// --- Editing in place ------------------------------------------------------

void TFMain::KeyFaceDblClick(int k) {
  if (selectionClickFlag_ || k < 0 || k >= keyCount_) return;
  if (editingKey_ >= 0 && editingKey_ != k) EndKeyEdit();
  EnableEditCommands(true);
  ClearKeySelection();
  selection_.Select(k);
  QPlainTextEdit* editor = stripView_->Editor(k);
  editingKey_ = k;
  stripView_->ShowEditor(k);
  QString text = editor->toPlainText();
  if (text.size() > 1 && text.endsWith('\n')) editor->setPlainText(text.chopped(1));
  editor->selectAll();
  editor->setFocus(Qt::MouseFocusReason);
  ShowKeyFormat(k);
  currentKey_ = k;
}

void TFMain::KeyPanelEdit(int k, QEvent* passOn) {
  if (k < 0 || k >= keyCount_ || !showDetail_) return;
  try {
    // A key showing a picture is not typed into (a commit would drop the
    // picture), as a double-click on it attaches another picture instead.
    if (KeyHasPicture(document_, stripView_->KeyBlockLine(k))) return;
  } catch (const DocumentError&) {
    return;  // the layout has reported the damaged block
  }
  if (editingKey_ != k) {
    // The key's own panel has the focus: this is the current key, whatever
    // a Shift or Ctrl click selected before.
    selectionClickFlag_ = false;
    KeyFaceDblClick(k);
    if (editingKey_ != k) return;
    if (!passOn) stripView_->Editor(k)->moveCursor(QTextCursor::End);
  }
  // The typing goes on in the editor, over its whole text, selected; so does
  // the rest of a composition that an input method still sends the panel.
  if (passOn) QApplication::sendEvent(stripView_->Editor(k), passOn);
}

void TFMain::KeyEditorLineBytes(int k, int line, int bytes) {
  if (k != editingKey_) return;
  const int limit = layout::kTextLineBytes;
  QString text = QStringLiteral("%1 %2行目：%3バイト").arg(KeyName(k)).arg(line + 1).arg(bytes);
  if (bytes > limit) text += QStringLiteral("（%1バイトを超えた赤い部分は確定すると切り捨てられます）").arg(limit);
  ShowStatusMessage(text);
}

void TFMain::KeyEditorKeyPress(int k, int key) {
  if (key != Qt::Key_Escape || k != editingKey_) return;
  QWidget* panel = stripView_->Controls(k, kDetailView).panel;
  if (panel->isVisible()) panel->setFocus(Qt::OtherFocusReason);  // the editor's exit commits
  KeyEditorExit(k);
}

void TFMain::KeyEditorExit(int k) {
  if (k < 0 || k != editingKey_) return;
  editingKey_ = -1;
  stripView_->Editor(k)->selectAll();
  stripView_->HideEditor(k);
  CommitKeyText(k);
}

void TFMain::EndKeyEdit() {
  if (editingKey_ < 0) return;
  // Moving the focus away ends the edit the way a click elsewhere does;
  // without the focus (the window inactive) the edit is ended directly.
  const int k = editingKey_;
  if (stripView_->Editor(k)->hasFocus()) pnlDisp->setFocus(Qt::OtherFocusReason);
  KeyEditorExit(k);
}

bool TFMain::CommitKeyText(int k) {
  if (k < 0 || k >= keyCount_) return false;
  HistoryStep step(*this, "入力");
  QPlainTextEdit* editor = stripView_->Editor(k);
  try {
    const KeyTextWrite write =
        ::CommitKeyText(document_, stripView_->KeyBlockLine(k), EditorTextLines(editor->toPlainText()));
    stripView_->MoveBlocksAfter(k, write.lineDelta);
    stripView_->ReloadEditor(k);  // the editor shows the lines as they were cut
    stripView_->DrawKeyFace(k);
    ReportCommit(k, write.cut);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
    return false;
  }
  return true;
}

ChangeSet TFMain::TypedKeyChanges() const {
  QPlainTextEdit* editor = EditingEditor();
  if (!editor || !editor->document()->isModified()) return {};
  try {
    // The commit made on a copy of the key's block alone, so that the
    // document's lines are not copied.
    const qsizetype keyLine = stripView_->KeyBlockLine(editingKey_);
    StripDocument block;
    block.SetLines(document_.lines().mid(keyLine, KeyBlockLength(document_.lines(), keyLine)));
    block.StartRecording();
    ::CommitKeyText(block, 0, EditorTextLines(editor->toPlainText()));
    ChangeSet changes = block.TakeRecording();
    for (LineChange& change : changes) change.at += keyLine;
    return changes;
  } catch (const DocumentError&) {
    return {};  // a damaged block is left as it is
  }
}

// --- Edit commands ---------------------------------------------------------

bool TFMain::HasCurrentKey() const {
  return showDetail_ && currentKey_ >= 0 && currentKey_ < keyCount_;
}

QPlainTextEdit* TFMain::EditingEditor() const {
  return editingKey_ >= 0 ? stripView_->Editor(editingKey_) : nullptr;
}

void TFMain::ActionEditCutExecute() {
  if (QPlainTextEdit* editor = EditingEditor()) {
    editor->cut();
    return;
  }
  if (!HasCurrentKey()) return;
  HistoryStep step(*this, "切り取り");
  QPlainTextEdit* editor = stripView_->Editor(currentKey_);
  editor->selectAll();
  editor->cut();
  CommitKeyText(currentKey_);
}

void TFMain::ActionEditCopyExecute() {
  if (QPlainTextEdit* editor = EditingEditor()) {
    editor->copy();
    return;
  }
  if (!HasCurrentKey()) return;
  // The editor holds the key's lines as the document has them: copying
  // them writes nothing back, so a key's picture survives a copy.
  QPlainTextEdit* editor = stripView_->Editor(currentKey_);
  editor->selectAll();
  editor->copy();
}

void TFMain::ActionEditPasteExecute() {
  if (QPlainTextEdit* editor = EditingEditor()) {
    editor->paste();
    return;
  }
  if (!HasCurrentKey() || QGuiApplication::clipboard()->text().isEmpty()) return;
  HistoryStep step(*this, "貼り付け");
  QPlainTextEdit* editor = stripView_->Editor(currentKey_);
  editor->selectAll();
  editor->paste();
  CommitKeyText(currentKey_);
}

void TFMain::ActionEditDeleteExecute() {
  HistoryStep step(*this, "削除");
  for (int k : selection_.SelectedKeys()) {
    stripView_->Editor(k)->clear();
    if (!CommitKeyText(k)) return;
  }
}

void TFMain::ActionEditAllSelExecute() {
  const bool keysShown = keyCount_ > 0 && showDetail_;
  if (keysShown) RefocusStep();
  EnableOnlySelectionCommands();
  if (keysShown) selection_.SelectAll();
}

void TFMain::ActionEditSelResetExecute() {
  EnableEditCommands(true);
  ClearKeySelection();
  selection_.Select(currentKey_);
}

// --- Palette ---------------------------------------------------------------

void TFMain::ApplyKeyLabelToSelectedKeys(const KeyLabelValues& label) {
  if (keyCount_ == 0 || !showDetail_) return;
  HistoryStep step(*this, "キーラベル");
  std::vector<int> notFitting;
  try {
    for (int k : selection_.SelectedKeys()) {
      const qsizetype keyLine = stripView_->KeyBlockLine(k);
      if (KeyHasPicture(document_, keyLine)) continue;
      const KeyTextWrite write = ApplyKeyLabel(document_, keyLine, label);
      stripView_->MoveBlocksAfter(k, write.lineDelta);
      stripView_->ReloadEditor(k);
      stripView_->DrawKeyFace(k);
      if (!stripView_->KeyTextFits(k)) notFitting.push_back(k);
    }
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
  ReportKeysNotFitting(notFitting);
  ShowKeyFormat(currentKey_);
}
