#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kBlue(0x2f, 0x5f, 0xa8);

void Page(QPainter& p) {
  p.setPen(kInk);
  p.setBrush(Qt::white);
  QPolygon page({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}});
  p.drawPolygon(page);
  p.drawLine(10, 1, 10, 4);
  p.drawLine(10, 4, 13, 4);
}

void Strip(QPainter& p) {
  p.setPen(kInk);
  p.setBrush(QColor(0xf4, 0xf0, 0xd8));
  p.drawRect(3, 1, 7, 13);
  for (int y = 4; y <= 11; y += 3) p.drawLine(5, y, 8, y);
}

void Lines(QPainter& p, int a, int b, int c, int d) {
  p.setPen(QPen(kInk, 1));
  int widths[4] = {a, b, c, d};
  // A negative width draws the line flush right.
  for (int i = 0; i < 4; ++i) {
    int w = widths[i];
    p.drawLine(w < 0 ? 14 + w : 2, 3 + i * 3, w < 0 ? 13 : 2 + w, 3 + i * 3);
  }
}

void Letter(QPainter& p, const QString& text, bool bold, bool italic, QColor color = kInk) {
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(13);
  f.setBold(bold);
  f.setItalic(italic);
  p.setFont(f);
  p.setPen(color);
  p.drawText(QRect(0, 0, 16, 14), Qt::AlignCenter, text);
}

void Draw(QPainter& p, const QString& name) {
  if (name == "ToolButtonNew") {
    Page(p);
  } else if (name == "ToolButtonOpen") {
    p.setPen(kInk);
    p.setBrush(QColor(0xf0, 0xc8, 0x50));
    p.drawPolygon(QPolygon({{1, 4}, {5, 4}, {6, 5}, {13, 5}, {13, 13}, {1, 13}}));
    p.setBrush(QColor(0xf8, 0xdc, 0x80));
    p.drawPolygon(QPolygon({{3, 7}, {15, 7}, {13, 13}, {1, 13}}));
  } else if (name == "ToolButtonSave") {
    p.setPen(kInk);
    p.setBrush(kBlue);
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawRect(3, 9, 9, 5);
  } else if (name == "ToolButtonPrint") {
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(0xc0, 0xc0, 0xc0));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 5);
  } else if (name == "ToolButtonJimeijoNew") {
    Strip(p);
    p.setPen(QPen(QColor(0x10, 0x90, 0x30), 2));
    p.drawLine(12, 9, 12, 15);
    p.drawLine(9, 12, 15, 12);
  } else if (name == "ToolButtonJimeijoDelete") {
    Strip(p);
    p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2));
    p.drawLine(9, 9, 15, 15);
    p.drawLine(15, 9, 9, 15);
  } else if (name == "ToolButtonListJimeijo") {
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 14, 12);
    for (int y = 5; y <= 11; y += 3) p.drawLine(1, y, 15, y);
    p.drawLine(5, 2, 5, 14);
  } else if (name == "ToolButtonColor") {
    Letter(p, QStringLiteral("A"), true, false);
    p.fillRect(2, 12, 12, 3, Qt::red);
  } else if (name == "ToolButtonBColor") {
    p.setPen(kInk);
    p.setBrush(Qt::yellow);
    p.drawRect(2, 2, 12, 12);
    Letter(p, QStringLiteral("a"), false, false);
  } else if (name == "ToolButtonBold") {
    Letter(p, QStringLiteral("B"), true, false);
  } else if (name == "ToolButtonItalic") {
    Letter(p, QStringLiteral("I"), false, true);
  } else if (name == "ToolButtonLeft") {
    Lines(p, 12, 8, 12, 6);
  } else if (name == "ToolButtonCenter") {
    p.setPen(kInk);
    int half[4] = {6, 4, 6, 3};
    for (int i = 0; i < 4; ++i) p.drawLine(8 - half[i], 3 + i * 3, 8 + half[i] - 1, 3 + i * 3);
  } else if (name == "ToolButtonRight") {
    Lines(p, -12, -8, -12, -6);
  } else if (name == "ToolButtonKeyLabel") {
    p.setPen(kInk);
    p.setBrush(QColor(0xff, 0xe0, 0x90));
    p.drawPolygon(QPolygon({{1, 5}, {11, 5}, {15, 8}, {11, 11}, {1, 11}}));
    p.drawEllipse(QPoint(11, 8), 1, 1);
  } else if (name == "ToolButtonShowDetail") {
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(6, 6), 4, 4);
    p.drawLine(9, 9, 14, 14);
  } else if (name == "ToolButtonShowAll") {
    p.setPen(kInk);
    p.setBrush(QColor(0xc0, 0xc0, 0xc0));
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 2; ++c) p.drawRect(2 + c * 6, 1 + r * 5, 5, 3);
    }
  }
}

}  // namespace

QIcon ToolbarGlyph(const QString& buttonName) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  Draw(p, buttonName);
  return QIcon(pixmap);
}
