// Key formatting in the main window: the tool bar's font, size, colour,
// style and alignment controls, the menu's alignment items and the font
// dialog. The lines are written by view/KeyFormat; the selected keys are
// the ones view/KeySelection keeps.
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

#include "app/Main.h"
#include "base/ColorPair.h"
#include "base/Mainsub.h"
#include "base/Prompts.h"
#include "view/KeyFormat.h"
#include "view/KeyText.h"
#include "view/StripGeometry.h"
#include "view/StripView.h"

namespace {

const char* const kAlignmentActions[] = {"ActionFormatLeft", "ActionFormatCenter", "ActionFormatRight"};

// The boxes' own line edit would take Ctrl+Z and Ctrl+Y for its typing,
// which is worth nothing there: the keys of the undo and redo commands go
// to the commands, that is to the document's history.
class HistoryKeysToCommands : public QObject {
 public:
  HistoryKeysToCommands(QAction* undo, QAction* redo, QObject* parent)
      : QObject(parent), undo_(undo), redo_(redo) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
      return QObject::eventFilter(watched, event);
    }
    QAction* command = CommandOf(QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()));
    if (!command) return QObject::eventFilter(watched, event);
    // The override keeps the shortcut from running as well; the press runs it.
    event->accept();
    if (event->type() == QEvent::KeyPress) command->trigger();
    return true;
  }

 private:
  QAction* CommandOf(const QKeySequence& keys) const {
    for (QAction* command : {undo_, redo_}) {
      if (command->shortcuts().contains(keys)) return command;
    }
    return nullptr;
  }
  QAction* undo_;
  QAction* redo_;
};

}  // namespace

void TFMain::WireFormatControls() {
  connect(ComboBoxFont, &QComboBox::currentIndexChanged, this, [this](int) { ComboBoxFontChange(); });
  // A typed size counts once it is confirmed, with Enter or by leaving the
  // box; a size picked from the list counts at once.
  connect(ComboBoxFontSize->lineEdit(), &QLineEdit::editingFinished, this, &TFMain::ComboBoxFontSizeChange);
  connect(ComboBoxFontSize, &QComboBox::activated, this, [this](int) { ComboBoxFontSizeChange(); });
  auto* historyKeys = new HistoryKeysToCommands(Action(QStringLiteral("ActionEditUndo")),
                                                Action(QStringLiteral("ActionEditRedo")), this);
  // The size box hands its keys to its line edit directly: both are watched.
  for (QObject* box : {static_cast<QObject*>(ComboBoxFont), static_cast<QObject*>(ComboBoxFontSize),
                       static_cast<QObject*>(ComboBoxFontSize->lineEdit())}) {
    box->installEventFilter(historyKeys);
  }
}

void TFMain::DropTypedSize() {
  shownSizeText_.clear();
  if (keyCount_ > 0) ShowKeyFormat(currentKey_);
}

bool TFMain::FormatCommandsApply() const { return keyCount_ > 0 && showDetail_; }

void TFMain::FormatSelectedKeys(const std::function<void(StripDocument&, qsizetype)>& write) {
  if (!FormatCommandsApply()) return;
  HistoryStep step(*this, "書式");
  std::vector<int> notFitting;
  try {
    for (int k : selection_.SelectedKeys()) {
      write(document_, stripView_->KeyBlockLine(k));
      stripView_->ReloadEditorFormat(k);  // a text being typed stays
      stripView_->DrawKeyFace(k);
      if (!stripView_->KeyTextFits(k)) notFitting.push_back(k);
    }
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
  }
  ReportKeysNotFitting(notFitting);
}

// --- The tool bar showing the current key ----------------------------------

void TFMain::ShowKeyFormat(int k) {
  if (k < 0 || k >= keyCount_) return;
  KeyToolbarFormat format;
  try {
    format = ReadKeyToolbarFormat(document_.lines(), stripView_->KeyBlockLine(k));
  } catch (const DocumentError&) {
    return;  // the layout has reported the damaged block; the tool bar stays
  }
  // Showing a key's format is no change of it: the boxes stay quiet.
  {
    const QSignalBlocker quietFont(ComboBoxFont);
    if (ComboBoxFont->count() > 0) {
      const int found = ComboBoxFont->findText(format.fontName);
      ComboBoxFont->setCurrentIndex(found >= 0 ? found : 0);
    }
  }
  {
    const QSignalBlocker quietSize(ComboBoxFontSize);
    ComboBoxFontSize->setEditText(format.sizeText);
    shownSizeText_ = format.sizeText;
  }
  ToolButtonBold->setChecked(format.bold);
  ToolButtonItalic->setChecked(format.italic);
  if (format.alignment != 0) PressAlignmentButton(format.alignment);
}

void TFMain::PressAlignmentButton(int a) {
  if (a < 1 || a > 3) return;
  QToolButton* const buttons[] = {ToolButtonLeft, ToolButtonCenter, ToolButtonRight};
  for (int i = 0; i < 3; ++i) {
    buttons[i]->setChecked(i == a - 1);
    Action(QString::fromLatin1(kAlignmentActions[i]))->setChecked(i == a - 1);
  }
}

// --- Commands --------------------------------------------------------------

