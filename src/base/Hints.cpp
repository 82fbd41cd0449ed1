#include "base/Hints.h"

#include <QWidget>

QString ShortHint(const QString& hint) {
  const qsizetype bar = hint.indexOf('|');
  return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint) {
  const qsizetype bar = hint.indexOf('|');
  return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(ShortHint(hint));
  widget->setStatusTip(LongHint(hint));
  widget->setAccessibleName(ShortHint(hint));
  widget->setAccessibleDescription(LongHint(hint));
}

void SetAccessibleCaption(QWidget* widget, const QString& caption) {
  QString name = caption;
  // "&&" is a literal "&"; a single "&" only marks the mnemonic.
  name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  name.remove('&');
  name.replace(QChar(1), QChar('&'));
  name.replace('\n', ' ');
  widget->setAccessibleName(name);
}
