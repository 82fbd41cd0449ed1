#include "designer/TemplateEdits.h"

#include <QRegularExpression>
#include <algorithm>
#include <set>

#include "base/Numbers.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripLayout.h"

namespace {

Decimal4 D(double value) { return Decimal4::FromDouble(value); }

// Sets a number only when its value changes, so an unchanged number keeps its bytes.
template <typename T>
void Set(TemplateNumber<T>& number, T value) {
  if (number.value() != value) number = value;
}

void MoveBox(TemplateBox& box, Decimal4 dx, Decimal4 dy) {
  Set(box.x, box.x.value() + dx);
  Set(box.y, box.y.value() + dy);
}

void MoveKey(TemplateKey& key, Decimal4 dx, Decimal4 dy) {
  MoveBox(key.outline, dx, dy);
  MoveBox(key.label, dx, dy);
  MoveBox(key.textArea, dx, dy);
}

QRectF RectOf(const TemplateBox& box, Decimal4 dx = Decimal4(), Decimal4 dy = Decimal4()) {
  return QRectF((box.x.value() + dx).ToDouble(), (box.y.value() + dy).ToDouble(), box.width.value().ToDouble(),
                box.height.value().ToDouble());
}

// An item's box on the sheet in Decimal4 (a group's box, a key's outline).
TemplateBox SheetBox(const StripTemplate& model, ItemRef item) {
  const TemplateGroup& group = model.groups[item.group];
  if (item.IsGroup()) return group.box;
  return group.keys[item.key].outline.MovedBy(group.box.x, group.box.y);
}

bool GroupSelected(const Selection& items, int group) { return items.contains(ItemRef{group, -1}); }

// The selection without keys whose group is selected too: what moves.
Selection Movable(const Selection& items) {
  Selection movable;
  for (const ItemRef& item : items) {
    if ((item.IsGroup() || !GroupSelected(items, item.group)) && !movable.contains(item)) movable << item;
  }
  return movable;
}

void MoveItem(StripTemplate& model, ItemRef item, Decimal4 dx, Decimal4 dy) {
  if (dx == Decimal4() && dy == Decimal4()) return;
  TemplateGroup& group = model.groups[item.group];
  if (item.IsGroup()) MoveBox(group.box, dx, dy);
  else MoveKey(group.keys[item.key], dx, dy);
}

// The editable keys of a selection (with the keys of selected groups), in document order.
QList<ItemRef> SelectedKeys(const StripTemplate& model, const Selection& items) {
  QList<ItemRef> keys;
  for (int g = 0; g < model.groups.size(); ++g) {
    for (int k = 0; k < model.groups[g].keys.size(); ++k) {
      if (GroupSelected(items, g) || items.contains(ItemRef{g, k})) keys << ItemRef{g, k};
    }
  }
  return keys;
}

QByteArray NumberField(int number, const QByteArray& rest) {
  return QByteArray::number(number).rightJustified(3, '0') + rest;
}

TemplateBox* BoxOfField(TemplateKey& key, Field field) {
  switch (field) {
    case Field::kOutlineX: case Field::kOutlineY: case Field::kOutlineWidth: case Field::kOutlineHeight:
      return &key.outline;
    case Field::kLabelX: case Field::kLabelY: case Field::kLabelWidth: case Field::kLabelHeight:
      return &key.label;
    case Field::kTextX: case Field::kTextY: case Field::kTextWidth: case Field::kTextHeight:
      return &key.textArea;
    default:
      return nullptr;
  }
}

// Which of x, y, width, height (0-3) an mm field is.
int PartOf(Field field) {
  switch (field) {
    case Field::kGroupX: case Field::kOutlineX: case Field::kLabelX: case Field::kTextX: return 0;
    case Field::kGroupY: case Field::kOutlineY: case Field::kLabelY: case Field::kTextY: return 1;
    case Field::kGroupWidth: case Field::kOutlineWidth: case Field::kLabelWidth: case Field::kTextWidth: return 2;
    default: return 3;
  }
}

TemplateMm& PartRef(TemplateBox& box, int part) {
  switch (part) {
    case 0: return box.x;
    case 1: return box.y;
    case 2: return box.width;
    default: return box.height;
  }
}

const TemplateBox* BoxOf(const StripTemplate& model, ItemRef item, Field field) {
  if (IsGroupField(field)) return item.IsGroup() ? &model.groups[item.group].box : nullptr;
  if (item.IsGroup()) return nullptr;
  return BoxOfField(const_cast<TemplateKey&>(model.groups[item.group].keys[item.key]), field);
}

struct IntRange {
  int low, high;
  const char* what;
};

std::optional<IntRange> RangeOf(Field field) {
  switch (field) {
    case Field::kLabelSize: return IntRange{1, 99, "文字サイズ"};
    case Field::kFixedSize: return IntRange{1, 99, "文字サイズ"};
    case Field::kKeyNumber: return IntRange{1, 999, "キー番号"};
    case Field::kLabelColor: return IntRange{0, 0xFFFFFF, "色"};
    case Field::kLabelAlign: return IntRange{1, 3, "配置"};
    default: return std::nullopt;
  }
}

const QRegularExpression& MmPattern() {
  static const QRegularExpression pattern(QStringLiteral("^-?[0-9]{1,5}(\\.[0-9]{0,4})?$"));
  return pattern;
}

}  // namespace

