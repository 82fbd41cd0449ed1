#include "view/PictureCodec.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <string_view>

#include "base/Base64.h"

namespace {

constexpr qsizetype kFileHeaderBytes = 14;

quint32 U32At(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 U16At(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint16>(b.constData() + at);
}

struct BitmapHeader {
  qint64 width = 0, height = 0;  // height without its sign (negative: rows top-down)
  int bitCount = 0;
  quint32 compression = 0;
  qint64 dataOffset = 0;
};

bool KnownInfoHeaderSize(quint32 size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Reads the file header and the info header; false when either is damaged.
bool ReadBitmapHeader(const QByteArray& b, BitmapHeader* h) {
  if (b.size() < kFileHeaderBytes + 12 || b[0] != 'B' || b[1] != 'M') return false;
  h->dataOffset = U32At(b, 10);
  const quint32 infoSize = U32At(b, 14);
  if (!KnownInfoHeaderSize(infoSize) || b.size() < kFileHeaderBytes + qint64(infoSize)) return false;
  int planes;
  if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes
    h->width = U16At(b, 18);
    h->height = U16At(b, 20);
    planes = U16At(b, 22);
    h->bitCount = U16At(b, 24);
  } else {
    h->width = static_cast<qint32>(U32At(b, 18));
    h->height = static_cast<qint32>(U32At(b, 22));
    if (h->height < 0) h->height = -h->height;
    planes = U16At(b, 26);
    h->bitCount = U16At(b, 28);
    h->compression = U32At(b, 30);
  }
  return planes == 1 && h->dataOffset >= kFileHeaderBytes + qint64(infoSize) &&
         h->dataOffset <= b.size();
}

bool BitCountFits(const BitmapHeader& h) {
  switch (h.compression) {
    case 0: return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
                   h.bitCount == 24 || h.bitCount == 32;
    case 1: return h.bitCount == 8;   // RLE8
    case 2: return h.bitCount == 4;   // RLE4
    case 3: return h.bitCount == 16 || h.bitCount == 32;  // bit fields
    default: return false;  // JPEG or PNG inside a bitmap and the like
  }
}

// Uncompressed rows must all be there; the last may lack its padding.
bool RowsPresent(const QByteArray& b, const BitmapHeader& h) {
  if (h.compression == 1 || h.compression == 2) return true;  // run lengths: the reader stops at the end
  const qint64 rowBits = h.width * h.bitCount;
  const qint64 rowBytes = (rowBits + 31) / 32 * 4;
  return h.dataOffset + rowBytes * (h.height - 1) + (rowBits + 7) / 8 <= b.size();
}

QSize BitmapHeaderSize(const QByteArray& b) {
  BitmapHeader h;
  if (!ReadBitmapHeader(b, &h) || h.width <= 0 || h.height <= 0 || !BitCountFits(h)) return QSize();
  const QSize size(static_cast<int>(h.width), static_cast<int>(h.height));
  // The pixel limit comes first: the row check multiplies the sizes.
  if (!PictureSizeAllowed(size) || !RowsPresent(b, h)) return QSize();
  return size;
}

QImage DecodeBitmap(const QByteArray& bytes) {
  const QSize size = BitmapHeaderSize(bytes);
  if (size.isEmpty()) return QImage();
  QBuffer buffer;
  buffer.setData(bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return QImage();
  QImageReader reader(&buffer, "bmp");
  reader.setDecideFormatFromContent(false);
  QImage image;
  if (!reader.read(&image) || image.size() != size) return QImage();
  // As a bitmap is painted on a key: any alpha channel plays no part.
  return image.convertToFormat(QImage::Format_RGB32);
}

// Standard Base64 as the program writes it: alphabet characters, at most two
// "=" at the end, a multiple of four in length.
bool IsPlainBase64(const QByteArray& text) {
  static const std::array<bool, 256> alphabet = [] {
    std::array<bool, 256> in{};
    for (const char c : std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")) {
      in[static_cast<unsigned char>(c)] = true;
    }
    return in;
  }();
  if (text.size() % 4 != 0) return false;
  qsizetype end = text.size();
  for (int pad = 0; pad < 2 && end > 0 && text[end - 1] == '='; ++pad) --end;
  const auto* p = reinterpret_cast<const unsigned char*>(text.constData());
  return std::all_of(p, p + end, [](unsigned char c) { return alphabet[c]; });
}

}  // namespace

QByteArray PictureDataBytes(const QByteArray& pictureData) {
  // On plain Base64 both decoders give the same bytes; Qt's is several
  // times faster, which counts for a strip full of bitmaps.
  return IsPlainBase64(pictureData) ? QByteArray::fromBase64(pictureData) : base64::Decode(pictureData);
}

PictureFormat PictureFormatOf(const QByteArray& kind) {
  return PictureFormatOf(QString::fromLatin1(kind));
}

PictureFormat PictureFormatOf(const QString& extension) {
  const QString e = extension.trimmed().toLower();
  if (e == QLatin1String(".bmp")) return PictureFormat::Bitmap;
  if (e == QLatin1String(".jpg") || e == QLatin1String(".jpeg")) return PictureFormat::Jpeg;
  return PictureFormat::Unknown;
}

bool PictureSizeAllowed(QSize size) {
  return size.width() > 0 && size.height() > 0 &&
         qint64(size.width()) * size.height() <= kPictureMaxPixels;
}

QSize PictureHeaderSize(const QByteArray& bytes, PictureFormat format) {
  switch (format) {
    case PictureFormat::Bitmap: return BitmapHeaderSize(bytes);
    case PictureFormat::Jpeg: return JpegHeaderSize(bytes);
    case PictureFormat::Unknown: break;
  }
  return QSize();
}

QImage DecodePictureBytes(const QByteArray& bytes, PictureFormat format) {
  switch (format) {
    case PictureFormat::Bitmap: return DecodeBitmap(bytes);
    case PictureFormat::Jpeg: return DecodeJpeg(bytes);
    case PictureFormat::Unknown: break;
  }
  return QImage();
}

QByteArray EncodePictureText(const QByteArray& pictureFileBytes) {
  return base64::Encode(pictureFileBytes);
}

QImage DecodePictureText(const QByteArray& pictureData, const QByteArray& pictureKind) {
  const PictureFormat format = PictureFormatOf(pictureKind);
  if (format == PictureFormat::Unknown || pictureData.isEmpty()) return QImage();
  return DecodePictureBytes(PictureDataBytes(pictureData), format);
}
