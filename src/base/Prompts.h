#pragma once
// Every message box and every file, colour and font dialog goes through this
// one interface, so that tests can script the answers and check the exact
// texts, titles and icons. The program installs the Qt implementation at
// start-up; tests install a recording fake.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

enum class PromptIcon { None, Stop, Question, Exclamation, Information };
// YesNoLater: はい, いいえ and 後で, a question that may be put off; Escape
// and the close box answer Later.
enum class PromptButtons { Ok, YesNo, YesNoCancel, YesNoLater };
enum class PromptAnswer { Ok, Yes, No, Cancel, Later };

struct FileDialogSpec {
  QString title;
  QString filter;            // in the "Description(*.EXT)|*.EXT" form of the data
  QString defaultExtension;  // without the dot
  QString folder;
  QString fileName;
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A modal message box. `defaultAnswer` is the button that Enter chooses.
  virtual PromptAnswer Message(const QString& text, const QString& title, PromptIcon icon,
                               PromptButtons buttons,
                               PromptAnswer defaultAnswer = PromptAnswer::Ok) = 0;
  // The chosen file, or nothing when cancelled.
  virtual std::optional<QString> OpenFile(const FileDialogSpec& form) = 0;
  virtual std::optional<QString> SaveFile(const FileDialogSpec& form) = 0;
  // A save dialog whose filter offers several file types: the chosen file
  // and the 0-based index of the type chosen with it. Without an override,
  // SaveFile and the first type.
  struct ChosenFile {
    QString path;
    int type = 0;
  };
  virtual std::optional<ChosenFile> SaveFileOfType(const FileDialogSpec& form);
  virtual std::optional<QColor> Color(const QColor& initial) = 0;
  virtual std::optional<QFont> Font(const QFont& initial, const QColor& initialColor,
                                    QColor* chosenColor) = 0;

  // The one instance in use. Never null: a Qt implementation until replaced.
  static Prompts& Current();
  // Replaces the instance in use (not owned); nullptr restores the Qt one.
  static void Install(Prompts* prompts);

  // Shorthands for the four kinds of message box of the program.
  static void Error(const QString& text);        // "エラー", stop icon
  static void Notice(const QString& text);       // "メッセージ", exclamation icon
  static PromptAnswer Confirm(const QString& text, PromptButtons buttons,
                              PromptAnswer defaultAnswer = PromptAnswer::Yes);  // "確認"
  static void PrinterError(const QString& text); // "プリンタエラー", stop icon
};

// Starts a save dialog beside `dataFile`, named after it with `extension`;
// a document without a file leaves folder and name empty.
void PlaceBeside(FileDialogSpec& form, const QString& dataFile, const QString& extension);

// Turns a filter of the "Text(*.A)|*.A" form into Qt's "Text(*.A)" form.
QString QtFilterOf(const QString& filter);
// The file name with the default extension added when it has none.
QString WithDefaultExtension(const QString& fileName, const QString& extension);