StripSheet SheetOfTemplate(const StripTemplate& model, const QString& stripType) {
  const QList<int> served = model.SeriesServed();
  const QByteArray series = served.isEmpty() ? QByteArray() : sjis::Encode(SeriesName(served.first()));
  return StripSheetFor(series, sjis::Encode(stripType));
}

QString SheetNote(const StripTemplate& model, const QString& stripType) {
  const StripSheet sheet = SheetOfTemplate(model, stripType);
  const QString size = QStringLiteral("%1 × %2 mm").arg(QString::fromLatin1(sheet.width.ToText()),
                                                        QString::fromLatin1(sheet.height.ToText()));
  switch (sheet.kind) {
    case SheetKind::kStandardKa:
      return QStringLiteral("Ｋａシリーズ: 名前に「標準Ｋａ」があるので縦の用紙（%1）").arg(size);
    case SheetKind::kLandscapeKa:
      return QStringLiteral("Ｋａシリーズ: 名前に「標準Ｋａ」がないので横の用紙（%1）").arg(size);
    default:
      if (model.SeriesServed().isEmpty()) return QStringLiteral("シリーズが選ばれていません（%1）").arg(size);
      return QStringLiteral("用紙 %1（%2）").arg(sheet.paperName, size);
  }
}

QRectF SheetRectOf(const StripTemplate& model, ItemRef item) { return RectOf(SheetBox(model, item)); }

QRectF SheetLabelRectOf(const StripTemplate& model, ItemRef item) {
  const TemplateGroup& group = model.groups[item.group];
  return RectOf(group.keys[item.key].label, group.box.x, group.box.y);
}

QRectF SheetTextRectOf(const StripTemplate& model, ItemRef item) {
  const TemplateGroup& group = model.groups[item.group];
  return RectOf(group.keys[item.key].textArea, group.box.x, group.box.y);
}

int KeyIndexOf(const StripTemplate& model, ItemRef item) {
  if (!IsValidItem(model, item) || item.IsGroup()) return -1;
  int index = item.key;
  for (int g = 0; g < item.group; ++g) index += static_cast<int>(model.groups[g].keys.size());
  return index;
}

ItemRef ItemOfKey(const StripTemplate& model, int keyIndex) {
  for (int g = 0; g < model.groups.size(); ++g) {
    const int count = static_cast<int>(model.groups[g].keys.size());
    if (keyIndex < count) return ItemRef{g, keyIndex};
    keyIndex -= count;
  }
  return ItemRef{-1, -1};
}

