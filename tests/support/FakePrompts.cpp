#include "support/FakePrompts.h"

namespace {

template <typename T>
T Next(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

PromptAnswer FakePrompts::Message(const QString& text, const QString& title, PromptIcon icon,
                                  PromptButtons buttons, PromptAnswer defaultAnswer) {
  messages.append({text, title, icon, buttons, defaultAnswer});
  return Next(answers, defaultAnswer);
}

std::optional<QString> FakePrompts::OpenFile(const FileDialogSpec& spec) {
  openDialogs.append(spec);
  return Next<std::optional<QString>>(files, std::nullopt);
}

std::optional<QString> FakePrompts::SaveFile(const FileDialogSpec& spec) {
  saveDialogs.append(spec);
  return Next<std::optional<QString>>(files, std::nullopt);
}

std::optional<QColor> FakePrompts::Color(const QColor&) {
  return Next<std::optional<QColor>>(colors, std::nullopt);
}

std::optional<QFont> FakePrompts::Font(const QFont&, const QColor& initialColor, QColor* chosenColor) {
  if (chosenColor) *chosenColor = initialColor;
  return Next<std::optional<QFont>>(fonts, std::nullopt);
}
