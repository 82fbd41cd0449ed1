#pragma once
// Key pictures between the data file and the screen. A key stores the bytes
// of its picture file unchanged, as one line of Base64, with the file's
// extension as its picture kind; drawing decodes them. Everything happens in
// memory. Any bytes are taken: a picture that cannot be decoded, or whose
// header asks for more pixels than kPictureMaxPixels, gives a null image,
// decided before the pixels are allocated.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// 4096 x 4096 pixels (64 MB as 32-bit pixels): far above any logo that fits
// a key, small enough that a lying header cannot eat the memory.
inline constexpr qint64 kPictureMaxPixels = qint64(4096) * 4096;

enum class PictureFormat { Unknown, Bitmap, Jpeg };

// The format a picture kind or file extension stands for: ".bmp" a bitmap,
// ".jpg" and ".jpeg" JPEG, in any letter case and with surrounding spaces
// ignored; anything else is unknown.
PictureFormat PictureFormatOf(const QByteArray& kind);
PictureFormat PictureFormatOf(const QString& extension);

// Width and height that the picture's header states, without decoding; an
// empty size when the header is damaged or lies about the data behind it.
QSize PictureHeaderSize(const QByteArray& bytes, PictureFormat format);
bool PictureSizeAllowed(QSize size);

// The picture in the bytes of a picture file; null when they are not a
// picture of that format, are damaged or too large.
QImage DecodePictureBytes(const QByteArray& bytes, PictureFormat format);

// The picture data line of a picture file's bytes: Base64, "=" padded.
QByteArray EncodePictureText(const QByteArray& pictureFileBytes);
// The bytes of a picture data line, decoded as base64::Decode does (its rule
// for characters outside the alphabet included).
QByteArray PictureDataBytes(const QByteArray& pictureData);
// The picture that a picture data line and picture kind stand for; null
// when the kind is blank or unknown or the picture cannot be decoded.
QImage DecodePictureText(const QByteArray& pictureData, const QByteArray& pictureKind);

// JPEG through libjpeg (JpegReader.cpp): its header size, or a null size,
// and the decoded picture, or a null image.
QSize JpegHeaderSize(const QByteArray& bytes);
QImage DecodeJpeg(const QByteArray& bytes);
