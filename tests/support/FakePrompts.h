#pragma once
// A Prompts that records every message and file dialog and answers from a
// script, so tests check the exact texts and drive the answers.

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

#include "base/Prompts.h"

struct RecordedMessage {
  QString text;
  QString title;
  PromptIcon icon;
  PromptButtons buttons;
  PromptAnswer defaultAnswer;
  QStringList choices;  // the buttons' own texts (Choose), empty otherwise
};

class FakePrompts : public Prompts {
 public:
  FakePrompts() { Prompts::Install(this); }
  ~FakePrompts() override { Prompts::Install(nullptr); }

  PromptAnswer Message(const QString& text, const QString& title, PromptIcon icon,
                       PromptButtons buttons, PromptAnswer defaultAnswer) override;
  // Answers from `answers` like Message, recording the buttons' texts.
  PromptAnswer Choose(const QString& text, const QString& title, PromptIcon icon, const QStringList& buttons,
                      PromptAnswer defaultAnswer) override;
  std::optional<QString> OpenFile(const FileDialogSpec& form) override;
  std::optional<QString> SaveFile(const FileDialogSpec& form) override;
  // Takes the file from `files` and its type from `fileTypes` (0 when none is left).
  std::optional<ChosenFile> SaveFileOfType(const FileDialogSpec& form) override;
  std::optional<QColor> Color(const QColor& initial) override;
  std::optional<QFont> Font(const QFont& initial, const QColor& initialColor,
                            QColor* chosenColor) override;

  // Scripted answers, used in order; with none left a message answers with
  // its default button and a dialog is cancelled.
  std::deque<PromptAnswer> answers;
  std::deque<std::optional<QString>> files;
  std::deque<int> fileTypes;
  std::deque<std::optional<QColor>> colors;
  std::deque<std::optional<QFont>> fonts;

  // The colour the font dialog hands back with each scripted font; with
  // none left, the colour it opened with.
  std::deque<QColor> fontColors;

  // Runs while each message is shown, before it is answered: a test opens
  // an event loop here, as a real message box does.
  std::function<void()> whileShown;

  QList<RecordedMessage> messages;
  QList<QColor> colorDialogs;  // the colour each colour dialog opened with
  struct FontDialog {
    QFont font;
    QColor color;
  };
  QList<FontDialog> fontDialogs;  // what each font dialog opened with
  QList<FileDialogSpec> openDialogs;
  QList<FileDialogSpec> saveDialogs;
};
