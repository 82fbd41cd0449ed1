#include "document/TemplateGrid.h"

#include <QString>
#include <algorithm>

#include "base/ShiftJis.h"

namespace {

Decimal4 D(double value) { return Decimal4::FromDouble(value); }
Decimal4 Times(int n, Decimal4 d) { return Decimal4::FromInt(n) * d; }

TemplateBox Box(Decimal4 x, Decimal4 y, Decimal4 width, Decimal4 height) {
  TemplateBox box;
  box.x = x;
  box.y = y;
  box.width = width;
  box.height = height;
  return box;
}

// The group around `rows` x `columns` keys, its corner at x, y.
TemplateGroup GroupBox(const GridDescription& grid, int rows, int columns, Decimal4 x, Decimal4 y, bool numbers) {
  TemplateGroup group;
  group.showNumbers = numbers ? 1 : 0;
  const Decimal4 width = grid.margin + grid.margin + Times(columns - 1, grid.PitchX()) + grid.keyWidth;
  const Decimal4 height = grid.margin + grid.margin + Times(rows - 1, grid.PitchY()) + grid.keyHeight;
  group.box = Box(x, y, width, height);
  return group;
}

// The outline corner of the key in `row`, `column` within its group.
Decimal4 KeyX(const GridDescription& grid, int column) { return grid.margin + Times(column, grid.PitchX()); }
Decimal4 KeyY(const GridDescription& grid, int row) { return grid.margin + Times(row, grid.PitchY()); }

}  // namespace

TemplateKey GridKey(const GridDescription& grid, Decimal4 x, Decimal4 y, const QByteArray& keyNumber) {
  TemplateKey key;
  key.outline = Box(x, y, grid.keyWidth, grid.keyHeight);
  const Decimal4 inner = grid.keyHeight - grid.inset - grid.inset;
  const Decimal4 labelWidth = D(kLabelWidth);
  const Decimal4 labelHeight = std::min(D(kLabelHeight), inner);
  const Decimal4 textLeft = x + grid.inset;
  const Decimal4 textWidth = grid.keyWidth - grid.inset - grid.inset;
  const Decimal4 labelSpace = labelWidth + D(kLabelGap);
  switch (grid.labels) {
    case NumberLabels::kLeft:
      key.label = Box(textLeft, y + grid.inset, labelWidth, labelHeight);
      key.textArea = Box(textLeft + labelSpace, y + grid.inset, textWidth - labelSpace, inner);
      break;
    case NumberLabels::kRight:
      key.label = Box(x + grid.keyWidth - grid.inset - labelWidth, y + grid.inset, labelWidth, labelHeight);
      key.textArea = Box(textLeft, y + grid.inset, textWidth - labelSpace, inner);
      break;
    case NumberLabels::kNone:
      key.label = Box(textLeft, y + grid.inset, labelWidth, labelHeight);
      key.textArea = Box(textLeft, y + grid.inset, textWidth, inner);
      break;
  }
  key.labelFont = sjis::Encode(QStringLiteral("ＭＳ Ｐゴシック"));
  key.labelSize = 7;
  key.labelColor = 0;
  key.labelBold = 0;
  key.labelItalic = 0;
  key.labelAlign = 2;
  key.keyNumber = keyNumber;
  return key;
}

StripTemplate TemplateOfGrid(const GridDescription& grid) {
  StripTemplate t;
  t.title = grid.title;
  const bool numbers = grid.labels != NumberLabels::kNone;
  int number = grid.firstNumber;
  Decimal4 nextY = Decimal4::FromInt(10);
  Decimal4 lastX = Decimal4::FromInt(10);
  int widestColumns = 1;
  for (const GridGroup& g : grid.groups) {
    const Decimal4 x = g.x.value_or(lastX);
    const Decimal4 y = g.y.value_or(nextY);
    TemplateGroup group = GroupBox(grid, g.rows, g.columns, x, y, numbers);
    for (int i = 0; i < g.rows * g.columns; ++i) {
      const int row = grid.numberAcross ? i / g.columns : i % g.rows;
      const int column = grid.numberAcross ? i % g.columns : i / g.rows;
      const QByteArray field = QByteArray::number(number++).rightJustified(3, '0');
      group.keys.append(GridKey(grid, KeyX(grid, column), KeyY(grid, row), field));
    }
    lastX = x;
    nextY = group.box.Bottom() + D(kGroupGap);
    widestColumns = std::max(widestColumns, g.columns);
    t.groups.append(group);
  }
  if (!grid.fixedTexts.isEmpty()) {
    const int count = static_cast<int>(grid.fixedTexts.size());
    const int columns = std::min(widestColumns, count);
    const int rows = (count + columns - 1) / columns;
    TemplateGroup group = GroupBox(grid, rows, columns, lastX, nextY, false);
    for (int i = 0; i < count; ++i) {
      const QByteArray field = TemplateKey::FixedKeyField(i + 1, grid.fixedTextSize, grid.fixedTexts[i]);
      group.keys.append(GridKey(grid, KeyX(grid, i % columns), KeyY(grid, i / columns), field));
    }
    t.groups.append(group);
  }
  return t;
}
