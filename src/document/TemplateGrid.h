#pragma once
// A grid of keys described in a few numbers, turned into template groups:
// the common strip in one description ("12 rows x 2 columns of 38 x 9 mm
// keys, numbers on the left, 保留 and 転送 below").
//
// Within a key outline (all in mm, from the outline's corner):
//   the number label (numbers left or right) is kLabelWidth wide and at
//   most kLabelHeight high, `inset` in from the outline's side and top;
//   the text area fills the rest, `inset` in from every side and kLabelGap
//   away from the label.
// The group holds its keys with `margin` around them; fixed keys go into a
// group of their own below, one row across the columns (more rows when there
// are more fixed keys than columns), without numbers.

#include <QByteArray>
#include <QList>
#include <optional>

#include "base/Decimal4.h"
#include "document/StripTemplate.h"

enum class NumberLabels { kLeft, kRight, kNone };

struct GridGroup {
  int rows = 1;
  int columns = 1;
  // The group's top-left corner on the sheet; without one the group goes
  // kGroupGap below the one before (the first at 10, 10).
  std::optional<Decimal4> x, y;
};

struct GridDescription {
  QList<GridGroup> groups;
  Decimal4 keyWidth = Decimal4::FromInt(38);
  Decimal4 keyHeight = Decimal4::FromInt(9);
  // From one outline's corner to the next; none: the size plus 1 mm.
  std::optional<Decimal4> pitchX, pitchY;
  NumberLabels labels = NumberLabels::kLeft;
  bool numberAcross = false;  // 1, 2 along a row; otherwise down each column
  int firstNumber = 1;
  Decimal4 inset = Decimal4::FromInt(1);
  Decimal4 margin = Decimal4::FromDouble(1.5);
  QList<QByteArray> fixedTexts;  // Shift_JIS, at most 20 bytes each
  int fixedTextSize = 9;
  QByteArray title;  // the title line: names the series served

  Decimal4 PitchX() const { return pitchX.value_or(keyWidth + Decimal4::FromInt(1)); }
  Decimal4 PitchY() const { return pitchY.value_or(keyHeight + Decimal4::FromInt(1)); }
};

inline constexpr double kLabelWidth = 4;
inline constexpr double kLabelHeight = 3.5;
inline constexpr double kLabelGap = 0.5;
inline constexpr double kGroupGap = 5;

// The template the description gives. Editable keys are numbered from
// firstNumber with three digits ("001"); numbers past 999 are not given.
StripTemplate TemplateOfGrid(const GridDescription& grid);

// One key of the grid at its place in its group (outline corner at x, y).
TemplateKey GridKey(const GridDescription& grid, Decimal4 x, Decimal4 y, const QByteArray& keyNumber);
