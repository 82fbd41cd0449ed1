#include "view/StripRenderer.h"

#include <QFont>
#include <QPainter>

#include "base/ColorPair.h"
#include "base/ShiftJis.h"
#include "view/KeyPicture.h"
#include "view/KeyText.h"

namespace {

// A filled rectangle with a 1 px black border on its outermost pixels, the
// way the canvas draws rectangles: the pixels left..right-1, top..bottom-1.
void DrawBorderedRect(QPainter& painter, const QRect& r, int color, bool rounded) {
  if (r.width() <= 0 || r.height() <= 0) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(QColorFromWin(color));
  if (!rounded) painter.fillRect(r, QColorFromWin(color));
  if (painter.device()->devicePixelRatioF() > 1) {
    // The border one logical pixel wide, on the rectangle's outermost
    // logical pixels, as on a screen of ratio 1.
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QRectF border = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    if (rounded) painter.drawRoundedRect(border, kCornerEllipseWidth / 2.0, kCornerEllipseHeight / 2.0);
    else painter.drawRect(border);
  } else {
    painter.setPen(QPen(Qt::black, 0));
    const QRect border = r.adjusted(0, 0, -1, -1);
    if (rounded) painter.drawRoundedRect(border, kCornerEllipseWidth / 2.0, kCornerEllipseHeight / 2.0);
    else painter.drawRect(border);
  }
  painter.restore();
}

Qt::Alignment LabelAlignment(int alignment) {
  switch (alignment) {
    case 2: return Qt::AlignHCenter | Qt::AlignTop;
    case 3: return Qt::AlignRight | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;  // 1, and values the label does not know
  }
}

}  // namespace

QImage NewScreenImage(QSize size, qreal devicePixelRatio) {
  QImage image(devicePixelRatio > 1 ? (QSizeF(size) * devicePixelRatio).toSize() : size, QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(devicePixelRatio > 1 ? devicePixelRatio : 1);
  image.setDotsPerMeterX(kScreenDotsPerMeter);
  image.setDotsPerMeterY(kScreenDotsPerMeter);
  image.fill(Qt::white);
  return image;
}

QImage RenderCanvas(const StripPlan& plan, ViewKind view, qreal devicePixelRatio) {
  QImage image = NewScreenImage(plan.view[view].size, devicePixelRatio);
  if (image.isNull()) return image;
  QPainter painter(&image);
  for (const GroupPlan& group : plan.groups) {
    DrawBorderedRect(painter, PixelRect(group.rect[view]), kGroupColor, false);
  }
  for (const KeyPlan& key : plan.keys) {
    DrawBorderedRect(painter, PixelRect(key.view[view].outline), kKeyOutlineColor,
                     plan.roundedCorners);
  }
  return image;
}

void DrawNumberLabel(QPainter& painter, const QRect& rect, const KeyPlan& key, ViewKind view) {
  if (!key.labelVisible || rect.width() <= 0 || rect.height() <= 0) return;
  const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
  const int pixels = PointsToPixels(key.view[view].labelPointSize, dpi);
  if (pixels <= 0) return;
  QFont font(sjis::Decode(key.label.fontName));
  font.setPixelSize(pixels);
  font.setBold(key.label.bold);
  font.setItalic(key.label.italic);
  painter.save();
  painter.setFont(font);
  painter.setPen(QColorFromWin(key.label.color));
  painter.drawText(rect, LabelAlignment(key.label.alignment), QString::number(key.shownNumber));
  painter.restore();
}

void DrawTextFrame(QPainter& painter, const QRect& rect) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(rect, Qt::white);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.restore();
}

FaceLayout KeyFaceLayout(const KeyPlan& key, ViewKind view, bool hasPicture) {
  const QRect& panel = key.view[view].panel;
  const QRect& frame = key.view[view].frame;
  FaceLayout layout;
  if (hasPicture) {
    layout.face = QRect(panel.height(), 0, 0, panel.height());
    layout.editor = QRect(panel.left() + panel.height() - 2, frame.top(), 0, frame.height());
  } else {
    layout.face = QRect(0, 0, panel.width(), panel.height());
    layout.editor = QRect(panel.left() - 2, frame.top(), panel.width() + 4, frame.height());
  }
  return layout;
}

QImage RenderKeyFace(const Lines& lines, const KeyPlan& key, ViewKind view, qreal devicePixelRatio) {
  const QRect& panel = key.view[view].panel;
  if (panel.width() <= 0 || panel.height() <= 0) return QImage();
  if (panel.width() > kMaxFaceSide || panel.height() > kMaxFaceSide) return QImage();
  return RenderKeyFace(ReadKeyTextFormat(lines, key.blockLine), panel.size(), key.view[view].textPointSize,
                       devicePixelRatio);
}

QImage RenderKeyFace(const KeyTextFormat& format, QSize panel, int textPointSize, qreal devicePixelRatio) {
  if (panel.width() <= 0 || panel.height() <= 0) return QImage();
  if (panel.width() > kMaxFaceSide || panel.height() > kMaxFaceSide) return QImage();
  QImage face = NewScreenImage(panel, devicePixelRatio);
  QPainter painter(&face);
  DrawKeyText(painter, Decimal4(), Decimal4(), Decimal4::FromInt(panel.width()), Decimal4::FromInt(panel.height()),
              format, textPointSize);
  return face;
}

bool KeyFaceFits(const KeyTextFormat& format, QSize panel, int textPointSize) {
  // Measured on an image of the face's resolution, as the face is drawn.
  static const QImage screen = NewScreenImage(QSize(1, 1));
  return KeyTextFits(screen, Decimal4(), Decimal4(), Decimal4::FromInt(panel.width()),
                     Decimal4::FromInt(panel.height()), format, textPointSize);
}

QImage RenderStrip(const Lines& lines, const StripPlan& plan, ViewKind view) {
  QImage image = RenderCanvas(plan, view);
  if (image.isNull()) return image;
  QPainter painter(&image);
  for (const KeyPlan& key : plan.keys) {
    DrawNumberLabel(painter, key.view[view].label, key, view);
    if (key.editable) DrawTextFrame(painter, key.view[view].frame);
  }
  for (const KeyPlan& key : plan.keys) {
    if (!key.hasPanel) continue;
    const QRect& panel = key.view[view].panel;
    if (panel.width() <= 0 || panel.height() <= 0) continue;
    painter.fillRect(panel, Qt::white);
    const bool hasPicture = ReadKeyTextFormat(lines, key.blockLine).hasPicture;
    if (hasPicture) DrawKeyPicture(painter, QRectF(panel), lines, key.blockLine);
    const FaceLayout layout = KeyFaceLayout(key, view, hasPicture);
    if (layout.face.isEmpty()) continue;
    const QImage face = RenderKeyFace(lines, key, view);
    if (!face.isNull()) painter.drawImage(panel.topLeft() + layout.face.topLeft(), face);
  }
  return image;
}
