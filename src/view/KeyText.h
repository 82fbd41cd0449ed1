#pragma once
// Drawing a key's text lines into a rectangle of any canvas: the face images
// of both views, the strip renderer and the printer all use DrawKeyText, so
// screen and paper place every line on the same pixels (at their own
// resolution).

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

#include "base/Decimal4.h"

class QFontMetrics;
class QPaintDevice;
class QPainter;
#include "base/Lines.h"

// The key block lines that DrawKeyText reads (19 to 24, 30, 32 and the text
// lines), checked: DocumentError for a size, bold, italic, alignment or line
// count that is not a number, or text lines missing at the end of the list.
struct KeyTextFormat {
  QByteArray fontName;  // Shift_JIS
  int pointSize = 0;    // the size of line 20; callers pass the size to draw with
  int fontColor = 0;    // Windows colour values
  int backColor = 0;
  bool bold = false;
  bool italic = false;
  int alignment = 2;  // 1 left, 2 centre, 3 right; other values keep x
  bool hasPicture = false;  // picture kind not blank: the key shows no text
  Lines text;
};
KeyTextFormat ReadKeyTextFormat(const Lines& lines, qsizetype keyLine);

// A point size in pixels at `dpi`: size x dpi / 72, rounded half away from
// zero, as the font's character height.
int PointsToPixels(int pointSize, int dpi);

// Draws the text of the key block at `keyLine` into the rectangle left..right
// x top..bottom of the canvas with the given point size (turned into pixels
// at the paint device's vertical resolution). Fills the rectangle with the
// background colour, centres the block of lines vertically (the pad may be
// negative), aligns each line and clips it to its own slice of the
// rectangle. A key with a picture draws nothing. DocumentError as
// ReadKeyTextFormat.
void DrawKeyText(QPainter& canvas, Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom,
                 const Lines& lines, qsizetype keyLine, int pointSize);
// The same from the key's lines read before.
void DrawKeyText(QPainter& canvas, Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom,
                 const KeyTextFormat& format, int pointSize);

// Where DrawKeyText puts the lines of a key: each line that shows, with its
// slice of the rectangle and the top-left corner of its text cell, and
// whether the whole text fits (the block of lines no taller than the
// rectangle, no line past its left or right edge).
struct KeyTextLine {
  QString text;
  QRect clip;
  QPoint topLeft;
};
struct KeyTextLayout {
  bool fits = true;
  std::vector<KeyTextLine> shown;
};
KeyTextLayout LayOutKeyText(const QFontMetrics& metrics, const KeyTextFormat& format, int lineHeight,
                            Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom);

// True when DrawKeyText on `device` would show the key's whole text in the
// rectangle, nothing cut at an edge. A key with a picture shows no text and fits.
bool KeyTextFits(const QPaintDevice& device, Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom,
                 const KeyTextFormat& format, int pointSize);
