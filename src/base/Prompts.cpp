#include "base/Prompts.h"

#include "base/DialogFolder.h"

#include <algorithm>

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Stop: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ButtonOf(PromptAnswer answer) {
  switch (answer) {
    case PromptAnswer::Yes: return QMessageBox::Yes;
    case PromptAnswer::No: return QMessageBox::No;
    case PromptAnswer::Cancel: return QMessageBox::Cancel;
    case PromptAnswer::Ok:
    case PromptAnswer::Later: break;
  }
  return QMessageBox::Ok;
}

// The folder of the file last chosen in any file dialog of this run.
QString& LastDialogFolder() {
  static QString folder;
  return folder;
}

std::optional<QString> RunFileDialog(const FileDialogSpec& form, QFileDialog::AcceptMode accept,
                                     QFileDialog::FileMode mode, int* chosenType = nullptr) {
  const QString filters = QtFilterOf(form.filter);
  QFileDialog dialog(QApplication::activeWindow(), form.title,
                     DialogStartFolder(form.folder, LastDialogFolder()), filters);
  dialog.setAcceptMode(accept);
  dialog.setFileMode(mode);
  dialog.setDefaultSuffix(form.defaultExtension);
  if (!form.fileName.isEmpty()) dialog.selectFile(form.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  if (chosenType) *chosenType = std::max<int>(0, filters.split(QStringLiteral(";;")).indexOf(dialog.selectedNameFilter()));
  LastDialogFolder() = QFileInfo(dialog.selectedFiles().first()).absolutePath();
  return dialog.selectedFiles().first();
}

class QtPrompts final : public Prompts {
 public:
  PromptAnswer Message(const QString& text, const QString& title, PromptIcon icon,
                       PromptButtons buttons, PromptAnswer defaultAnswer) override {
    QMessageBox box(IconOf(icon), title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* later = nullptr;
    switch (buttons) {
      case PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
      case PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
      case PromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
      case PromptButtons::YesNoLater:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        later = box.addButton(QStringLiteral("後で(&L)"), QMessageBox::RejectRole);
        later->setObjectName(QStringLiteral("ButtonLater"));
        box.setEscapeButton(later);  // Escape and the close box
        break;
    }
    if (defaultAnswer == PromptAnswer::Later && later) {
      box.setDefaultButton(later);
    } else {
      box.setDefaultButton(ButtonOf(defaultAnswer));
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
      case QMessageBox::Yes: return PromptAnswer::Yes;
      case QMessageBox::No: return PromptAnswer::No;
      case QMessageBox::Cancel: return PromptAnswer::Cancel;
      default: break;
    }
    // Escape on a Yes/No box closes it as No; a question put off, or a box
    // closed without a button, answers Later.
    switch (buttons) {
      case PromptButtons::YesNo: return PromptAnswer::No;
      case PromptButtons::YesNoCancel: return PromptAnswer::Cancel;
      case PromptButtons::YesNoLater: return PromptAnswer::Later;
      case PromptButtons::Ok: break;
    }
    return PromptAnswer::Ok;
  }

  PromptAnswer Choose(const QString& text, const QString& title, PromptIcon icon, const QStringList& buttons,
                      PromptAnswer defaultAnswer) override {
    QMessageBox box(IconOf(icon), title, text, QMessageBox::NoButton, QApplication::activeWindow());
    const QMessageBox::ButtonRole roles[] = {QMessageBox::YesRole, QMessageBox::NoRole, QMessageBox::RejectRole};
    const PromptAnswer answers[] = {PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Cancel};
    QList<QPushButton*> added;
    for (int i = 0; i < 3 && i < buttons.size(); ++i) {
      added << box.addButton(buttons[i], roles[i]);
      if (answers[i] == defaultAnswer) box.setDefaultButton(added.last());
    }
    if (!added.isEmpty()) box.setEscapeButton(added.last());
    box.exec();
    const qsizetype chosen = added.indexOf(static_cast<QPushButton*>(box.clickedButton()));
    return chosen >= 0 ? answers[chosen] : PromptAnswer::Cancel;
  }

  std::optional<QString> OpenFile(const FileDialogSpec& form) override {
    return RunFileDialog(form, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
  }

  std::optional<QString> SaveFile(const FileDialogSpec& form) override {
    std::optional<QString> chosen = RunFileDialog(form, QFileDialog::AcceptSave, QFileDialog::AnyFile);
    if (!chosen) return std::nullopt;
    return WithDefaultExtension(*chosen, form.defaultExtension);
  }

  std::optional<ChosenFile> SaveFileOfType(const FileDialogSpec& form) override {
    int type = 0;
    std::optional<QString> chosen = RunFileDialog(form, QFileDialog::AcceptSave, QFileDialog::AnyFile, &type);
    if (!chosen) return std::nullopt;
    return ChosenFile{WithDefaultExtension(*chosen, form.defaultExtension), type};
  }

  std::optional<QColor> Color(const QColor& initial) override {
    QColor c = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!c.isValid()) return std::nullopt;
    return c;
  }

  std::optional<QFont> Font(const QFont& initial, const QColor& initialColor,
                            QColor* chosenColor) override {
    // Qt's font dialog (with its effects) has no colour choice: it sits in
    // a dialog of its own with a colour button under it.
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("フォント"));
    auto* fonts = new QFontDialog(initial, &dialog);
    fonts->setOptions(QFontDialog::NoButtons);
    fonts->setWindowFlags(Qt::Widget);
    // Enter and Escape inside the font part end the whole dialog.
    QObject::connect(fonts, &QDialog::accepted, &dialog, &QDialog::accept);
    QObject::connect(fonts, &QDialog::rejected, &dialog, &QDialog::reject);
    QColor color = initialColor;
    auto* colorButton = new QPushButton(QStringLiteral("色(&C)..."), &dialog);
    auto showColor = [colorButton, &color] {
      QPixmap swatch(24, 12);
      swatch.fill(color);
      colorButton->setIcon(QIcon(swatch));
    };
    showColor();
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
      const QColor picked = QColorDialog::getColor(color, &dialog);
      if (picked.isValid()) color = picked;
      showColor();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    auto* row = new QHBoxLayout;
    row->addWidget(colorButton);
    row->addStretch(1);
    row->addWidget(buttons);
    layout->addLayout(row);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    if (chosenColor) *chosenColor = color;
    return fonts->currentFont();
  }
};

QtPrompts& QtInstance() {
  static QtPrompts instance;
  return instance;
}

Prompts* installed = nullptr;

}  // namespace

