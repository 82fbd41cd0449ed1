#include "designer/DesignSheet.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStaticText>
#include <cmath>

#include "base/ColorPair.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/Template.h"
#include "view/KeyText.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"

namespace {

constexpr int kRuler = 24;                   // the rulers' width in pixels
constexpr int kOrigin = kRuler + 10;         // the sheet's corner on the widget
constexpr int kHandle = 7;                   // a resize handle's side in pixels
constexpr double kPointMm = 25.4 / 72;       // a point in millimetres
const QColor kSelectionColor(0, 102, 204);
const QColor kFaultColor(220, 0, 0);

Decimal4 D(double value) { return Decimal4::FromDouble(value); }

QColor Win(int color) { return QColorFromWin(color); }

Qt::Alignment LabelAlignment(int alignment) {
  switch (alignment) {
    case 2: return Qt::AlignHCenter | Qt::AlignTop;
    case 3: return Qt::AlignRight | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;
  }
}

}  // namespace

DesignSheet::DesignSheet(TemplateDesign& design, QWidget* parent) : QWidget(parent), design_(design) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  connect(&design_, &TemplateDesign::ModelChanged, this, [this] {
    preview_.reset();
    UpdateSize();
    update();
  });
  connect(&design_, &TemplateDesign::SelectionChanged, this, qOverload<>(&QWidget::update));
  UpdateSize();
}

void DesignSheet::SetScale(double pixelsPerMm) {
  scale_ = std::clamp(pixelsPerMm, 0.5, 40.0);
  textCache_.clear();
  UpdateSize();
  update();
}

double DesignSheet::TrueSizeScale() const {
  const QScreen* screen = this->screen();
  if (!screen || screen->physicalSize().width() <= 0) return 96 / 25.4;
  return screen->geometry().width() / screen->physicalSize().width();
}

double DesignSheet::FitScale(QSize viewport) const {
  const StripSheet sheet = design_.Sheet();
  const double across = (viewport.width() - kOrigin - 12) / sheet.width.ToDouble();
  const double down = (viewport.height() - kOrigin - 12) / sheet.height.ToDouble();
  return std::max(0.5, std::min(across, down));
}

QPointF DesignSheet::ToMm(QPointF pixel) const { return (pixel - QPointF(kOrigin, kOrigin)) / scale_; }

QPointF DesignSheet::ToPixel(QPointF mm) const { return mm * scale_ + QPointF(kOrigin, kOrigin); }

QRectF DesignSheet::ToPixel(const QRectF& mm) const { return QRectF(ToPixel(mm.topLeft()), ToPixel(mm.bottomRight())); }

QSize DesignSheet::sizeHint() const {
  const StripSheet sheet = design_.Sheet();
  return QSize(kOrigin + static_cast<int>(std::ceil(sheet.width.ToDouble() * scale_)) + 12,
               kOrigin + static_cast<int>(std::ceil(sheet.height.ToDouble() * scale_)) + 12);
}

void DesignSheet::UpdateSize() {
  const QSize size = sizeHint();
  if (size != this->size()) resize(size);
  setMinimumSize(size);
}

void DesignSheet::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  Paint(painter, event->rect());
}

void DesignSheet::Paint(QPainter& painter, const QRect& exposed) const {
  painter.fillRect(exposed, QColor(0xd8, 0xd8, 0xd8));
  const StripSheet sheet = design_.Sheet();
  const StripTemplate& model = Shown();
  const QRectF paper = ToPixel(QRectF(0, 0, sheet.width.ToDouble(), sheet.height.ToDouble()));
  painter.fillRect(paper, Qt::white);
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(paper);
  labelFont_.clear();
  DrawRulers(painter, sheet, exposed);

  painter.save();
  painter.setClipRect(paper.adjusted(-1, -1, 1, 1).intersected(QRectF(exposed)));
  // Only what the exposed part shows is drawn (with room for marks and handles).
  const QRectF visible = QRectF(exposed).adjusted(-kHandle, -kHandle, kHandle, kHandle);
  const QList<int> served = model.SeriesServed();
  const bool rounded = !served.isEmpty() && HasRoundedKeyCorners(sjis::Encode(SeriesName(served.first())));
  const QList<int> faulty = design_.FaultyKeys();
  for (int g = 0; g < model.groups.size(); ++g) {
    if (visible.intersects(ToPixel(SheetRectOf(model, ItemRef{g, -1})))) DrawGroup(painter, model, g);
  }
  int index = 0;
  for (int g = 0; g < model.groups.size(); ++g) {
    for (int k = 0; k < model.groups[g].keys.size(); ++k, ++index) {
      const ItemRef key{g, k};
      if (visible.intersects(ToPixel(SheetRectOf(model, key)))) DrawKey(painter, model, key, rounded, faulty.contains(index));
    }
  }
  DrawSelection(painter, model);
  painter.restore();
  if (drag_ == Drag::kBand) {
    painter.setPen(QPen(kSelectionColor, 1, Qt::DashLine));
    painter.setBrush(QColor(0, 102, 204, 40));
    painter.drawRect(band_);
  }
}

