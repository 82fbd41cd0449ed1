#include "support/TestPictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <cstdlib>

QImage TwoColourImage(int width, int height, QColor left, QColor right) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(right);
  QPainter painter(&image);
  painter.fillRect(0, 0, width / 2, height, left);
  return image;
}

namespace {
QByteArray Written(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, quality);
  return bytes;
}
}  // namespace

QByteArray BitmapBytes(const QImage& image) {
  return Written(image.convertToFormat(QImage::Format_RGB32), "BMP", -1);
}

QByteArray JpegBytes(const QImage& image, int quality, bool progressive) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(quality);
  writer.setProgressiveScanWrite(progressive);
  writer.write(image);
  return bytes;
}

QByteArray WithLittleEndian(QByteArray bytes, qsizetype at, int count, quint32 value) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

QByteArray WithBigEndian(QByteArray bytes, qsizetype at, int count, quint32 value) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>(value >> (8 * (count - 1 - i)));
  return bytes;
}

qsizetype JpegFrameHeader(const QByteArray& jpeg) { return jpeg.indexOf("\xFF\xC0"); }

bool NearColour(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
