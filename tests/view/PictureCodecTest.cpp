// Key pictures to and from their picture data: the stored bytes are the
// picture file's own, and no damaged or hostile picture gets further than a
// null image.
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <random>

#include <cstdio>
#include <jpeglib.h>

#include "base/Base64.h"
#include "support/TestPictures.h"
#include "view/PictureCodec.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

QByteArray SampleBitmap() { return BitmapBytes(TwoColourImage(10, 6, kRed, kBlue)); }
QByteArray SampleJpeg() { return JpegBytes(TwoColourImage(32, 16, kRed, kBlue)); }

QByteArray RandomBytes(int count, unsigned seed, QByteArray start = QByteArray()) {
  std::mt19937 random(seed);
  QByteArray bytes = start;
  while (bytes.size() < count) bytes.append(static_cast<char>(random() & 0xFF));
  return bytes;
}

// A JPEG whose frame header states another size.
QByteArray JpegClaiming(int width, int height) {
  QByteArray jpeg = SampleJpeg();
  const qsizetype sof = JpegFrameHeader(jpeg);
  jpeg = WithBigEndian(jpeg, sof + 5, 2, height);
  return WithBigEndian(jpeg, sof + 7, 2, width);
}

// BMP offsets: data offset 10, header size 14, width 18, height 22,
// bits per pixel 28, compression 30.
QByteArray BitmapWith(qsizetype at, int count, quint32 value) {
  return WithLittleEndian(SampleBitmap(), at, count, value);
}

// A CMYK JPEG of one colour, the four bytes as the file stores them (with
// the Adobe marker libjpeg writes: inverted, 255 = no ink).
QByteArray CmykJpeg(int width, int height, const unsigned char (&cmyk)[4]) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(width * 4);
  for (int x = 0; x < width; ++x) std::copy(cmyk, cmyk + 4, row.begin() + 4 * x);
  while (info.next_scanline < info.image_height) {
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
  std::free(out);
  return bytes;
}

// A bitmap file put together byte by byte: the file header, a 40-byte info
// header, a palette of red and blue, then `pixels` as they are stored.
QByteArray HandMadeBitmap(int width, int height, int bitCount, int compression, const QByteArray& pixels) {
  QByteArray b(54, '\0');
  b[0] = 'B';
  b[1] = 'M';
  const QByteArray palette("\0\0\xFF\0\xFF\0\0\0", 8);  // index 0 red, 1 blue (BGR0)
  b = WithLittleEndian(b, 2, 4, 54 + 8 + pixels.size());
  b = WithLittleEndian(b, 10, 4, 54 + 8);
  b = WithLittleEndian(b, 14, 4, 40);
  b = WithLittleEndian(b, 18, 4, width);
  b = WithLittleEndian(b, 22, 4, height);
  b = WithLittleEndian(b, 26, 2, 1);
  b = WithLittleEndian(b, 28, 2, bitCount);
  b = WithLittleEndian(b, 30, 4, compression);
  b = WithLittleEndian(b, 46, 4, 2);  // colours used
  return b + palette + pixels;
}

}  // namespace

TEST(PictureCodec, EveryKindOfBitmapDecodes) {
  // Two rows, stored bottom up, each red on the left and blue on the right.
  const QRgb red = kRed.rgb(), blue = kBlue.rgb(), black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
  const struct {
    const char* what;
    QByteArray file;
    int width;
    QRgb left, right;
  } cases[] = {
      {"1 bit", HandMadeBitmap(4, 2, 1, 0, QByteArray("\x30\0\0\0\x30\0\0\0", 8)), 4, red, blue},
      {"4 bits", HandMadeBitmap(4, 2, 4, 0, QByteArray("\x00\x11\0\0\x00\x11\0\0", 8)), 4, red, blue},
      {"8 bits", HandMadeBitmap(4, 2, 8, 0, QByteArray("\0\0\1\1\0\0\1\1", 8)), 4, red, blue},
      {"8 bits, last row without its padding", HandMadeBitmap(3, 2, 8, 0, QByteArray("\0\0\1\0\0\0\1", 7)), 3, red, blue},
      {"8 bits run lengths", HandMadeBitmap(4, 2, 8, 1, QByteArray("\2\0\2\1\0\0\2\0\2\1\0\1", 12)), 4, red, blue},
      {"4 bits run lengths", HandMadeBitmap(4, 2, 4, 2, QByteArray("\2\x00\2\x11\0\0\2\x00\2\x11\0\1", 12)), 4, red, blue},
      {"24 bits from Qt", BitmapBytes(TwoColourImage(4, 2, kRed, kBlue)), 4, red, blue},
      {"1 bit from Qt", BitmapBytes(TwoColourImage(4, 2, Qt::black, Qt::white).convertToFormat(QImage::Format_Mono)),
       4, black, white},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QImage image = DecodePictureBytes(c.file, PictureFormat::Bitmap);
    ASSERT_EQ(image.size(), QSize(c.width, 2));
    for (int y = 0; y < 2; ++y) {
      EXPECT_EQ(image.pixel(0, y), c.left);
      EXPECT_EQ(image.pixel(c.width - 1, y), c.right);
    }
  }
}