void DesignSheet::DrawRulers(QPainter& painter, const StripSheet& sheet, const QRect& exposed) const {
  painter.save();
  painter.fillRect(QRect(0, 0, width(), kRuler), QColor(0xf4, 0xf4, 0xf0));
  painter.fillRect(QRect(0, 0, kRuler, height()), QColor(0xf4, 0xf4, 0xf0));
  painter.setPen(QPen(Qt::black, 0));
  QFont font = painter.font();
  font.setPixelSize(9);
  painter.setFont(font);
  const int step = scale_ >= 3 ? 1 : scale_ >= 1 ? 5 : 10;
  const int across = sheet.width.ToInt();
  const int down = sheet.height.ToInt();
  for (int mm = 0; mm <= std::max(across, down); mm += step) {
    const double length = mm % 10 == 0 ? 10 : mm % 5 == 0 ? 6 : 3;
    const double x = ToPixel(QPointF(mm, 0)).x();
    const double y = ToPixel(QPointF(0, mm)).y();
    if (mm <= across && x >= exposed.left() - 30 && x <= exposed.right() + 1) {
      painter.drawLine(QPointF(x, kRuler), QPointF(x, kRuler - length));
      if (mm % 10 == 0 && (scale_ >= 2 || mm % 50 == 0)) painter.drawText(QPointF(x + 2, 10), QString::number(mm));
    }
    if (mm <= down && y >= exposed.top() - 15 && y <= exposed.bottom() + 1) {
      painter.drawLine(QPointF(kRuler, y), QPointF(kRuler - length, y));
      if (mm % 10 == 0 && (scale_ >= 2 || mm % 50 == 0)) {
        painter.drawText(QRectF(0, y + 1, kRuler - 3, 12), Qt::AlignRight | Qt::AlignTop, QString::number(mm));
      }
    }
  }
  painter.drawLine(QPointF(kRuler, kRuler), QPointF(width(), kRuler));
  painter.drawLine(QPointF(kRuler, kRuler), QPointF(kRuler, height()));
  painter.restore();
}

void DesignSheet::DrawGroup(QPainter& painter, const StripTemplate& model, int group) const {
  const QRectF rect = ToPixel(SheetRectOf(model, ItemRef{group, -1}));
  painter.fillRect(rect, QColor(Win(kGroupColor).lighter(112)));
  painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect);
}

void DesignSheet::DrawKey(QPainter& painter, const StripTemplate& model, ItemRef item, bool rounded,
                          bool faulty) const {
  const TemplateGroup& group = model.groups[item.group];
  const TemplateKey& key = group.keys[item.key];
  const QRectF outline = ToPixel(SheetRectOf(model, item));
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Win(kKeyOutlineColor));
  if (rounded) {
    // The view's corner ellipse is 25 x 20 pixels of the detail view, about
    // 4.5 x 3.6 mm; like the view, without antialiasing.
    painter.drawRoundedRect(outline, 2.25 * scale_, 1.8 * scale_);
  } else {
    painter.drawRect(outline);
  }
  if (group.showNumbers.value() != 0 && key.ShownNumber() > 0) {
    const QRectF label = ToPixel(SheetLabelRectOf(model, item));
    const int pixels = std::max(1, static_cast<int>(std::lround(key.labelSize.value() * kPointMm * scale_)));
    const QFont& current = painter.font();
    if (current.pixelSize() != pixels || current.bold() != (key.labelBold.value() != 0) ||
        current.italic() != (key.labelItalic.value() != 0) || labelFont_ != key.labelFont) {
      QFont font(sjis::Decode(key.labelFont));
      font.setPixelSize(pixels);
      font.setBold(key.labelBold.value() != 0);
      font.setItalic(key.labelItalic.value() != 0);
      painter.setFont(font);
      labelFont_ = key.labelFont;
    }
    painter.setPen(Win(key.labelColor.value()));
    DrawLabelNumber(painter, label, key.labelAlign.value(), key.ShownNumber());
  }
  if (key.HasTextArea()) {
    const QRectF area = ToPixel(SheetTextRectOf(model, item));
    if (key.IsEditable()) {
      painter.setPen(QPen(Qt::black, 0));
      painter.setBrush(Qt::white);
      painter.drawRect(area);
    } else {
      DrawFixedText(painter, key, area);
    }
  }
  if (faulty) {
    painter.setPen(QPen(kFaultColor, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline.adjusted(-2, -2, 2, 2));
  }
}

