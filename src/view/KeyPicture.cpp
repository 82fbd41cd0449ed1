#include "view/KeyPicture.h"

#include <QPainter>
#include <QRectF>
#include <algorithm>

#include "document/StripLayout.h"
#include "view/PictureCodec.h"

using namespace layout;

PictureFields ReadPictureFields(const Lines& lines, qsizetype keyLine) {
  return {LineAt(lines, keyLine + kPictureKind), LineAt(lines, keyLine + kPictureData)};
}

bool HasPicture(const Lines& lines, qsizetype keyLine) {
  return !LineAt(lines, keyLine + kPictureKind).trimmed().isEmpty();
}

qsizetype AttachPicture(StripDocument& document, const QList<qsizetype>& emptiedKeyLines,
                        qsizetype pictureKeyLine, const PictureFields& picture) {
  // Every count is read before anything changes: a damaged one leaves the
  // document as it was.
  QList<qsizetype> keys = emptiedKeyLines;
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  QList<int> counts;
  for (qsizetype key : keys) counts.append(ReadCount(document.lines(), key + kTextCount));
  LineAt(document.lines(), pictureKeyLine + kTextCount);

  qsizetype pictureLine = pictureKeyLine;
  for (qsizetype i = keys.size() - 1; i >= 0; --i) {
    const qsizetype key = keys[i];
    document.Remove(key + kFirstText, counts[i]);
    document.Replace(key + kTextCount, "0");
    document.Replace(key + kPictureKind, QByteArray());
    document.Replace(key + kPictureData, QByteArray());
    if (key < pictureKeyLine) pictureLine -= counts[i];
  }
  document.Replace(pictureLine + kPictureKind, picture.kind);
  document.Replace(pictureLine + kPictureData, picture.data);
  return pictureLine;
}

void RemovePicture(StripDocument& document, qsizetype keyLine) {
  LineAt(document.lines(), keyLine + kPictureData);
  document.Replace(keyLine + kPictureKind, QByteArray());
  document.Replace(keyLine + kPictureData, QByteArray());
}

QImage DecodeKeyPicture(const Lines& lines, qsizetype keyLine) {
  const PictureFields fields = ReadPictureFields(lines, keyLine);
  return DecodePictureText(fields.data, fields.kind);
}

bool DrawKeyPicture(QPainter& painter, const QRectF& rect, const Lines& lines, qsizetype keyLine) {
  if (!HasPicture(lines, keyLine)) return false;
  const QImage picture = DecodeKeyPicture(lines, keyLine);
  if (!picture.isNull() && !rect.isEmpty()) painter.drawImage(rect, picture);
  return true;
}

const QImage& KeyPictureMemo::Picture(const Lines& lines, qsizetype keyLine) {
  const PictureFields fields = ReadPictureFields(lines, keyLine);
  if (filled_ && fields.kind == fields_.kind && fields.data == fields_.data) return image_;
  fields_ = fields;
  filled_ = true;
  image_ = QImage();
  if (fields.kind.trimmed().isEmpty()) return image_;
  ++decodeCount_;
  image_ = DecodePictureText(fields.data, fields.kind);
  if (image_.width() > kMaxSide || image_.height() > kMaxSide) {
    image_ = image_.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  return image_;
}
