#pragma once
// Shift_JIS (code page 932) text: every file of the program is in it.
// Conversion goes through iconv's CP932 so that the vendor characters of
// Windows (NEC and IBM extensions, the wave dash of CP932...) round-trip.

#include <QByteArray>
#include <QString>
#include <optional>

namespace sjis {

// Bytes in CP932 to text. Bytes that are not valid CP932 become U+FFFD.
QString Decode(const QByteArray& bytes);

// Decodes many texts through one conversion: opening iconv costs more than
// converting a short key text line.
class Decoder {
 public:
  Decoder();
  ~Decoder();
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
  // As Decode.
  QString operator()(const QByteArray& bytes);

 private:
  void* cd_;  // the iconv descriptor
};

// Text to CP932 bytes. Characters without a CP932 form become '?'.
QByteArray Encode(const QString& text);
// The same, or nothing when a character has no CP932 form.
std::optional<QByteArray> EncodeExactly(const QString& text);

// True when b can start a double-byte character.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace sjis

// The first n bytes of a Shift_JIS text, or n - 1 bytes when byte n would
// start a double-byte character, so that no character is split.
QByteArray CutToBytes(const QByteArray& text, int n);