void DesignSheet::DrawLabelNumber(QPainter& painter, const QRectF& label, int alignment, int number) const {
  // Laid out once per number and font: a drag repaints a hundred labels a frame.
  const QFont& font = painter.font();
  const QString cacheKey = QStringLiteral("%1|%2|%3").arg(number).arg(font.key()).arg(painter.device()->devicePixelRatioF());
  auto it = labelTexts_.find(cacheKey);
  if (it == labelTexts_.end()) {
    if (labelTexts_.size() > 2000) labelTexts_.clear();
    QStaticText text(QString::number(number));
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), font);
    it = labelTexts_.insert(cacheKey, text);
  }
  const QSizeF size = it->size();
  const Qt::Alignment align = LabelAlignment(alignment);
  double x = label.left();
  if (align & Qt::AlignHCenter) x = label.center().x() - size.width() / 2;
  else if (align & Qt::AlignRight) x = label.right() - size.width();
  painter.save();
  painter.setClipRect(label, Qt::IntersectClip);
  painter.drawStaticText(QPointF(x, label.top()), *it);
  painter.restore();
}

void DesignSheet::DrawFixedText(QPainter& painter, const TemplateKey& key, const QRectF& area) const {
  const QSize size = area.size().toSize();
  if (size.width() <= 0 || size.height() <= 0 || size.width() > 4000 || size.height() > 4000) return;
  const qreal ratio = devicePixelRatioF();
  const QString cacheKey = QStringLiteral("%1|%2x%3|%4|%5")
                               .arg(QString::fromLatin1(key.keyNumber.toHex()))
                               .arg(size.width())
                               .arg(size.height())
                               .arg(scale_)
                               .arg(ratio);
  QImage image = textCache_.value(cacheKey);
  if (image.isNull()) {
    image = QImage((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    // The text is sized as on paper: a point is 1/72 inch at this scale.
    const int dotsPerMeter = static_cast<int>(std::lround(scale_ * 1000));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    Lines block = key.ToLines();
    block << KeyStartLines(key.keyNumber);
    try {
      const KeyTextFormat format = ReadKeyTextFormat(block, 0);
      QPainter face(&image);
      DrawKeyText(face, Decimal4(), Decimal4(), Decimal4::FromInt(size.width()), Decimal4::FromInt(size.height()),
                  format, format.pointSize);
    } catch (const DocumentError&) {
    }
    if (textCache_.size() > 400) textCache_.clear();
    textCache_.insert(cacheKey, image);
  }
  painter.drawImage(area.topLeft(), image);
  painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
}

void DesignSheet::DrawSelection(QPainter& painter, const StripTemplate& model) const {
  const Selection& selected = design_.Selected();
  painter.setBrush(Qt::NoBrush);
  for (const ItemRef& item : selected) {
    if (!IsValidItem(model, item)) continue;
    painter.setPen(QPen(kSelectionColor, 2));
    painter.drawRect(ToPixel(SheetRectOf(model, item)).adjusted(-1, -1, 1, 1));
  }
  if (selected.size() == 1 && IsValidItem(model, selected.first())) {
    const QRectF rect = ToPixel(SheetRectOf(model, selected.first()));
    painter.setPen(QPen(kSelectionColor, 1));
    painter.setBrush(Qt::white);
    for (QPointF corner : {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
      painter.drawRect(HandleRect(corner));
    }
  }
}

QRectF DesignSheet::HandleRect(QPointF corner) const {
  return QRectF(corner - QPointF(kHandle / 2.0, kHandle / 2.0), QSizeF(kHandle, kHandle));
}

Handle DesignSheet::HandleAt(QPointF pixel) const {
  const Selection& selected = design_.Selected();
  if (selected.size() != 1 || !IsValidItem(design_.Model(), selected.first())) return Handle::kNone;
  const QRectF rect = ToPixel(SheetRectOf(design_.Model(), selected.first()));
  const std::pair<QPointF, Handle> corners[] = {{rect.topLeft(), Handle::kTopLeft},
                                                {rect.topRight(), Handle::kTopRight},
                                                {rect.bottomLeft(), Handle::kBottomLeft},
                                                {rect.bottomRight(), Handle::kBottomRight}};
  for (const auto& [corner, handle] : corners) {
    if (HandleRect(corner).adjusted(-2, -2, 2, 2).contains(pixel)) return handle;
  }
  return Handle::kNone;
}

void DesignSheet::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus();
  pressPixel_ = event->position().toPoint();
  pressMm_ = ToMm(event->position());
  handle_ = HandleAt(event->position());
  if (handle_ != Handle::kNone) {
    drag_ = Drag::kResize;
    return;
  }
  const ItemRef item = ItemAt(design_.Model(), pressMm_);
  const bool adding = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
  // Empty paper, or a group not yet selected, starts a band (a group is
  // mostly covered by its keys); a click there without moving selects the group.
  bandItem_ = item;
  if (item.group < 0 || (item.IsGroup() && !adding && !design_.Selected().contains(item))) {
    if (!adding) design_.Select({});
    drag_ = Drag::kBand;
    band_ = QRectF(event->position(), QSizeF());
    return;
  }
  Selection selection = design_.Selected();
  if (adding) {
    if (selection.contains(item)) selection.removeAll(item);
    else selection << item;
    design_.Select(selection);
    drag_ = Drag::kNone;
    return;
  }
  if (!selection.contains(item)) design_.Select({item});
  drag_ = Drag::kMove;
}

void DesignSheet::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ == Drag::kNone) {
    const Handle handle = HandleAt(event->position());
    setCursor(handle == Handle::kTopLeft || handle == Handle::kBottomRight ? Qt::SizeFDiagCursor
              : handle != Handle::kNone                                    ? Qt::SizeBDiagCursor
                                                                           : Qt::ArrowCursor);
    return;
  }
  const QPointF mm = ToMm(event->position());
  const Decimal4 dx = SnapToGrid(mm.x() - pressMm_.x(), grid_);
  const Decimal4 dy = SnapToGrid(mm.y() - pressMm_.y(), grid_);
  if (drag_ == Drag::kBand) {
    band_ = QRectF(pressPixel_, event->position()).normalized();
  } else {
    StripTemplate moved = design_.Model();
    if (drag_ == Drag::kMove) MoveItems(moved, design_.Selected(), dx, dy);
    else ResizeItem(moved, design_.Selected().value(0), handle_, dx, dy, grid_ > Decimal4() ? grid_ : D(0.1));
    preview_ = std::move(moved);
  }
  update();
}

