// Base64, Shift_JIS and the numbers read out of lines.
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/Base64.h"
#include "base/ColorPair.h"
#include "base/Decimal4.h"
#include "base/Numbers.h"
#include "base/ShiftJis.h"
#include "document/StripLayout.h"

int FuzzBase64(const uint8_t* data, size_t size) {
  const QByteArray bytes = FuzzBytes(data, size);
  base64::Decode(bytes);
  FUZZ_ASSERT(base64::Decode(base64::Encode(bytes)) == bytes);
  return 0;
}

int FuzzShiftJis(const uint8_t* data, size_t size) {
  const QByteArray bytes = FuzzBytes(data, size);
  const QString text = sjis::Decode(bytes);
  sjis::Encode(text);
  // One decoder for many texts reads each as a fresh one would.
  sjis::Decoder decode;
  FUZZ_ASSERT(decode(bytes) == text);
  FUZZ_ASSERT(decode(bytes.left(bytes.size() / 2)) == sjis::Decode(bytes.left(bytes.size() / 2)));
  FUZZ_ASSERT(decode(bytes) == text);
  // CutToBytes: a prefix of at most n bytes, one short only for a split character.
  const int n = size > 0 ? data[0] % 48 : 0;
  const QByteArray cut = CutToBytes(bytes, n);
  FUZZ_ASSERT(bytes.startsWith(cut));
  FUZZ_ASSERT(cut.size() <= n || (n <= 0 && cut.isEmpty()));
  if (bytes.size() > n && n > 0) FUZZ_ASSERT(cut.size() >= n - 1);
  return 0;
}

int FuzzNumbers(const uint8_t* data, size_t size) {
  const QByteArray bytes = FuzzBytes(data, size);
  if (const std::optional<int> v = ParseInt(bytes)) FUZZ_ASSERT(ParseInt(QByteArray::number(*v)) == v);
  if (const std::optional<Decimal4> d = Decimal4::FromText(bytes)) {
    FUZZ_ASSERT(Decimal4::FromText(d->ToText()) == d);
    // Arithmetic on any value read stays defined.
    (void)(*d * *d / Decimal4::FromRaw(3) + *d - Decimal4::FromRaw(INT64_MIN));
    (void)d->ToInt();
  }
  const int color = ParseIntOr(bytes.left(12), 255);
  FUZZ_ASSERT(FontColorOf(WithFontColor(bytes, color)) == color);
  FUZZ_ASSERT(BackColorOf(WithBackColor(bytes, color)) == color);
  KeyNumberValue(bytes);
  KeyNumberShown(bytes);
  if (const int n = StripNumberOfSeparator(bytes); n > 0) FUZZ_ASSERT(SeparatorLine(n) == bytes);
  return 0;
}
