#include "support/ProgressDialogs.h"

#include <QApplication>

QProgressDialog* ShownProgressDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QProgressDialog*>(widget);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

QPushButton* ProgressCancelButton(QProgressDialog* dialog) {
  return dialog->findChild<QPushButton*>(QStringLiteral("ButtonCancel"));
}
