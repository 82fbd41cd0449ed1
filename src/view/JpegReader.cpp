// JPEG pictures through libjpeg. libjpeg ends the process on an error unless
// its error manager says otherwise: ours jumps back to the caller, which
// then gives up on the picture. Data that runs out or is corrupt counts as
// an error too, so a damaged picture shows as none rather than half grey.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "view/PictureCodec.h"

namespace {

// libjpeg-turbo's own tools stop a progressive picture after this many
// scans: more only serve to make decoding take forever.
constexpr int kMaxScans = 500;
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

struct ReaderErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ReaderErrors*>(info->err)->jump, 1);
}

bool IsDamageWarning(int code) {
  switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
      return true;
    default:
      return false;
  }
}

// Warnings about damaged data end the decoding; the others (odd markers,
// unusual versions) are ignored, and nothing is ever printed.
void OnMessage(j_common_ptr info, int level) {
  if (level < 0 && IsDamageWarning(info->err->msg_code)) JumpBack(info);
}

void OnProgress(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxScans) JumpBack(info);
}

void Silent(j_common_ptr) {}

// Holds the decoder and frees it however the decoding ends. Each step that
// may jump back sets the jump point itself and holds no object with a
// destructor: the image belongs to the caller.
struct Decoder {
  jpeg_decompress_struct info{};
  ReaderErrors errors{};
  jpeg_progress_mgr progress{};
  bool created = false;

  Decoder() {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.emit_message = OnMessage;
    errors.base.output_message = Silent;
    progress.progress_monitor = OnProgress;
  }
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

bool ReadHeader(Decoder& d, const QByteArray& bytes) {
  if (setjmp(d.errors.jump)) return false;
  jpeg_create_decompress(&d.info);
  d.created = true;
  d.info.progress = &d.progress;
  d.info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&d.info, TRUE);
  return true;
}

QImage::Format OutputFormatFor(jpeg_decompress_struct& info) {
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
      info.out_color_space = JCS_GRAYSCALE;
      return QImage::Format_Grayscale8;
    case JCS_CMYK:
    case JCS_YCCK:
      info.out_color_space = JCS_CMYK;
      return QImage::Format_RGB32;  // converted from the CMYK rows below
    default:
      info.out_color_space = JCS_RGB;
      return QImage::Format_RGB888;
  }
}

// Adobe writes CMYK inverted; converts one row of CMYK bytes in place into
// the 32-bit pixels of the row.
void CmykRowToRgb(uchar* row, int width, bool inverted) {
  auto* out = reinterpret_cast<QRgb*>(row);
  for (int x = 0; x < width; ++x) {
    int c = row[4 * x], m = row[4 * x + 1], y = row[4 * x + 2], k = row[4 * x + 3];
    if (!inverted) {
      c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    }
    out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
  }
}

bool StartDecoding(Decoder& d) {
  if (setjmp(d.errors.jump)) return false;
  jpeg_start_decompress(&d.info);
  return true;
}

bool ReadRows(Decoder& d, QImage& image) {
  if (setjmp(d.errors.jump)) return false;
  const bool cmyk = d.info.out_color_space == JCS_CMYK;
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(d.info.output_scanline));
    if (jpeg_read_scanlines(&d.info, &row, 1) != 1) return false;
    if (cmyk) CmykRowToRgb(row, image.width(), d.info.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

}  // namespace

QSize JpegHeaderSize(const QByteArray& bytes) {
  if (bytes.isEmpty()) return QSize();
  Decoder d;
  if (!ReadHeader(d, bytes)) return QSize();
  return QSize(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
}

QImage DecodeJpeg(const QByteArray& bytes) {
  if (bytes.isEmpty()) return QImage();
  Decoder d;
  if (!ReadHeader(d, bytes)) return QImage();
  const QSize size(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
  if (!PictureSizeAllowed(size)) return QImage();
  const QImage::Format format = OutputFormatFor(d.info);
  if (!StartDecoding(d)) return QImage();
  const int components = d.info.out_color_space == JCS_CMYK ? 4 : d.info.output_components;
  const int expected = format == QImage::Format_Grayscale8 ? 1 : format == QImage::Format_RGB888 ? 3 : 4;
  if (components != expected) return QImage();
  QImage image(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height), format);
  if (image.isNull()) return QImage();
  if (!ReadRows(d, image)) return QImage();
  return image.convertToFormat(QImage::Format_RGB32);
}
