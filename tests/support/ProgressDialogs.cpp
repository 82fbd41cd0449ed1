#include "support/ProgressDialogs.h"

#include <QApplication>
#include <QEvent>

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

CancelProgressOnShow::CancelProgressOnShow() { QApplication::instance()->installEventFilter(this); }

CancelProgressOnShow::~CancelProgressOnShow() { QApplication::instance()->removeEventFilter(this); }

bool CancelProgressOnShow::eventFilter(QObject* watched, QEvent* event) {
  auto* dialog = qobject_cast<QProgressDialog*>(watched);
  if (dialog && event->type() == QEvent::Show) ProgressCancelButton(dialog)->click();
  return false;
}