bool IsValidItem(const StripTemplate& model, ItemRef item) {
  if (item.group < 0 || item.group >= model.groups.size()) return false;
  return item.key < model.groups[item.group].keys.size();
}

Selection AllItems(const StripTemplate& model) {
  Selection items;
  for (int g = 0; g < model.groups.size(); ++g) {
    items << ItemRef{g, -1};
    for (int k = 0; k < model.groups[g].keys.size(); ++k) items << ItemRef{g, k};
  }
  return items;
}

ItemRef ItemAt(const StripTemplate& model, QPointF mm) {
  const Selection items = AllItems(model);
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    if (!it->IsGroup() && SheetRectOf(model, *it).contains(mm)) return *it;
  }
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    if (it->IsGroup() && SheetRectOf(model, *it).contains(mm)) return *it;
  }
  return ItemRef{-1, -1};
}

Selection ItemsInside(const StripTemplate& model, const QRectF& mm) {
  Selection inside;
  for (const ItemRef& item : AllItems(model)) {
    if (mm.contains(SheetRectOf(model, item))) inside << item;
  }
  return inside;
}

void MoveItems(StripTemplate& model, const Selection& items, Decimal4 dx, Decimal4 dy) {
  for (const ItemRef& item : Movable(items)) {
    if (IsValidItem(model, item)) MoveItem(model, item, dx, dy);
  }
}

Decimal4 SnapToGrid(double raw, Decimal4 grid) {
  if (grid < Decimal4::FromRaw(1)) return D(raw);
  const double steps = std::round(raw / grid.ToDouble());
  return Decimal4::FromInt(static_cast<int64_t>(steps)) * grid;
}

void ResizeItem(StripTemplate& model, ItemRef item, Handle handle, Decimal4 dx, Decimal4 dy, Decimal4 minimum) {
  if (!IsValidItem(model, item) || handle == Handle::kNone) return;
  TemplateGroup& group = model.groups[item.group];
  TemplateBox& box = item.IsGroup() ? group.box : group.keys[item.key].outline;
  const bool left = handle == Handle::kTopLeft || handle == Handle::kBottomLeft;
  const bool top = handle == Handle::kTopLeft || handle == Handle::kTopRight;
  Decimal4 width = box.width.value() + (left ? -dx : dx);
  Decimal4 height = box.height.value() + (top ? -dy : dy);
  width = std::max(width, minimum);
  height = std::max(height, minimum);
  if (left) Set(box.x, box.x.value() + box.width.value() - width);
  if (top) Set(box.y, box.y.value() + box.height.value() - height);
  Set(box.width, width);
  Set(box.height, height);
}

bool IsGroupField(Field field) {
  return field == Field::kShowNumbers || field == Field::kGroupX || field == Field::kGroupY ||
         field == Field::kGroupWidth || field == Field::kGroupHeight;
}

bool IsMmField(Field field) {
  switch (field) {
    case Field::kGroupX: case Field::kGroupY: case Field::kGroupWidth: case Field::kGroupHeight:
    case Field::kOutlineX: case Field::kOutlineY: case Field::kOutlineWidth: case Field::kOutlineHeight:
    case Field::kLabelX: case Field::kLabelY: case Field::kLabelWidth: case Field::kLabelHeight:
    case Field::kTextX: case Field::kTextY: case Field::kTextWidth: case Field::kTextHeight:
      return true;
    default:
      return false;
  }
}

bool IsSizeField(Field field) { return IsMmField(field) && PartOf(field) >= 2; }

