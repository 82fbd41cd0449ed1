#include "base/ColorPair.h"

#include "base/Numbers.h"

int FontColorOf(const QByteArray& pair) {
  qsizetype comma = pair.indexOf(',');
  return ParseIntOr(comma < 0 ? pair : pair.left(comma), kWinBlack);
}

int BackColorOf(const QByteArray& pair) {
  qsizetype comma = pair.indexOf(',');
  if (comma < 0) return kWinWhite;
  return ParseIntOr(pair.mid(comma + 1), kWinWhite);
}

QByteArray WithFontColor(const QByteArray& pair, int color) {
  qsizetype comma = pair.indexOf(',');
  QByteArray back = comma < 0 ? QByteArray::number(kWinWhite) : pair.mid(comma + 1);
  return QByteArray::number(color) + ',' + back;
}

QByteArray WithBackColor(const QByteArray& pair, int color) {
  qsizetype comma = pair.indexOf(',');
  QByteArray font = comma < 0 ? pair : pair.left(comma);
  return font + ',' + QByteArray::number(color);
}

QColor QColorFromWin(int value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int WinFromQColor(const QColor& color) {
  return color.red() | (color.green() << 8) | (color.blue() << 16);
}