std::optional<Prompts::ChosenFile> Prompts::SaveFileOfType(const FileDialogSpec& form) {
  std::optional<QString> chosen = SaveFile(form);
  if (!chosen) return std::nullopt;
  return ChosenFile{*chosen, 0};
}

PromptAnswer Prompts::Choose(const QString& text, const QString& title, PromptIcon icon, const QStringList&,
                             PromptAnswer defaultAnswer) {
  return Message(text, title, icon, PromptButtons::YesNoCancel, defaultAnswer);
}

Prompts& Prompts::Current() { return installed ? *installed : QtInstance(); }

void Prompts::Install(Prompts* prompts) { installed = prompts; }

void Prompts::Error(const QString& text) {
  Current().Message(text, QStringLiteral("エラー"), PromptIcon::Stop, PromptButtons::Ok);
}

void Prompts::Notice(const QString& text) {
  Current().Message(text, QStringLiteral("メッセージ"), PromptIcon::Exclamation, PromptButtons::Ok);
}

PromptAnswer Prompts::Confirm(const QString& text, PromptButtons buttons, PromptAnswer defaultAnswer) {
  return Current().Message(text, QStringLiteral("確認"), PromptIcon::Question, buttons, defaultAnswer);
}

void Prompts::PrinterError(const QString& text) {
  Current().Message(text, QStringLiteral("プリンタエラー"), PromptIcon::Stop, PromptButtons::Ok);
}

PromptAnswer Prompts::Ask(const QString& text, const QStringList& buttons, PromptAnswer defaultAnswer) {
  return Current().Choose(text, QStringLiteral("確認"), PromptIcon::Question, buttons, defaultAnswer);
}

QString QtFilterOf(const QString& filter) {
  // "Name(*.VRD)|*.VRD" -> "Name(*.VRD *.vrd)": the program's files may carry
  // either case of extension on a file system that tells them apart.
  QStringList parts = filter.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    QStringList both;
    for (const QString& p : patterns) {
      both << p;
      if (p.toLower() != p) both << p.toLower();
    }
    QString name = parts[i];
    qsizetype paren = name.indexOf('(');
    if (paren >= 0) name = name.left(paren);
    out << name + '(' + both.join(' ') + ')';
  }
  return out.join(QStringLiteral(";;"));
}

void PlaceBeside(FileDialogSpec& form, const QString& dataFile, const QString& extension) {
  if (dataFile.isEmpty()) return;
  const QFileInfo info(dataFile);
  form.folder = info.absolutePath();
  form.fileName = info.completeBaseName() + '.' + extension;
}

QString DialogStartFolder(const QString& wanted, const QString& lastUsed) {
  for (const QString& folder : {wanted, lastUsed}) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  }
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString WithDefaultExtension(const QString& fileName, const QString& extension) {
  if (extension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) return fileName;
  return fileName + '.' + extension;
}
