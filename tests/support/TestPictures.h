#pragma once
// Small pictures made in the tests themselves: images and the bytes of
// their BMP and JPEG files.

#include <QByteArray>
#include <QColor>
#include <QImage>

// An image whose left half is `left` and right half `right`.
QImage TwoColourImage(int width, int height, QColor left, QColor right);
// The bytes of the image written as a BMP file (24 bits per pixel) or a
// JPEG file.
QByteArray BitmapBytes(const QImage& image);
QByteArray JpegBytes(const QImage& image, int quality = 90, bool progressive = false);
// The bytes with `count` bytes at `at` replaced by the little- or
// big-endian value.
QByteArray WithLittleEndian(QByteArray bytes, qsizetype at, int count, quint32 value);
QByteArray WithBigEndian(QByteArray bytes, qsizetype at, int count, quint32 value);
// Where the JPEG's frame header (SOF0) starts: its 0xFF byte.
qsizetype JpegFrameHeader(const QByteArray& jpeg);
// Colours that differ by at most `tolerance` in each channel (JPEG is lossy).
bool NearColour(QRgb a, QRgb b, int tolerance = 24);
