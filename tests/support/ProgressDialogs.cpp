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

CancelProgressOnShow::CancelProgressOnShow(std::function<void()> atShow) : atShow_(std::move(atShow)) {
  qApp->installEventFilter(this);
}

CancelProgressOnShow::~CancelProgressOnShow() { qApp->removeEventFilter(this); }

bool CancelProgressOnShow::eventFilter(QObject* watched, QEvent* event) {
  auto* dialog = qobject_cast<QProgressDialog*>(watched);
  if (!dialog || event->type() != QEvent::Show) return false;
  if (atShow_) atShow_();
  ProgressCancelButton(dialog)->click();
  return false;
}
