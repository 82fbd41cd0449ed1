#include "CardSamples.h"

#include "support/TestFiles.h"

TestKey BoxKey(const char* x, const char* y, const char* width, const char* height, int back,
               Lines text) {
  TestKey key = TestKey::Editable(1, std::move(text));
  key.textX = x;
  key.textY = y;
  key.textWidth = width;
  key.textHeight = height;
  key.colors = "0," + QByteArray::number(back);
  key.font = Sj("ＭＳ ゴシック");
  key.align = "1";
  return key;
}

TestStrip BoxStrip(QList<TestKey> keys, const char* series, const char* type) {
  TestStrip strip;
  strip.series = Sj(series);
  strip.type = Sj(type);
  TestGroup group;
  group.keys = std::move(keys);
  strip.groups = {group};
  return strip;
}

StripDocument DocumentOf(const QList<TestStrip>& strips) {
  StripDocument document;
  document.SetLines(DocumentLines(strips));
  return document;
}

QRect BoxOfColour(const QImage& image, QColor colour) {
  const QRgb wanted = colour.rgb();
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((row[x] | 0xFF000000u) != (wanted | 0xFF000000u)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool WhiteOutside(const QImage& image, const QList<QRect>& rects) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      bool inside = false;
      for (const QRect& r : rects) inside = inside || r.contains(x, y);
      if (!inside && (image.pixel(x, y) | 0xFF000000u) != 0xFFFFFFFFu) return false;
    }
  }
  return true;
}
