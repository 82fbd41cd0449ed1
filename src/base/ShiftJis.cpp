#include "base/ShiftJis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Runs iconv over the whole input. On an invalid or incomplete sequence the
// offending input unit is skipped and `replacement` is written instead, and
// `lost` (when given) is set.
QByteArray Convert(iconv_t cd, const QByteArray& input, int unitSize, const QByteArray& replacement,
                   bool* lost = nullptr) {
  if (cd == kNoConverter) return {};
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for every text
  QByteArray out;
  out.reserve(input.size() * 2);
  char buffer[1024];
  char* in = const_cast<char*>(input.constData());
  size_t inLeft = static_cast<size_t>(input.size());
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, static_cast<qsizetype>(sizeof buffer - oLeft));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip one unit of input.
      size_t skip = std::min<size_t>(static_cast<size_t>(unitSize), inLeft);
      in += skip;
      inLeft -= skip;
      out.append(replacement);
      if (lost) *lost = true;
    }
  }
  return out;
}

// Text to CP932 through one converter per thread: an import encodes every
// changed cell of a large file.
QByteArray EncodeUtf16(const QString& text, bool* lost) {
  struct Encoder {
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    ~Encoder() {
      if (cd != kNoConverter) iconv_close(cd);
    }
  };
  thread_local Encoder encoder;
  const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  if (encoder.cd == kNoConverter && lost) *lost = true;
  return Convert(encoder.cd, utf16, 2, "?", lost);
}

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

}  // namespace

namespace sjis {

QString Decode(const QByteArray& bytes) {
  // One converter per thread: the strip list decodes six texts per row.
  thread_local Decoder decoder;
  return decoder(bytes);
}

Decoder::Decoder() : cd_(iconv_open("UTF-8", "CP932")) {}

Decoder::~Decoder() {
  if (static_cast<iconv_t>(cd_) != kNoConverter) iconv_close(static_cast<iconv_t>(cd_));
}

QString Decoder::operator()(const QByteArray& bytes) {
  if (bytes.isEmpty()) return {};
  // Plain ASCII, as numbers and dates are, reads the same in CP932.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return QString::fromLatin1(bytes);
  }
  return QString::fromUtf8(Convert(static_cast<iconv_t>(cd_), bytes, 1, kReplacementUtf8));
}

QByteArray Encode(const QString& text) {
  if (text.isEmpty()) return {};
  return EncodeUtf16(text, nullptr);
}

std::optional<QByteArray> EncodeExactly(const QString& text) {
  if (text.isEmpty()) return QByteArray();
  bool lost = false;
  QByteArray bytes = EncodeUtf16(text, &lost);
  if (lost) return std::nullopt;
  return bytes;
}

}  // namespace sjis

QByteArray CutToBytes(const QByteArray& text, int n) {
  if (n <= 0) return {};
  if (text.size() <= n) return text;
  // Walk the characters from the start: a trail byte may look like a lead byte.
  int i = 0;
  while (i < n) {
    int width = sjis::IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > n) break;
    i += width;
  }
  return text.left(i);
}