TEST(PictureCodec, StoredTextIsTheBase64OfTheFileBytesPaddedByLength) {
  // 24-bit bitmaps of 1, 2 and 3 pixels: 58, 62 and 66 bytes.
  const struct {
    int width;
    int remainder;
    int padding;
  } cases[] = {{1, 1, 2}, {2, 2, 1}, {3, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    const QImage image = TwoColourImage(c.width, 1, kRed, kBlue);
    const QByteArray file = BitmapBytes(image);
    ASSERT_EQ(file.size() % 3, c.remainder);
    const QByteArray text = EncodePictureText(file);
    EXPECT_EQ(text.size(), (file.size() + 2) / 3 * 4);
    EXPECT_EQ(text.count('='), c.padding);
    EXPECT_TRUE(text.endsWith(QByteArray(c.padding, '=')));
    EXPECT_EQ(base64::Decode(text), file);
    EXPECT_EQ(DecodePictureText(text, ".bmp"), image);
  }
}

TEST(PictureCodec, DataBytesFollowTheLenientRuleOnAnyText) {
  const QByteArray cases[] = {
      "",         "YQ==",     "YWI=",     "YWJj",      "YR==",     "YWJ=",  // plain, padding bits set
      "YQ",       "YWJjZA",   "YQ===",    "Y===",      "====",     "YW=j",  // short, too much padding, "=" inside
      "YW Jj",    "YWJj\r\n", "*YWJj",  "YWJj!ZGVm", "-_-_",     "YWJjZGVm",
  };
  for (const QByteArray& text : cases) {
    SCOPED_TRACE(text.constData());
    EXPECT_EQ(PictureDataBytes(text), base64::Decode(text));
  }
  const QByteArray random = RandomBytes(5000, 9);
  EXPECT_EQ(PictureDataBytes(EncodePictureText(random)), random);
}

TEST(PictureCodec, KindChoosesTheFormatWhateverItsCaseAndSpaces) {
  const QByteArray bitmap = EncodePictureText(SampleBitmap());
  const QByteArray jpeg = EncodePictureText(SampleJpeg());
  const struct {
    QByteArray kind;
    const QByteArray& data;
    bool shows;
  } cases[] = {
      {".bmp", bitmap, true},  {".BMP", bitmap, true},  {" .bmp  ", bitmap, true},
      {".jpg", jpeg, true},    {".JPG", jpeg, true},    {".jpeg", jpeg, true},
      {".Jpeg", jpeg, true},   {".jpg", bitmap, false}, {".bmp", jpeg, false},
      {".png", bitmap, false}, {"", bitmap, false},     {"   ", jpeg, false},
      {".bmp", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind.constData());
    EXPECT_EQ(!DecodePictureText(c.data, c.kind).isNull(), c.shows);
  }
}

TEST(PictureCodec, DecodesBitmapAndJpegPixels) {
  const QImage bitmap = DecodePictureBytes(SampleBitmap(), PictureFormat::Bitmap);
  ASSERT_EQ(bitmap.size(), QSize(10, 6));
  EXPECT_EQ(bitmap.pixel(0, 0), kRed.rgb());
  EXPECT_EQ(bitmap.pixel(9, 5), kBlue.rgb());

  const QImage jpeg = DecodePictureBytes(SampleJpeg(), PictureFormat::Jpeg);
  ASSERT_EQ(jpeg.size(), QSize(32, 16));
  EXPECT_TRUE(NearColour(jpeg.pixel(2, 8), kRed.rgb()));
  EXPECT_TRUE(NearColour(jpeg.pixel(29, 8), kBlue.rgb()));

  const QByteArray progressiveFile = JpegBytes(TwoColourImage(32, 16, kRed, kBlue), 90, true);
  ASSERT_NE(progressiveFile.indexOf("\xFF\xC2"), -1);  // a progressive frame
  const QImage progressive = DecodePictureBytes(progressiveFile, PictureFormat::Jpeg);
  ASSERT_EQ(progressive.size(), QSize(32, 16));
  EXPECT_TRUE(NearColour(progressive.pixel(29, 8), kBlue.rgb()));

  QImage grey(16, 16, QImage::Format_Grayscale8);
  grey.fill(QColor(90, 90, 90));
  const QImage decodedGrey = DecodePictureBytes(JpegBytes(grey), PictureFormat::Jpeg);
  ASSERT_EQ(decodedGrey.size(), QSize(16, 16));
  EXPECT_TRUE(NearColour(decodedGrey.pixel(8, 8), qRgb(90, 90, 90), 4));

  const unsigned char red[4] = {255, 0, 0, 255};  // no cyan, all magenta and yellow, no black
  const QImage cmyk = DecodePictureBytes(CmykJpeg(16, 8, red), PictureFormat::Jpeg);
  ASSERT_EQ(cmyk.size(), QSize(16, 8));
  EXPECT_TRUE(NearColour(cmyk.pixel(8, 4), kRed.rgb()));
}

TEST(PictureCodec, DamagedPicturesGiveNoImage) {
  const QByteArray jpeg = SampleJpeg();
  const QByteArray bitmap = SampleBitmap();
  QByteArray strayJpegText = EncodePictureText(jpeg);
  strayJpegText.insert(strayJpegText.size() / 2, "\r\n*");
  QByteArray strayBitmapText = EncodePictureText(bitmap);
  strayBitmapText.insert(2, " ");
  const struct {
    const char* what;
    QByteArray data;
    QByteArray kind;
  } cases[] = {
      {"truncated JPEG", EncodePictureText(jpeg.left(jpeg.size() * 2 / 3)), ".jpg"},
      {"JPEG cut in its header", EncodePictureText(jpeg.left(40)), ".jpg"},
      {"random bytes as JPEG", EncodePictureText(RandomBytes(3000, 1)), ".jpg"},
      {"random bytes after a JPEG start", EncodePictureText(RandomBytes(3000, 2, "\xFF\xD8\xFF")), ".jpeg"},
      {"random bytes as bitmap", EncodePictureText(RandomBytes(3000, 3)), ".bmp"},
      {"random bytes after BM", EncodePictureText(RandomBytes(3000, 4, "BM")), ".bmp"},
      {"bitmap wider than its data", EncodePictureText(BitmapWith(18, 4, 1000)), ".bmp"},
      {"bitmap higher than its data", EncodePictureText(BitmapWith(22, 4, 7)), ".bmp"},
      {"bitmap data offset past the end", EncodePictureText(BitmapWith(10, 4, 0xFFFFFFF0u)), ".bmp"},
      {"bitmap of 7 bits per pixel", EncodePictureText(BitmapWith(28, 2, 7)), ".bmp"},
      {"bitmap header size 1000", EncodePictureText(BitmapWith(14, 4, 1000)), ".bmp"},
      {"bitmap of negative width", EncodePictureText(BitmapWith(18, 4, 0xFFFFFFF6u)), ".bmp"},
      {"bitmap holding a JPEG", EncodePictureText(BitmapWith(30, 4, 4)), ".bmp"},
      {"truncated bitmap", EncodePictureText(bitmap.left(bitmap.size() - 20)), ".bmp"},
      {"JPEG text with stray characters", strayJpegText, ".jpg"},
      {"bitmap text with a stray character", strayBitmapText, ".bmp"},
      {"Base64 of nothing but stray characters", "!!!!????", ".bmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(DecodePictureText(c.data, c.kind).isNull());
  }
}

TEST(PictureCodec, HugeHeadersAreRefusedBeforeDecoding) {
  const QByteArray hugeJpeg = JpegClaiming(65000, 65000);
  const QByteArray hugeBitmap = BitmapWith(22, 4, 65000);
  const QByteArray hugeBitmapBoth = WithLittleEndian(hugeBitmap, 18, 4, 65000);
  // The header is read as it stands ...
  EXPECT_EQ(JpegHeaderSize(hugeJpeg), QSize(65000, 65000));
  EXPECT_FALSE(PictureSizeAllowed(QSize(65000, 65000)));
  // ... and the picture refused at once: no 16-gigabyte image is made.
  QElapsedTimer timer;
  timer.start();
  EXPECT_TRUE(DecodePictureBytes(hugeJpeg, PictureFormat::Jpeg).isNull());
  EXPECT_TRUE(DecodePictureBytes(hugeBitmapBoth, PictureFormat::Bitmap).isNull());
  EXPECT_TRUE(PictureHeaderSize(hugeBitmapBoth, PictureFormat::Bitmap).isEmpty());
  EXPECT_LT(timer.elapsed(), 2000);

  // The limit itself: 4096 x 4096 passes, one row more does not.
  EXPECT_TRUE(PictureSizeAllowed(QSize(4096, 4096)));
  EXPECT_FALSE(PictureSizeAllowed(QSize(4096, 4097)));
  EXPECT_TRUE(DecodePictureBytes(JpegClaiming(4096, 4097), PictureFormat::Jpeg).isNull());
  EXPECT_FALSE(PictureSizeAllowed(QSize(0, 10)));
}

TEST(PictureCodec, FormatOfExtensions) {
  EXPECT_EQ(PictureFormatOf(QStringLiteral(".BMP")), PictureFormat::Bitmap);
  EXPECT_EQ(PictureFormatOf(QStringLiteral(".jpeg")), PictureFormat::Jpeg);
  EXPECT_EQ(PictureFormatOf(QStringLiteral(".JPG")), PictureFormat::Jpeg);
  EXPECT_EQ(PictureFormatOf(QStringLiteral(".gif")), PictureFormat::Unknown);
  EXPECT_EQ(PictureFormatOf(QStringLiteral(".")), PictureFormat::Unknown);
  EXPECT_EQ(PictureHeaderSize(SampleBitmap(), PictureFormat::Bitmap), QSize(10, 6));
  EXPECT_EQ(PictureHeaderSize(SampleJpeg(), PictureFormat::Jpeg), QSize(32, 16));
}