QVariant FieldValue(const StripTemplate& model, ItemRef item, Field field) {
  if (!IsValidItem(model, item) || IsGroupField(field) != item.IsGroup()) return {};
  if (field == Field::kShowNumbers) return model.groups[item.group].showNumbers.value() != 0;
  if (IsMmField(field)) {
    const TemplateBox* box = BoxOf(model, item, field);
    return QString::fromLatin1(PartRef(const_cast<TemplateBox&>(*box), PartOf(field)).value().ToText());
  }
  const TemplateKey& key = model.groups[item.group].keys[item.key];
  switch (field) {
    case Field::kLabelFont: return sjis::Decode(key.labelFont);
    case Field::kLabelSize: return key.labelSize.value();
    case Field::kLabelColor: return key.labelColor.value();
    case Field::kLabelBold: return key.labelBold.value() != 0;
    case Field::kLabelItalic: return key.labelItalic.value() != 0;
    case Field::kLabelAlign: return key.labelAlign.value();
    case Field::kKeyNumber: return key.IsEditable() ? QVariant(key.ShownNumber()) : QVariant();
    case Field::kFixedText: return key.IsEditable() ? QVariant() : QVariant(sjis::Decode(key.FixedText()));
    case Field::kFixedSize: return key.IsEditable() ? QVariant() : QVariant(key.FixedTextSize());
    default: return {};
  }
}

QVariant CommonFieldValue(const StripTemplate& model, const Selection& items, Field field) {
  QVariant common;
  for (const ItemRef& item : items) {
    const QVariant value = FieldValue(model, item, field);
    if (!value.isValid()) continue;
    if (!common.isValid()) common = value;
    else if (common != value) return {};
  }
  return common;
}

QString FieldProblem(Field field, const QString& text, const StripTemplate& model, const Selection& items,
                     const StripSheet& sheet) {
  const QString trimmed = text.trimmed();
  if (field == Field::kFixedText || field == Field::kLabelFont) {
    const std::optional<QByteArray> bytes = sjis::EncodeExactly(trimmed);
    if (!bytes) return QStringLiteral("Shift_JISにない文字は使えません。");
    if (field == Field::kFixedText && bytes->size() > 20) return QStringLiteral("固定キーの文字は20バイトまでです。");
    if (field == Field::kLabelFont && bytes->isEmpty()) return QStringLiteral("フォント名を入力してください。");
    return {};
  }
  if (const std::optional<IntRange> range = RangeOf(field)) {
    const std::optional<int> value = ParseInt(trimmed.toLatin1());
    if (trimmed.isEmpty() || !value || trimmed.contains(QLatin1Char('.'))) {
      return QStringLiteral("%1には整数を入力してください。").arg(QString::fromUtf8(range->what));
    }
    if (*value < range->low || *value > range->high) {
      return QStringLiteral("%1は%2から%3までです。").arg(QString::fromUtf8(range->what)).arg(range->low).arg(range->high);
    }
    return {};
  }
  if (!IsMmField(field)) return {};
  if (!MmPattern().match(trimmed).hasMatch()) {
    return QStringLiteral("mm単位の数値（小数は4桁まで）を入力してください。");
  }
  const Decimal4 value = *Decimal4::FromText(trimmed.toLatin1());
  const int part = PartOf(field);
  const bool across = part == 0 || part == 2;
  const Decimal4 limit = across ? sheet.width : sheet.height;
  const QString limitText = QString::fromLatin1(limit.ToText());
  if (part >= 2) {
    if (value <= Decimal4()) return QStringLiteral("幅と高さは0より大きくしてください。");
    if (value > limit) return QStringLiteral("用紙（%1 mm）より大きくはできません。").arg(limitText);
    return {};
  }
  for (const ItemRef& item : items) {
    if (!IsValidItem(model, item) || IsGroupField(field) != item.IsGroup()) continue;
    const TemplateBox& group = model.groups[item.group].box;
    const Decimal4 onSheet = value + (item.IsGroup() ? Decimal4() : (across ? group.x.value() : group.y.value()));
    if (onSheet < Decimal4() || onSheet > limit) {
      return QStringLiteral("用紙の外（0～%1 mm の外）になります。").arg(limitText);
    }
  }
  return {};
}

