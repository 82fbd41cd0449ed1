#pragma once
// The edits of the strip type designer, as plain functions on a template:
// what is selected, where it lies on the sheet, and every change the window
// offers (move, resize, set a field, add, duplicate, delete, align,
// distribute, renumber). The window wraps each call in one undo step.
//
// A value that does not change is never set, so the number keeps the bytes
// it was read as (the undo steps keep whole templates for the rest).

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>
#include <QVariant>

#include "document/StripSheet.h"
#include "document/StripTemplate.h"
#include "document/TemplateGrid.h"

// A group (key -1) or a key of a group.
struct ItemRef {
  int group = 0;
  int key = -1;

  bool IsGroup() const { return key < 0; }
  friend bool operator==(const ItemRef&, const ItemRef&) = default;
  friend auto operator<=>(const ItemRef&, const ItemRef&) = default;
};
using Selection = QList<ItemRef>;

// The sheet the designer draws: the one of the first series the title names
// (the Ｔｅ series' when it names none) and the type.
StripSheet SheetOfTemplate(const StripTemplate& model, const QString& stripType);
// The note beside the type name: which sheet the name chooses and why.
QString SheetNote(const StripTemplate& model, const QString& stripType);

// Where an item lies on the sheet, in mm from the sheet's corner: a group's
// box, a key's outline.
QRectF SheetRectOf(const StripTemplate& model, ItemRef item);
// The key's number label and text area on the sheet.
QRectF SheetLabelRectOf(const StripTemplate& model, ItemRef item);
QRectF SheetTextRectOf(const StripTemplate& model, ItemRef item);
// The key index across all groups, and back.
int KeyIndexOf(const StripTemplate& model, ItemRef item);
ItemRef ItemOfKey(const StripTemplate& model, int keyIndex);
bool IsValidItem(const StripTemplate& model, ItemRef item);
// Every group and key, groups first in each group.
Selection AllItems(const StripTemplate& model);
// The topmost item at a point (keys over groups), or nothing (group -1).
ItemRef ItemAt(const StripTemplate& model, QPointF mm);
// The items whose rectangles lie wholly inside `mm`.
Selection ItemsInside(const StripTemplate& model, const QRectF& mm);

// Moves the selection by dx, dy mm (a key of a selected group moves with it
// only once).
void MoveItems(StripTemplate& model, const Selection& items, Decimal4 dx, Decimal4 dy);
// A drag of `raw` mm in steps of `grid` (none below 0.0001): each axis
// rounded to the nearest step.
Decimal4 SnapToGrid(double raw, Decimal4 grid);

// Which side of an item's outline a handle moves.
enum class Handle { kNone, kTopLeft, kTopRight, kBottomLeft, kBottomRight };
// The outline (a key's; a group's box) moved by its handle; the size never
// drops below `minimum`.
void ResizeItem(StripTemplate& model, ItemRef item, Handle handle, Decimal4 dx, Decimal4 dy, Decimal4 minimum);

// The fields of the property panel.
enum class Field {
  kShowNumbers,
  kGroupX, kGroupY, kGroupWidth, kGroupHeight,
  kOutlineX, kOutlineY, kOutlineWidth, kOutlineHeight,
  kLabelX, kLabelY, kLabelWidth, kLabelHeight,
  kLabelFont, kLabelSize, kLabelColor, kLabelBold, kLabelItalic, kLabelAlign,
  kTextX, kTextY, kTextWidth, kTextHeight,
  kKeyNumber,   // an editable key's number
  kFixedText,   // a fixed key's text (the key becomes fixed)
  kFixedSize,
};
bool IsGroupField(Field field);
bool IsMmField(Field field);
bool IsSizeField(Field field);
// The field of an item as the panel shows it (mm as decimal text, texts
// decoded), or a null variant when the item has no such field.
QVariant FieldValue(const StripTemplate& model, ItemRef item, Field field);
// The value common to every item of the selection that has the field; null
// when they differ or none has it.
QVariant CommonFieldValue(const StripTemplate& model, const Selection& items, Field field);
// Why `text` cannot be the field's value on this sheet (mm: a number with at
// most four decimals, sizes above 0, everything within the sheet), or an
// empty text.
QString FieldProblem(Field field, const QString& text, const StripTemplate& model, const Selection& items,
                     const StripSheet& sheet);
// Sets the field on every selected item that has it. The value is checked
// before (FieldProblem).
void SetField(StripTemplate& model, const Selection& items, Field field, const QVariant& value);

// A new empty group at x, y (mm), 50 x 30 mm, showing numbers.
ItemRef AddGroup(StripTemplate& model, Decimal4 x, Decimal4 y);
// The keys of a grid description added to the template: its groups (and the
// fixed keys' group) after the ones there. The new items.
Selection AddGrid(StripTemplate& model, const GridDescription& grid);
// Copies of the selected items `offset` mm right and down; the copies.
Selection DuplicateItems(StripTemplate& model, const Selection& items, Decimal4 offset);
// Removes the selection (a group with its keys).
void DeleteItems(StripTemplate& model, const Selection& items);

enum class Align { kLeft, kRight, kTop, kBottom, kCentreX, kCentreY };
// Lines the selection up on the first item's edge or centre.
void AlignItems(StripTemplate& model, const Selection& items, Align align);
// Equal gaps between the selected items, across (horizontal) or down, the
// outermost staying where they are. Needs three items.
void DistributeItems(StripTemplate& model, const Selection& items, bool horizontal);
// Numbers the selected editable keys from `first` in selection order
// (three digits: 001), keeping what follows the number in each field.
void RenumberKeys(StripTemplate& model, const Selection& items, int first);

// The title line of the check boxes and the free text: the names of the
// checked series, then the free text, a space between.
QByteArray TitleOf(const QList<int>& series, const QString& freeText);
// The free text of a title: the title without the series names it holds.
QString FreeTextOf(const QByteArray& title);

// A new template: one group showing numbers and no keys, no series.
StripTemplate NewTemplate();
