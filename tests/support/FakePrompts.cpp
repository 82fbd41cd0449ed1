#include "support/FakePrompts.h"

namespace {

// The next scripted answer, or nothing when the script has run out.
template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& queue) {
  std::optional<T> value;
  if (!queue.empty()) {
    value.swap(queue.front());
    queue.pop_front();
  }
  return value;
}

}  // namespace

PromptAnswer FakePrompts::Message(const QString& text, const QString& title, PromptIcon icon,
                                  PromptButtons buttons, PromptAnswer defaultAnswer) {
  messages.append({text, title, icon, buttons, defaultAnswer});
  if (whileShown) whileShown();
  if (answers.empty()) return defaultAnswer;
  PromptAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

PromptAnswer FakePrompts::Choose(const QString& text, const QString& title, PromptIcon icon,
                                 const QStringList& buttons, PromptAnswer defaultAnswer) {
  const PromptAnswer answer = Message(text, title, icon, PromptButtons::YesNoCancel, defaultAnswer);
  messages.last().choices = buttons;
  return answer;
}

std::optional<QString> FakePrompts::OpenFile(const FileDialogSpec& form) {
  openDialogs.append(form);
  return Next(files);
}

std::optional<QString> FakePrompts::SaveFile(const FileDialogSpec& form) {
  saveDialogs.append(form);
  return Next(files);
}

std::optional<Prompts::ChosenFile> FakePrompts::SaveFileOfType(const FileDialogSpec& form) {
  std::optional<QString> path = SaveFile(form);
  int type = 0;
  if (!fileTypes.empty()) {
    type = fileTypes.front();
    fileTypes.pop_front();
  }
  if (!path) return std::nullopt;
  return ChosenFile{*path, type};
}

std::optional<QColor> FakePrompts::Color(const QColor& initial) {
  colorDialogs.append(initial);
  return Next(colors);
}

std::optional<QFont> FakePrompts::Font(const QFont& initial, const QColor& initialColor, QColor* chosenColor) {
  fontDialogs.append({initial, initialColor});
  std::optional<QFont> font = Next(fonts);
  QColor color = initialColor;
  if (font && !fontColors.empty()) {
    color = fontColors.front();
    fontColors.pop_front();
  }
  if (chosenColor) *chosenColor = color;
  return font;
}
