#include "view/StripGeometry.h"

#include <algorithm>
#include <cstdint>

#include "base/ShiftJis.h"
#include "document/StripLayout.h"
#include "document/StripSheet.h"
#include "view/Pixels.h"
#include "view/KeyText.h"

using namespace layout;

namespace {

Decimal4 D(double value) { return Decimal4::FromDouble(value); }

// A sheet with its detail and all canvases (fractional pixels).
SheetFormat Format(const StripSheet& sheet, double detailW, double detailH, double allW, double allH) {
  return {sheet.width, sheet.height, {D(detailW), D(allW)}, {D(detailH), D(allH)}};
}

ViewCanvas CanvasOf(const SheetFormat& sheet, ViewKind v) {
  ViewCanvas canvas;
  canvas.sx = sheet.canvasWidth[v] / sheet.sheetWidth;
  canvas.sy = sheet.canvasHeight[v] / sheet.sheetHeight;
  canvas.size = QSize(ToPixel(sheet.canvasWidth[v]), ToPixel(sheet.canvasHeight[v]));
  return canvas;
}

struct GroupHeader {
  bool showNumbers;
  Decimal4 x, y, width, height;
  int keyCount;
};

GroupHeader ReadGroupHeader(const Lines& lines, qsizetype at) {
  GroupHeader h;
  h.showNumbers = ReadInt(lines, at + kShowNumbers) != 0;
  h.x = ReadDecimal(lines, at + kGroupX);
  h.y = ReadDecimal(lines, at + kGroupY);
  h.width = ReadDecimal(lines, at + kGroupWidth);
  h.height = ReadDecimal(lines, at + kGroupHeight);
  h.keyCount = ReadCount(lines, at + kKeyCount);
  return h;
}

GroupPlan PlanGroup(const GroupHeader& h, qsizetype headerLine, const StripPlan& plan) {
  GroupPlan group;
  group.headerLine = headerLine;
  group.showNumbers = h.showNumbers;
  group.keyCount = h.keyCount;
  for (int v = 0; v < kViewCount; ++v) {
    const ViewCanvas& c = plan.view[v];
    group.rect[v] = {c.sx * h.x, c.sy * h.y, c.sx * (h.x + h.width), c.sy * (h.y + h.height)};
  }
  return group;
}

// A rectangle of the key block (x, y, width, height at `first`), placed at
// the group origin: left and top from the sums, width and height on their own.
struct MmRect {
  Decimal4 x, y, width, height;
};

MmRect ReadMmRect(const Lines& lines, qsizetype first, const GroupHeader& g) {
  return {ReadDecimal(lines, first) + g.x, ReadDecimal(lines, first + 1) + g.y,
          ReadDecimal(lines, first + 2), ReadDecimal(lines, first + 3)};
}

QRect ScaledRect(const ViewCanvas& c, const MmRect& r) {
  return QRect(ToPixel(c.sx * r.x), ToPixel(c.sy * r.y), ToPixel(c.sx * r.width),
               ToPixel(c.sy * r.height));
}

DecimalRect ScaledOutline(const ViewCanvas& c, const MmRect& r) {
  const Decimal4 left = c.sx * r.x;
  const Decimal4 top = c.sy * r.y;
  return {left, top, left + c.sx * r.width, top + c.sy * r.height};
}

QRect FrameRect(const ViewCanvas& c, const MmRect& r) {
  const Decimal4 two = Decimal4::FromInt(2);
  const Decimal4 four = Decimal4::FromInt(4);
  return QRect(ToPixel(c.sx * r.x - two), ToPixel(c.sy * r.y - two),
               ToPixel(c.sx * r.width + four), ToPixel(c.sy * r.height + four));
}

NumberLabelFormat ReadLabelFormat(const Lines& lines, qsizetype key) {
  NumberLabelFormat f;
  f.fontName = LineAt(lines, key + kLabelFont);
  f.pointSize = ReadInt(lines, key + kLabelSize);
  f.color = ReadInt(lines, key + kLabelColor);
  f.bold = ReadInt(lines, key + kLabelBold) != 0;
  f.italic = ReadInt(lines, key + kLabelItalic) != 0;
  f.alignment = ReadInt(lines, key + kLabelAlign);
  return f;
}

int TextPointSize(ViewKind view, int size, int detailWidth, int allWidth) {
  return view == kAllView ? AllViewFontSize(size, detailWidth, allWidth) : size;
}

KeyPlan PlanKey(const Lines& lines, qsizetype key, const GroupHeader& g, const StripPlan& plan) {
  KeyPlan k;
  k.blockLine = key;
  const MmRect outline = ReadMmRect(lines, key + kKeyX, g);
  const MmRect label = ReadMmRect(lines, key + kLabelX, g);
  k.label = ReadLabelFormat(lines, key);
  const QByteArray& number = LineAt(lines, key + kKeyNumber);
  k.keyNumber = KeyNumberValue(number);
  k.shownNumber = KeyNumberShown(number);
  k.editable = k.keyNumber > 0;
  k.hasPanel = !number.trimmed().isEmpty();
  k.labelVisible = k.shownNumber > 0 && g.showNumbers;
  const MmRect text = ReadMmRect(lines, key + kTextX, g);
  // The face is drawn from these lines at once; a damaged one stops here,
  // before anything is built or written.
  const int textSize = ReadKeyTextFormat(lines, key).pointSize;

  const int detailWidth = plan.view[kDetailView].size.width();
  const int allWidth = plan.view[kAllView].size.width();
  for (int v = 0; v < kViewCount; ++v) {
    const ViewCanvas& c = plan.view[v];
    KeyView& kv = k.view[v];
    kv.outline = ScaledOutline(c, outline);
    kv.label = ScaledRect(c, label);
    kv.frame = FrameRect(c, text);
    kv.panel = ScaledRect(c, text);
    kv.labelPointSize = k.label.pointSize;
    kv.textPointSize = TextPointSize(static_cast<ViewKind>(v), textSize, detailWidth, allWidth);
    if (v == kAllView) kv.labelPointSize = AllViewFontSize(k.label.pointSize, detailWidth, allWidth);
  }
  return k;
}

}  // namespace

