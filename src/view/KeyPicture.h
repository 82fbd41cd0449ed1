#pragma once
// A key's picture in its key block: the picture kind (line 30, the picture
// file's extension) and the picture data (line 31, the file's bytes in
// Base64). A key whose kind is not blank shows its picture stretched over
// its text area instead of its text, on screen and on paper.

#include <QByteArray>
#include <QImage>
#include <QList>

#include "document/StripDocument.h"

class QPainter;
class QRectF;

struct PictureFields {
  QByteArray kind;  // ".bmp", ".JPG", ...; empty for no picture
  QByteArray data;  // Base64 of the picture file's bytes
};

PictureFields ReadPictureFields(const Lines& lines, qsizetype keyLine);
// The kind, trimmed of spaces, is not empty.
bool HasPicture(const Lines& lines, qsizetype keyLine);

// Attaching a picture: every key of `emptiedKeyLines` loses its text lines
// and any picture (as deleting its text does), then the key at
// `pictureKeyLine` gets the picture fields. All lines are key block lines
// as they are before the call; the keys are handled from the last one up so
// that the removed text lines shift no line still to be handled. Returns
// the picture key's block line afterwards.
qsizetype AttachPicture(StripDocument& document, const QList<qsizetype>& emptiedKeyLines,
                        qsizetype pictureKeyLine, const PictureFields& picture);
// Removing a picture: both picture fields become empty; the text lines stay.
void RemovePicture(StripDocument& document, qsizetype keyLine);

// The key's picture decoded; null when it has none or it cannot be decoded.
QImage DecodeKeyPicture(const Lines& lines, qsizetype keyLine);

// Draws the key's picture stretched over `rect` (width and height each on
// its own) on any painter: screen image, preview or printer. Draws nothing
// for a key without a picture or with one that cannot be decoded; returns
// whether the key has a picture (and so shows no text).
bool DrawKeyPicture(QPainter& painter, const QRectF& rect, const Lines& lines, qsizetype keyLine);

// A key's decoded picture kept between draws: decoding happens again only
// when the key's picture fields change. Pictures wider or higher than
// kMaxSide are kept scaled down to it, as a key on screen is far smaller.
class KeyPictureMemo {
 public:
  static constexpr int kMaxSide = 512;
  // The picture of the key block at `keyLine`, null for none.
  const QImage& Picture(const Lines& lines, qsizetype keyLine);
  int DecodeCount() const { return decodeCount_; }

 private:
  PictureFields fields_;
  QImage image_;
  bool filled_ = false;
  int decodeCount_ = 0;
};
