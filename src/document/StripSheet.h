#pragma once
// The sheet a strip is laid out and printed on, chosen by its series name
// and strip type: the one table that the view, the card printer and the
// template check share. Sizes are millimetres; the canvases in pixels stay
// with the view and the printer.
//
//   series contains           strip type contains   sheet (mm)   paper
//   Ｔｅシリーズ, Ｍｏシリーズ  (any)                 148 x 210    A5 portrait
//   Ｋａシリーズ               標準Ｋａ              148 x 210    A5 portrait
//   Ｋａシリーズ               (any other)           210 x 148    A4, top 148 mm
//   (any other series)        (any)                 182 x 257    JIS B5 portrait
//
// "Contains" is a substring test on the Shift_JIS bytes; the first row that
// holds applies.

#include <QByteArray>
#include <QString>

#include "base/Decimal4.h"

enum class SheetKind {
  kPortrait,      // Ｔｅ and Ｍｏ series
  kStandardKa,    // Ｋａ series, a type named 標準Ｋａ...: portrait too
  kLandscapeKa,   // Ｋａ series, any other type
  kLarge,         // every other series
};

struct StripSheet {
  SheetKind kind = SheetKind::kLarge;
  Decimal4 width, height;  // millimetres
  int paperCode = 0;       // 9 A4, 11 A5, 13 JIS B5
  QString paperName;       // "A5", "A4" or "B5"
};

StripSheet StripSheetFor(const QByteArray& seriesName, const QByteArray& stripType);

// Square key corners for the Ｔｅ, Ｍｏ and Ｋａ series, rounded for the others.
bool HasRoundedKeyCorners(const QByteArray& seriesName);