QString LayoutErrorText(const DocumentError& error) {
  return QStringLiteral("示名条データに誤りがあります（%1行目：%2）。")
      .arg(error.Line() + 1)
      .arg(error.Expected());
}

QRect PixelRect(const DecimalRect& r) {
  const int left = ToPixel(r.left);
  const int top = ToPixel(r.top);
  return QRect(left, top, ToPixel(r.right) - left, ToPixel(r.bottom) - top);
}

SheetFormat SheetFormatFor(const QByteArray& seriesName, const QByteArray& stripType) {
  // The sheet in millimetres comes from the document's table; the canvases
  // of each sheet are the view's own.
  const StripSheet sheet = StripSheetFor(seriesName, stripType);
  switch (sheet.kind) {
    case SheetKind::kPortrait:
      return Format(sheet, 650.5, 793.4, 688, 626);
    case SheetKind::kStandardKa:
      return Format(sheet, 650.5, 793.4, 513.3, 626);
    case SheetKind::kLandscapeKa:
      return Format(sheet, 800, 485.5, 800, 485.5);
    case SheetKind::kLarge:
      break;
  }
  return Format(sheet, 800, 971, 688, 626);
}

int AllViewFontSize(int size, int detailWidth, int allWidth) {
  if (detailWidth == 0) return size;
  // 64-bit so that an absurd size from a damaged file cannot overflow.
  const int64_t scaled = (static_cast<int64_t>(size) - 3) * allWidth / detailWidth + 3;
  return static_cast<int>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

StripPlan PlanStrip(const Lines& lines, qsizetype stripStart) {
  StripPlan plan;
  plan.stripStart = stripStart;
  const int groupCount = ReadCount(lines, stripStart + kGroupCount);
  if (groupCount > kMaxGroups) {
    plan.tooMany = true;
    return plan;
  }
  const QByteArray& series = LineAt(lines, stripStart + kSeriesName);
  plan.sheet = SheetFormatFor(series, LineAt(lines, stripStart + kStripType));
  plan.roundedCorners = HasRoundedKeyCorners(series);
  plan.view[kDetailView] = CanvasOf(plan.sheet, kDetailView);
  plan.view[kAllView] = CanvasOf(plan.sheet, kAllView);

  qsizetype line = stripStart + kFirstGroup;
  for (int g = 0; g < groupCount; ++g) {
    const GroupHeader header = ReadGroupHeader(lines, line);
    if (plan.keys.size() + header.keyCount > static_cast<size_t>(kMaxKeys)) {
      plan.tooMany = true;
      return plan;
    }
    plan.groups.push_back(PlanGroup(header, line, plan));
    line += kGroupHeaderLines;
    for (int i = 0; i < header.keyCount; ++i) {
      KeyPlan key = PlanKey(lines, line, header, plan);
      key.index = static_cast<int>(plan.keys.size());
      key.group = g;
      plan.keys.push_back(std::move(key));
      line += KeyBlockLength(lines, line);
    }
  }
  return plan;
}

QString StripCaption(const Lines& lines, qsizetype stripStart) {
  return QStringLiteral("内線：") + sjis::Decode(LineAt(lines, stripStart + kExtension)) +
         QStringLiteral(" 電話機のタイプ：") + sjis::Decode(LineAt(lines, stripStart + kStripType)) +
         QStringLiteral(" 使用者名：") + sjis::Decode(LineAt(lines, stripStart + kUserName));
}

int AllViewGroupAt(const StripPlan& plan, QPoint point) {
  const Decimal4 x = Decimal4::FromInt(point.x());
  const Decimal4 y = Decimal4::FromInt(point.y());
  const size_t entries = std::min<size_t>(plan.groups.size(), kMaxGroups);
  for (size_t g = 0; g < entries; ++g) {
    const DecimalRect& r = plan.groups[g].rect[kAllView];
    if (r.left == Decimal4() && r.right == Decimal4()) break;  // end of the table
    if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom) return static_cast<int>(g);
  }
  return -1;
}

int AllViewKeyAt(const StripPlan& plan, const Lines& lines, QPoint point) {
  const int group = AllViewGroupAt(plan, point);
  if (group < 0) return -1;
  const int key = GroupFirstKey(lines, plan.stripStart, group);
  return key < static_cast<int>(plan.keys.size()) ? key : -1;
}

void SetKeyTextPointSize(StripPlan& plan, int k, int size) {
  if (k < 0 || k >= static_cast<int>(plan.keys.size())) return;
  const int detailWidth = plan.view[kDetailView].size.width();
  const int allWidth = plan.view[kAllView].size.width();
  for (int v = 0; v < kViewCount; ++v) {
    plan.keys[k].view[v].textPointSize = TextPointSize(static_cast<ViewKind>(v), size, detailWidth, allWidth);
  }
}
