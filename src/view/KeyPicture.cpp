#include "view/KeyPicture.h"

#include <QHashFunctions>
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

QImage ScreenPicture(const PictureFields& fields) {
  if (fields.kind.trimmed().isEmpty()) return QImage();
  const QImage image = DecodePictureText(fields.data, fields.kind);
  const int max = KeyPictureMemo::kMaxSide;
  if (image.width() <= max && image.height() <= max) return image;
  return image.scaled(std::min(image.width(), max), std::min(image.height(), max), Qt::IgnoreAspectRatio,
                      Qt::SmoothTransformation);
}

namespace {

// The same bytes at the same place: lines of one buffer, or copies of one line.
bool SameBytes(const QByteArray& a, const QByteArray& b) {
  return a.size() == b.size() && a.constData() == b.constData();
}

}  // namespace

QImage DecodedPictures::Picture(const PictureFields& fields, bool* decoded) {
  *decoded = false;
  if (fields.kind.trimmed().isEmpty()) return QImage();
  auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return SameBytes(e.fields.data, fields.data) && e.fields.kind == fields.kind;
  });
  if (found != entries_.end()) return found->image;
  // Pictures of one kind of file begin alike: the hash tells them apart
  // before their bytes are compared.
  const size_t hash = qHash(fields.data);
  found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return e.hash == hash && e.fields.data == fields.data && e.fields.kind == fields.kind;
  });
  if (found != entries_.end()) return found->image;
  *decoded = true;
  Entry entry{fields, hash, ScreenPicture(fields)};
  bytes_ += entry.image.sizeInBytes();
  entries_.push_back(std::move(entry));
  while (bytes_ > kBudgetBytes && entries_.size() > 1) {
    bytes_ -= entries_.front().image.sizeInBytes();
    entries_.erase(entries_.begin());
  }
  return entries_.back().image;
}

const QImage& KeyPictureMemo::Picture(const Lines& lines, qsizetype keyLine) {
  const PictureFields fields = ReadPictureFields(lines, keyLine);
  if (filled_ && fields.kind == fields_.kind && fields.data == fields_.data) return image_;
  fields_ = fields;
  filled_ = true;
  bool decoded = !fields.kind.trimmed().isEmpty();
  image_ = shared_ ? shared_->Picture(fields, &decoded) : ScreenPicture(fields);
  if (decoded) ++decodeCount_;
  return image_;
}
