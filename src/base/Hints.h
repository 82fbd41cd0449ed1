#pragma once
// The hint of a control: a short part and a long part separated by "|" (a
// hint without "|" is both). The short part is the tool tip and the name a
// screen reader announces; the long part is the status text.

#include <QString>

class QWidget;

QString ShortHint(const QString& hint);
QString LongHint(const QString& hint);

// Sets tool tip, status text, accessible name (the short part) and
// accessible description (the long part) from the hint.
void SetHint(QWidget* widget, const QString& hint);
// A control known by its caption rather than a hint (palette buttons,
// preview buttons): the caption without its mnemonic mark and line breaks
// becomes the accessible name.
void SetAccessibleCaption(QWidget* widget, const QString& caption);