void SetField(StripTemplate& model, const Selection& items, Field field, const QVariant& value) {
  for (const ItemRef& item : items) {
    if (!FieldValue(model, item, field).isValid() && field != Field::kKeyNumber && field != Field::kFixedText) continue;
    if (!IsValidItem(model, item) || IsGroupField(field) != item.IsGroup()) continue;
    TemplateGroup& group = model.groups[item.group];
    if (field == Field::kShowNumbers) {
      const bool on = value.toBool();
      if ((group.showNumbers.value() != 0) != on) group.showNumbers = on ? 1 : 0;
      continue;
    }
    if (IsMmField(field)) {
      TemplateBox* box = item.IsGroup() ? &group.box : BoxOfField(group.keys[item.key], field);
      Set(PartRef(*box, PartOf(field)), Decimal4::FromText(value.toString().trimmed().toLatin1()).value_or(Decimal4()));
      continue;
    }
    TemplateKey& key = group.keys[item.key];
    switch (field) {
      case Field::kLabelFont: {
        const QByteArray font = sjis::Encode(value.toString().trimmed());
        if (key.labelFont != font) key.labelFont = font;
        break;
      }
      case Field::kLabelSize: Set(key.labelSize, value.toInt()); break;
      case Field::kLabelColor: Set(key.labelColor, value.toInt()); break;
      case Field::kLabelBold: if ((key.labelBold.value() != 0) != value.toBool()) key.labelBold = value.toBool() ? 1 : 0; break;
      case Field::kLabelItalic: if ((key.labelItalic.value() != 0) != value.toBool()) key.labelItalic = value.toBool() ? 1 : 0; break;
      case Field::kLabelAlign: Set(key.labelAlign, value.toInt()); break;
      case Field::kKeyNumber: {
        const int number = value.toInt();
        if (key.IsEditable() && key.ShownNumber() == number) break;
        key.keyNumber = NumberField(number, key.IsEditable() ? key.keyNumber.mid(3) : QByteArray());
        break;
      }
      case Field::kFixedText: {
        const QByteArray text = sjis::Encode(value.toString().trimmed());
        if (!key.IsEditable() && key.FixedText() == text) break;
        const int size = key.IsEditable() ? 9 : key.FixedTextSize();
        key.keyNumber = TemplateKey::FixedKeyField(key.ShownNumber(), size, text);
        break;
      }
      case Field::kFixedSize:
        if (key.FixedTextSize() != value.toInt()) {
          key.keyNumber = TemplateKey::FixedKeyField(key.ShownNumber(), value.toInt(), key.FixedText());
        }
        break;
      default: break;
    }
  }
}

ItemRef AddGroup(StripTemplate& model, Decimal4 x, Decimal4 y) {
  TemplateGroup group;
  group.showNumbers = 1;
  group.box.x = x;
  group.box.y = y;
  group.box.width = Decimal4::FromInt(50);
  group.box.height = Decimal4::FromInt(30);
  model.groups.append(group);
  return ItemRef{static_cast<int>(model.groups.size()) - 1, -1};
}

Selection AddGrid(StripTemplate& model, const GridDescription& description) {
  GridDescription grid = description;
  if (!grid.groups.isEmpty() && !grid.groups[0].y && !model.groups.isEmpty()) {
    Decimal4 bottom;
    for (const TemplateGroup& group : model.groups) bottom = std::max(bottom, group.box.Bottom());
    grid.groups[0].y = bottom + D(kGroupGap);
  }
  const StripTemplate made = TemplateOfGrid(grid);
  Selection added;
  for (const TemplateGroup& group : made.groups) {
    model.groups.append(group);
    added << ItemRef{static_cast<int>(model.groups.size()) - 1, -1};
  }
  return added;
}

Selection DuplicateItems(StripTemplate& model, const Selection& items, Decimal4 offset) {
  Selection copies;
  for (const ItemRef& item : Movable(items)) {
    if (!IsValidItem(model, item)) continue;
    if (item.IsGroup()) {
      TemplateGroup group = model.groups[item.group];
      MoveBox(group.box, offset, offset);
      model.groups.append(group);
      copies << ItemRef{static_cast<int>(model.groups.size()) - 1, -1};
    } else {
      TemplateKey key = model.groups[item.group].keys[item.key];
      MoveKey(key, offset, offset);
      model.groups[item.group].keys.append(key);
      copies << ItemRef{item.group, static_cast<int>(model.groups[item.group].keys.size()) - 1};
    }
  }
  return copies;
}