void TFMain::SetKeyAlignment(int k, int a) {
  if (keyCount_ == 0 || k < 0 || k >= keyCount_) return;
  HistoryStep step(*this, "書式");
  try {
    SetKeyAlign(document_, stripView_->KeyBlockLine(k), a);
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
    return;
  }
  PressAlignmentButton(a);
  stripView_->DrawKeyFace(k);
}

void TFMain::ActionFormatLeftExecute() {
  if (!FormatCommandsApply()) return;
  for (int k : selection_.SelectedKeys()) SetKeyAlignment(k, 1);
}

void TFMain::ActionFormatCenterExecute() {
  if (!FormatCommandsApply()) return;
  for (int k : selection_.SelectedKeys()) SetKeyAlignment(k, 2);
}

void TFMain::ActionFormatRightExecute() {
  if (!FormatCommandsApply()) return;
  for (int k : selection_.SelectedKeys()) SetKeyAlignment(k, 3);
}

void TFMain::ActionFormatBoldExecute() {
  const bool on = ToolButtonBold->isChecked();  // the button has toggled itself
  FormatSelectedKeys([on](StripDocument& document, qsizetype keyLine) { SetKeyBold(document, keyLine, on); });
}

void TFMain::ActionFormatItalicExecute() {
  const bool on = ToolButtonItalic->isChecked();
  FormatSelectedKeys([on](StripDocument& document, qsizetype keyLine) { SetKeyItalic(document, keyLine, on); });
}

std::optional<int> TFMain::ChooseColor(bool background) {
  // The dialog opens on the current key's own colour.
  QColor initial = background ? Qt::white : Qt::black;
  if (currentKey_ >= 0 && currentKey_ < keyCount_) {
    try {
      const KeyTextFormat format = ReadKeyTextFormat(document_.lines(), stripView_->KeyBlockLine(currentKey_));
      initial = QColorFromWin(background ? format.backColor : format.fontColor);
    } catch (const DocumentError&) {
      // a damaged block opens the dialog on the default
    }
  }
  const std::optional<QColor> chosen = Prompts::Current().Color(initial);
  if (!chosen) return std::nullopt;
  return WinFromQColor(*chosen);
}

void TFMain::ActionFormatColorExecute() {
  if (!FormatCommandsApply()) return;
  const std::optional<int> color = ChooseColor(false);
  if (!color) return;
  FormatSelectedKeys([c = *color](StripDocument& document, qsizetype keyLine) { SetKeyFontColor(document, keyLine, c); });
}

void TFMain::ActionFormatBColorExecute() {
  if (!FormatCommandsApply()) return;
  const std::optional<int> color = ChooseColor(true);
  if (!color) return;
  FormatSelectedKeys([c = *color](StripDocument& document, qsizetype keyLine) { SetKeyBackColor(document, keyLine, c); });
}

void TFMain::ComboBoxFontChange() {
  const QString family = ComboBoxFont->currentText();
  if (family.isEmpty()) return;
  FormatSelectedKeys([&family](StripDocument& document, qsizetype keyLine) { SetKeyFontName(document, keyLine, family); });
}

void TFMain::ComboBoxFontSizeChange() {
  // Confirming what the box shows already (leaving it after Enter, a key's
  // size shown) changes nothing.
  const QString text = ComboBoxFontSize->currentText();
  if (text == shownSizeText_) return;
  const std::optional<int> size = FontSizeOfText(text);
  if (!size) {
    // No size: the box shows the key's size again.
    if (FormatCommandsApply()) ShowKeyFormat(currentKey_);
    return;
  }
  shownSizeText_ = text;
  FormatSelectedKeys([s = *size](StripDocument& document, qsizetype keyLine) { SetKeyFontSize(document, keyLine, s); });
}

void TFMain::ActionFormatFontExecute() {
  if (!FormatCommandsApply() || currentKey_ < 0 || currentKey_ >= keyCount_) return;
  KeyFontChoice preset;
  try {
    preset = ReadKeyFontChoice(document_.lines(), stripView_->KeyBlockLine(currentKey_));
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
    return;
  }
  // The dialog lists installed families: a stand-in shows as itself.
  const QString shownFamily = PlainFamilyName(QFontInfo(QFont(preset.family)).family());
  QFont initial(shownFamily);
  initial.setPointSize(preset.pointSize);
  initial.setBold(preset.bold);
  initial.setItalic(preset.italic);
  QColor color = QColorFromWin(preset.color);
  const std::optional<QFont> font = Prompts::Current().Font(initial, color, &color);
  if (!font) return;
  KeyFontChoice choice;
  choice.family = ChosenFontName(PlainFamilyName(font->family()), shownFamily, preset.family);
  choice.pointSize = font->pointSize() > 0 ? font->pointSize() : preset.pointSize;
  choice.color = WinFromQColor(color);
  choice.bold = font->bold();
  choice.italic = font->italic();
  // OK on what the dialog showed is no change.
  if (choice == preset) return;
  FormatSelectedKeys([&choice](StripDocument& document, qsizetype keyLine) { ApplyKeyFontChoice(document, keyLine, choice); });
  ShowKeyFormat(currentKey_);
}
