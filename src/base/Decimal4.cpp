#include "base/Decimal4.h"

#include <cmath>
#include <limits>

namespace {

constexpr int64_t kMaxWhole = 1'000'000'000;  // larger values are no sane millimetres

int64_t Clamp(__int128 v) {
  constexpr int64_t hi = std::numeric_limits<int64_t>::max();
  constexpr int64_t lo = std::numeric_limits<int64_t>::min();
  if (v > hi) return hi;
  if (v < lo) return lo;
  return static_cast<int64_t>(v);
}

}  // namespace

Decimal4 Decimal4::FromDouble(double value) {
  return Decimal4(static_cast<int64_t>(std::nearbyint(value * kScale)));
}

std::optional<Decimal4> Decimal4::FromText(QByteArrayView text) {
  qsizetype i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t whole = 0;
  int wholeDigits = 0;
  for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i, ++wholeDigits) {
    whole = whole * 10 + (text[i] - '0');
    if (whole > kMaxWhole) return std::nullopt;
  }
  int64_t fraction = 0;  // four places
  int fractionDigits = 0;
  bool roundUp = false;
  if (i < n && text[i] == '.') {
    for (++i; i < n && text[i] >= '0' && text[i] <= '9'; ++i, ++fractionDigits) {
      if (fractionDigits < 4) fraction = fraction * 10 + (text[i] - '0');
      else if (fractionDigits == 4) roundUp = text[i] >= '5';
    }
  }
  if (i != n || wholeDigits + fractionDigits == 0) return std::nullopt;
  for (int d = fractionDigits; d < 4; ++d) fraction *= 10;
  const int64_t raw = whole * kScale + fraction + (roundUp ? 1 : 0);
  if (raw > kMaxWhole * kScale) return std::nullopt;  // "1000000000.00005" rounds past the limit
  return Decimal4(negative ? -raw : raw);
}

QByteArray Decimal4::ToText() const {
  // The magnitude unsigned: a value held at the low end has no positive twin.
  const uint64_t a = raw_ < 0 ? 0 - static_cast<uint64_t>(raw_) : static_cast<uint64_t>(raw_);
  QByteArray text = QByteArray::number(static_cast<qulonglong>(a / kScale));
  const uint64_t fraction = a % kScale;
  if (fraction != 0) {
    QByteArray digits = QByteArray::number(static_cast<qulonglong>(fraction)).rightJustified(4, '0');
    while (digits.endsWith('0')) digits.chop(1);
    text += '.' + digits;
  }
  return raw_ < 0 ? '-' + text : text;
}

Decimal4 operator*(Decimal4 a, Decimal4 b) {
  __int128 p = static_cast<__int128>(a.raw_) * b.raw_;
  return Decimal4(Clamp(p / Decimal4::kScale));
}

Decimal4 operator/(Decimal4 a, Decimal4 b) {
  if (b.raw_ == 0) return Decimal4();
  __int128 q = static_cast<__int128>(a.raw_) * Decimal4::kScale / b.raw_;
  return Decimal4(Clamp(q));
}
