#include "view/KeyText.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QPaintEngine>
#include <QPainterPath>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "base/ColorPair.h"
#include "base/ShiftJis.h"
#include "document/CheckedRead.h"
#include "document/StripLayout.h"
#include "view/Pixels.h"

using namespace layout;

namespace {

// The pixels from left/top up to (not including) right/bottom; empty when
// the rectangle has no area.
QRect CanvasRect(Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom) {
  const int l = ToPixel(left), t = ToPixel(top), r = ToPixel(right), b = ToPixel(bottom);
  if (r <= l || b <= t) return QRect();
  return QRect(l, t, r - l, b - t);
}

Decimal4 HorizontalPosition(int alignment, Decimal4 x, Decimal4 left, Decimal4 right, int width) {
  const Decimal4 w = Decimal4::FromInt(width);
  switch (alignment) {
    case 1: return left;
    case 2: return ((right - left) - w) / Decimal4::FromInt(2) + left;
    case 3: return (right - left) - w + left;
    default: return x;  // other values keep the position of the line before
  }
}

QFont KeyFont(const KeyTextFormat& format, int pixelHeight) {
  QFont font(sjis::Decode(format.fontName));
  font.setPixelSize(pixelHeight);
  font.setBold(format.bold);
  font.setItalic(format.italic);
  return font;
}

// Qt's FreeType engine makes bold for a font without a bold face (the IPA
// fonts, like the fonts they stand in for) only below 64 pixels; from there
// on it draws the regular outline on images and the screen. Those sizes are
// drawn here as the outline filled and stroked with the width FreeType's
// emboldening adds (a 24th of the em); the smaller sizes keep Qt's own
// hinted glyphs. The PDF engine behind the printer strokes such text itself
// at every size (and keeps it text), so it is left to Qt there.
constexpr int kQtSyntheticBoldLimit = 64;

bool HasBoldFace(const QFont& font) {
  thread_local QHash<QString, bool> known;  // strips are also drawn on print threads
  const QString family = QFontInfo(font).family();
  const auto found = known.constFind(family);
  if (found != known.constEnd()) return *found;
  bool bold = false;
  for (const QString& style : QFontDatabase::styles(family)) {
    bold = bold || QFontDatabase::weight(family, style) >= QFont::Bold;
  }
  known.insert(family, bold);
  return bold;
}

// The width of the stroke that makes a line bold, 0 when the font draws
// bold by itself.
qreal BoldStrokeWidth(const QPainter& canvas) {
  const QFont& font = canvas.font();
  if (!font.bold() || font.pixelSize() < kQtSyntheticBoldLimit) return 0;
  if (canvas.paintEngine() && canvas.paintEngine()->type() == QPaintEngine::Pdf) return 0;
  if (HasBoldFace(font)) return 0;
  return font.pixelSize() / 24.0;
}

// Draws one line clipped to its own slice, the slice filled first.
void DrawClippedLine(QPainter& canvas, const QRect& clip, const QColor& back, QPoint topLeft,
                     const QString& text, qreal boldStroke) {
  canvas.save();
  canvas.setClipRect(clip, canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  canvas.fillRect(clip, back);
  const QPoint baseline(topLeft.x(), topLeft.y() + canvas.fontMetrics().ascent());
  if (boldStroke > 0) {
    QPainterPath outline;
    outline.addText(baseline, canvas.font(), text);
    const QColor ink = canvas.pen().color();
    canvas.setRenderHint(QPainter::Antialiasing);
    canvas.fillPath(outline, ink);
    canvas.strokePath(outline, QPen(ink, boldStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  } else {
    canvas.drawText(baseline, text);
  }
  canvas.restore();
}

}  // namespace

KeyTextFormat ReadKeyTextFormat(const Lines& lines, qsizetype keyLine) {
  KeyTextFormat f;
  f.fontName = LineAt(lines, keyLine + kFontName);
  f.pointSize = ReadInt(lines, keyLine + kFontSize);
  const QByteArray& pair = LineAt(lines, keyLine + kColorPair);
  f.fontColor = FontColorOf(pair);
  f.backColor = BackColorOf(pair);
  f.bold = ReadInt(lines, keyLine + kBold) != 0;
  f.italic = ReadInt(lines, keyLine + kItalic) != 0;
  f.alignment = ReadInt(lines, keyLine + kAlign);
  f.hasPicture = !LineAt(lines, keyLine + kPictureKind).trimmed().isEmpty();
  const int count = ReadCount(lines, keyLine + kTextCount);
  for (int i = 0; i < count; ++i) f.text.append(LineAt(lines, keyLine + kFirstText + i));
  return f;
}

int PointsToPixels(int pointSize, int dpi) {
  const int64_t product = static_cast<int64_t>(pointSize) * dpi;
  const int64_t rounded = (product >= 0 ? product + 36 : product - 36) / 72;
  return static_cast<int>(std::clamp<int64_t>(rounded, INT32_MIN, INT32_MAX));
}

void DrawKeyText(QPainter& canvas, Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom,
                 const Lines& lines, qsizetype keyLine, int pointSize) {
  DrawKeyText(canvas, left, top, right, bottom, ReadKeyTextFormat(lines, keyLine), pointSize);
}

KeyTextLayout LayOutKeyText(const QFontMetrics& metrics, const KeyTextFormat& format, int lineHeight,
                            Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom) {
  KeyTextLayout layout;
  if (lineHeight <= 0) {  // no font can be that small: only the background shows
    layout.fits = format.text.isEmpty();
    return layout;
  }
  const Decimal4 h = Decimal4::FromInt(lineHeight);
  const Decimal4 count = Decimal4::FromInt(format.text.size());
  layout.fits = h * count <= bottom - top;
  const Decimal4 pad = ((bottom - top) - h * count) / Decimal4::FromInt(2);
  Decimal4 x;
  // Only lines near the area can show: line i spans pad + i h to pad +
  // (i + 1) h below top. A line either side is kept for the truncation of
  // the quotients; the clip test below stays exact. Skipping lines is safe
  // for x: it depends on the line's own width, or never moves from 0. When
  // the block fits, every line is near the area, so each width is checked.
  const int64_t firstShown = ((-pad) / h).Raw() / Decimal4::kScale - 1;
  const int64_t lastShown = ((bottom - top - pad) / h).Raw() / Decimal4::kScale + 1;
  const qsizetype first = std::clamp<int64_t>(firstShown, 0, format.text.size());
  const qsizetype end = std::clamp<int64_t>(lastShown + 1, first, format.text.size());
  sjis::Decoder decode;
  for (qsizetype i = first; i < end; ++i) {
    KeyTextLine line;
    line.text = decode(format.text[i]);
    const int width = metrics.horizontalAdvance(line.text);
    x = HorizontalPosition(format.alignment, x, left, right, width);
    if (x < left || x + Decimal4::FromInt(width) > right) layout.fits = false;
    const Decimal4 y = top + pad + Decimal4::FromInt(i) * h;
    const Decimal4 clipTop = std::max(top, y);
    const Decimal4 clipBottom = std::min(bottom, y + h);
    if (clipBottom <= clipTop) continue;
    line.clip = CanvasRect(left, clipTop, right, clipBottom);
    if (line.clip.isEmpty()) continue;
    line.topLeft = QPoint(ToPixel(x), ToPixel(y));
    layout.shown.push_back(std::move(line));
  }
  return layout;
}

void DrawKeyText(QPainter& canvas, Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom,
                 const KeyTextFormat& format, int pointSize) {
  if (format.hasPicture) return;  // the picture covers the text area instead

  const QColor back = QColorFromWin(format.backColor);
  const QRect area = CanvasRect(left, top, right, bottom);
  if (!area.isEmpty()) canvas.fillRect(area, back);

  const int dpi = canvas.device() ? canvas.device()->logicalDpiY() : 96;
  const int lineHeight = PointsToPixels(pointSize, dpi);
  if (lineHeight <= 0) return;

  canvas.save();
  canvas.setFont(KeyFont(format, lineHeight));
  canvas.setPen(QColorFromWin(format.fontColor));
  const qreal boldStroke = BoldStrokeWidth(canvas);
  const KeyTextLayout layout = LayOutKeyText(canvas.fontMetrics(), format, lineHeight, left, top, right, bottom);
  for (const KeyTextLine& line : layout.shown) {
    DrawClippedLine(canvas, line.clip, back, line.topLeft, line.text, boldStroke);
  }
  canvas.restore();
}

bool KeyTextFits(const QPaintDevice& device, Decimal4 left, Decimal4 top, Decimal4 right, Decimal4 bottom,
                 const KeyTextFormat& format, int pointSize) {
  if (format.hasPicture) return true;
  const int lineHeight = PointsToPixels(pointSize, device.logicalDpiY());
  const QFontMetrics metrics(KeyFont(format, std::max(lineHeight, 1)), &device);
  return LayOutKeyText(metrics, format, lineHeight, left, top, right, bottom).fits;
}