void DesignSheet::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || drag_ == Drag::kNone) return;
  const Drag drag = std::exchange(drag_, Drag::kNone);
  const QPointF mm = ToMm(event->position());
  const Decimal4 dx = SnapToGrid(mm.x() - pressMm_.x(), grid_);
  const Decimal4 dy = SnapToGrid(mm.y() - pressMm_.y(), grid_);
  preview_.reset();
  if (drag == Drag::kBand && band_.width() < 3 && band_.height() < 3) {
    if (bandItem_.group >= 0) design_.Select({bandItem_});
  } else if (drag == Drag::kBand) {
    Selection selection = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier) ? design_.Selected() : Selection{};
    for (const ItemRef& item : ItemsInside(design_.Model(), QRectF(ToMm(band_.topLeft()), ToMm(band_.bottomRight())))) {
      if (!selection.contains(item)) selection << item;
    }
    design_.Select(selection);
  } else if (drag == Drag::kMove) {
    const Selection selected = design_.Selected();
    design_.Edit(QStringLiteral("移動"), [&](StripTemplate& t) { MoveItems(t, selected, dx, dy); });
  } else if (drag == Drag::kResize) {
    const ItemRef item = design_.Selected().value(0);
    const Handle handle = handle_;
    const Decimal4 minimum = grid_ > Decimal4() ? grid_ : D(0.1);
    design_.Edit(QStringLiteral("サイズ変更"), [&](StripTemplate& t) { ResizeItem(t, item, handle, dx, dy, minimum); });
  }
  update();
}

void DesignSheet::keyPressEvent(QKeyEvent* event) {
  const Decimal4 step = D(event->modifiers() & Qt::ShiftModifier ? 1 : 0.1);
  Decimal4 dx, dy;
  switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    case Qt::Key_Escape:
      drag_ = Drag::kNone;
      preview_.reset();
      update();
      return;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  if (design_.Selected().isEmpty()) return;
  const Selection selected = design_.Selected();
  design_.Edit(QStringLiteral("移動"), [&](StripTemplate& t) { MoveItems(t, selected, dx, dy); });
}
