#pragma once
// The colour pair line: font colour and background colour as decimal Windows
// colour values (red in the low byte) joined by ",". A pair without "," has a
// white background; a part that is not a number reads as the default.

#include <QByteArray>
#include <QColor>

constexpr int kWinBlack = 0;
constexpr int kWinWhite = 16777215;

int FontColorOf(const QByteArray& pair);
int BackColorOf(const QByteArray& pair);
QByteArray WithFontColor(const QByteArray& pair, int color);
QByteArray WithBackColor(const QByteArray& pair, int color);

// Windows colour value (0x00BBGGRR) <-> QColor.
QColor QColorFromWin(int value);
int WinFromQColor(const QColor& color);