void DeleteItems(StripTemplate& model, const Selection& items) {
  Selection sorted = items;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
    if (!IsValidItem(model, *it)) continue;
    if (it->IsGroup()) model.groups.removeAt(it->group);
    else if (!GroupSelected(items, it->group)) model.groups[it->group].keys.removeAt(it->key);
  }
}

void AlignItems(StripTemplate& model, const Selection& items, Align align) {
  const Selection movable = Movable(items);
  if (movable.size() < 2) return;
  const TemplateBox first = SheetBox(model, movable.first());
  const Decimal4 two = Decimal4::FromInt(2);
  for (const ItemRef& item : movable.mid(1)) {
    const TemplateBox box = SheetBox(model, item);
    Decimal4 dx, dy;
    switch (align) {
      case Align::kLeft: dx = first.x.value() - box.x.value(); break;
      case Align::kRight: dx = first.Right() - box.Right(); break;
      case Align::kTop: dy = first.y.value() - box.y.value(); break;
      case Align::kBottom: dy = first.Bottom() - box.Bottom(); break;
      case Align::kCentreX: dx = (first.x.value() + first.Right()) / two - (box.x.value() + box.Right()) / two; break;
      case Align::kCentreY: dy = (first.y.value() + first.Bottom()) / two - (box.y.value() + box.Bottom()) / two; break;
    }
    MoveItem(model, item, dx, dy);
  }
}

void DistributeItems(StripTemplate& model, const Selection& items, bool horizontal) {
  Selection movable = Movable(items);
  if (movable.size() < 3) return;
  auto start = [&](ItemRef item) {
    const TemplateBox box = SheetBox(model, item);
    return horizontal ? box.x.value() : box.y.value();
  };
  auto length = [&](ItemRef item) {
    const TemplateBox box = SheetBox(model, item);
    return horizontal ? box.width.value() : box.height.value();
  };
  std::stable_sort(movable.begin(), movable.end(), [&](ItemRef a, ItemRef b) { return start(a) < start(b); });
  Decimal4 total;
  for (const ItemRef& item : movable) total = total + length(item);
  const Decimal4 span = start(movable.last()) + length(movable.last()) - start(movable.first());
  const Decimal4 gap = (span - total) / Decimal4::FromInt(movable.size() - 1);
  Decimal4 next = start(movable.first()) + length(movable.first()) + gap;
  for (int i = 1; i + 1 < movable.size(); ++i) {
    const Decimal4 shift = next - start(movable[i]);
    MoveItem(model, movable[i], horizontal ? shift : Decimal4(), horizontal ? Decimal4() : shift);
    next = next + length(movable[i]) + gap;
  }
}

void RenumberKeys(StripTemplate& model, const Selection& items, int first) {
  int number = first;
  for (const ItemRef& item : SelectedKeys(model, items)) {
    TemplateKey& key = model.groups[item.group].keys[item.key];
    if (!key.IsEditable()) continue;
    if (number > 999) break;
    if (key.ShownNumber() != number) key.keyNumber = NumberField(number, key.keyNumber.mid(3));
    ++number;
  }
}

QByteArray TitleOf(const QList<int>& series, const QString& freeText) {
  QStringList parts;
  for (int s : series) parts << SeriesName(s);
  if (!freeText.trimmed().isEmpty()) parts << freeText.trimmed();
  return sjis::Encode(parts.join(QLatin1Char(' ')));
}

QString FreeTextOf(const QByteArray& title) {
  QString text = sjis::Decode(title);
  for (int s = 0; s < kSeriesCount; ++s) text.remove(SeriesName(s));
  return text.simplified();
}

StripTemplate NewTemplate() { return StripTemplate{}; }
