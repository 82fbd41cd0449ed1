#pragma once
// Strips for the print tests: keys whose text boxes are filled with a
// colour of their own, so a page shows where each box landed.

#include <QColor>
#include <QImage>
#include <QRect>

#include "document/StripDocument.h"
#include "support/StripBuilder.h"

// A key whose text box (x, y, width, height in mm from the group) is
// filled with the Windows colour `back`, with the given text lines.
TestKey BoxKey(const char* x, const char* y, const char* width, const char* height, int back,
               Lines text = {});
// A strip of one group at 10, 20 mm holding `keys`.
TestStrip BoxStrip(QList<TestKey> keys, const char* series = "Ｔｅシリーズ主装置",
                   const char* type = "Ｔｅ標準");
StripDocument DocumentOf(const QList<TestStrip>& strips);

// The bounding box of the pixels of exactly this colour; empty when none.
QRect BoxOfColour(const QImage& image, QColor colour);
// Whether every pixel outside the rectangles is white.
bool WhiteOutside(const QImage& image, const QList<QRect>& rects);
