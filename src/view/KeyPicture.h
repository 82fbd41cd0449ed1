#pragma once
// A key's picture in its key block: the picture kind (line 30, the picture
// file's extension) and the picture data (line 31, the file's bytes in
// Base64). A key whose kind is not blank shows its picture stretched over
// its text area instead of its text, on screen and on paper.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <vector>

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

// Decoded pictures of one window, kept across layouts: laying a strip out
// again, or another strip with the same logo, decodes nothing. A picture is
// known by its kind and data line; a data line that shares the bytes of one
// already known is found without comparing them. The oldest pictures go
// when the kept pixels pass kBudgetBytes.
class DecodedPictures {
 public:
  static constexpr qint64 kBudgetBytes = qint64(64) * 1024 * 1024;
  // The screen picture of `fields` (null for none); `decoded` tells whether
  // it had to be decoded now.
  QImage Picture(const PictureFields& fields, bool* decoded);

 private:
  struct Entry {
    PictureFields fields;
    size_t hash;  // of the data line
    QImage image;
  };
  std::vector<Entry> entries_;  // oldest first
  qint64 bytes_ = 0;
};

// A key's decoded picture kept between draws: decoding happens again only
// when the key's picture fields change. The picture is kept at no more than
// kMaxSide pixels in each direction, each side capped on its own (a key on
// screen is far smaller, and a picture is stretched over the key anyway).
class KeyPictureMemo {
 public:
  static constexpr int kMaxSide = 512;
  // Takes decoded pictures from `shared` (not owned) when given.
  explicit KeyPictureMemo(DecodedPictures* shared = nullptr) : shared_(shared) {}
  // The picture of the key block at `keyLine`, null for none.
  const QImage& Picture(const Lines& lines, qsizetype keyLine);
  int DecodeCount() const { return decodeCount_; }

 private:
  DecodedPictures* shared_;
  PictureFields fields_;
  QImage image_;
  bool filled_ = false;
  int decodeCount_ = 0;
};

// The picture of `fields` decoded and capped for the screen as above.
QImage ScreenPicture(const PictureFields& fields);
