// Key pictures: any bytes as a JPEG and as a bitmap file, as a key's picture
// data line would bring them.
#include <QImage>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "view/PictureCodec.h"

namespace {

void DecodeAs(const QByteArray& bytes, PictureFormat format) {
  const QSize header = PictureHeaderSize(bytes, format);
  const QImage image = DecodePictureBytes(bytes, format);
  if (image.isNull()) return;
  // Nothing is decoded beyond the pixel limit, and never to another size
  // than the header announced.
  FUZZ_ASSERT(PictureSizeAllowed(image.size()));
  FUZZ_ASSERT(header.isEmpty() || header == image.size());
}

}  // namespace

int FuzzPicture(const uint8_t* data, size_t size) {
  EnsureGuiApplication();
  const QByteArray bytes = FuzzBytes(data, size);
  DecodeAs(bytes, PictureFormat::Jpeg);
  DecodeAs(bytes, PictureFormat::Bitmap);
  // The stored form gives the same bytes back.
  FUZZ_ASSERT(PictureDataBytes(EncodePictureText(bytes)) == bytes);
  return 0;
}
