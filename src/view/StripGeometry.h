#pragma once
// Where everything of a strip lands on the two views: the detail view (large,
// editable) and the all view (the whole strip on a second canvas). The plan
// is computed from the document lines alone; the widgets and the strip
// renderer only place things at the rectangles it gives, so the window and a
// rendered picture cannot disagree.
//
// Every millimetre value and scale is a Decimal4; each rectangle value is
// computed as a Decimal4 product or sum and truncated to whole pixels only
// at the end, value by value.

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <vector>

#include "base/Decimal4.h"
#include "document/DocumentError.h"
#include "document/StripSheet.h"

#include "base/Lines.h"

enum ViewKind { kDetailView = 0, kAllView = 1 };
inline constexpr int kViewCount = 2;

// The message shown when a strip has more than 100 groups or keys.
inline constexpr char kTooManyButtonsText[] = "ボタンの数が多すぎます。";
// The message for a line that does not hold the number it must hold.
QString LayoutErrorText(const DocumentError& error);

struct DecimalRect {
  Decimal4 left, top, right, bottom;
};

// Whole pixels: each corner truncated toward zero.
QRect PixelRect(const DecimalRect& r);

// One row of the sheet table: the virtual sheet in millimetres and the two
// canvases in (fractional) pixels.
struct SheetFormat {
  Decimal4 sheetWidth, sheetHeight;
  std::array<Decimal4, kViewCount> canvasWidth, canvasHeight;
};

// The canvases of the sheet that StripSheetFor gives the series name and
// strip type.
SheetFormat SheetFormatFor(const QByteArray& seriesName, const QByteArray& stripType);

// A font size of the detail view carried over to the all view:
// (size - 3) x allWidth / detailWidth + 3, integers truncating toward zero.
int AllViewFontSize(int size, int detailWidth, int allWidth);

struct ViewCanvas {
  Decimal4 sx, sy;  // pixels per millimetre, each axis on its own
  QSize size{0, 0};  // canvas size in whole pixels (fractions truncated)
};

struct GroupPlan {
  qsizetype headerLine = 0;
  bool showNumbers = false;
  int keyCount = 0;
  // The silver rectangle; in the all view also the group rectangle table
  // that a double-click on the canvas searches.
  std::array<DecimalRect, kViewCount> rect;
};

// The number label's format (lines 8 to 13 of the key block).
struct NumberLabelFormat {
  QByteArray fontName;  // Shift_JIS
  int pointSize = 0;    // detail view size; the all view has its own in KeyView
  int color = 0;        // Windows colour value
  bool bold = false;
  bool italic = false;
  int alignment = 1;  // 1 left, 2 centre, 3 right; others draw as left
};

// One key in one view, in canvas pixels.
struct KeyView {
  DecimalRect outline;  // grey key outline on the canvas
  QRect label;          // number label
  int labelPointSize = 0;
  QRect frame;  // white frame, 2 px wider than the panel on every side
  QRect panel;  // the text area; the key's face is drawn into it
  int textPointSize = 0;
};

struct KeyPlan {
  int index = 0;  // key index across all groups
  int group = 0;
  qsizetype blockLine = 0;  // document line of the key block's line 0
  int keyNumber = 0;        // whole key number field, 0 when not a number
  int shownNumber = 0;      // number in the label, 0 for none
  bool editable = false;    // key number above 0: typed into, framed
  bool hasPanel = false;    // key number field not blank: has a text panel
  bool labelVisible = false;
  NumberLabelFormat label;
  std::array<KeyView, kViewCount> view;
};

struct StripPlan {
  qsizetype stripStart = 0;
  // More than 100 groups (nothing built) or a group that takes the key
  // count past 100 (the groups and keys before it are kept). The view then
  // stays hidden and the strip caption is not set.
  bool tooMany = false;
  bool roundedCorners = false;
  SheetFormat sheet{};
  std::array<ViewCanvas, kViewCount> view{};
  std::vector<GroupPlan> groups;
  std::vector<KeyPlan> keys;
};

// Lays out the strip whose first header line is `stripStart`. Reads every
// line that laying out and drawing the keys need, so once it returns the
// faces can be drawn without error. DocumentError (with the line index) for
// a line that must hold a number and does not, or a strip that ends early.
StripPlan PlanStrip(const Lines& lines, qsizetype stripStart);
// Key k's text size in both views from a size in points of line 20: the
// detail view draws it as it is, the all view scaled down.
void SetKeyTextPointSize(StripPlan& plan, int k, int size);

// The caption above the view: extension number, strip type and user name.
QString StripCaption(const Lines& lines, qsizetype stripStart);

// The group whose all-view rectangle holds the point (bounds inclusive), the
// first match in group order; the search ends at an entry whose left and
// right are both 0. -1 when none.
int AllViewGroupAt(const StripPlan& plan, QPoint point);
// The key a double-click on the all-view canvas jumps to: the first key of
// the group under the point, or -1 when there is none.
int AllViewKeyAt(const StripPlan& plan, const Lines& lines, QPoint point);
