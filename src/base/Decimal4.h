#pragma once
// Fixed-point decimal with four places: the value times 10000 in a signed
// 64-bit integer. Every millimetre value, scale and intermediate pixel
// position goes through it, so screen and paper land on the same pixels.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

class Decimal4 {
 public:
  constexpr Decimal4() = default;

  static constexpr Decimal4 FromRaw(int64_t raw) { return Decimal4(raw); }
  // Held at the ends of the range rather than overflowing.
  static constexpr Decimal4 FromInt(int64_t n) {
    int64_t raw = 0;
    if (__builtin_mul_overflow(n, kScale, &raw)) return Decimal4(n < 0 ? kMin : kMax);
    return Decimal4(raw);
  }
  // A floating constant: value x 10000 rounded to nearest, ties to even.
  static Decimal4 FromDouble(double value);
  // Decimal text with "." as the point, rounded to four places (halves away
  // from zero). Surrounding spaces are allowed; anything else is no number,
  // as is a value beyond a billion (after rounding).
  static std::optional<Decimal4> FromText(QByteArrayView text);

  constexpr int64_t Raw() const { return raw_; }
  // Whole pixels: truncation toward zero.
  constexpr int ToInt() const { return static_cast<int>(raw_ / kScale); }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  // The value as decimal text with up to four places, trailing zeros dropped.
  QByteArray ToText() const;

  // Sums and differences are held at the ends of the range: values from
  // damaged files may come near them, and must never overflow.
  friend constexpr Decimal4 operator+(Decimal4 a, Decimal4 b) {
    int64_t raw = 0;
    if (__builtin_add_overflow(a.raw_, b.raw_, &raw)) return Decimal4(b.raw_ < 0 ? kMin : kMax);
    return Decimal4(raw);
  }
  friend constexpr Decimal4 operator-(Decimal4 a, Decimal4 b) {
    int64_t raw = 0;
    if (__builtin_sub_overflow(a.raw_, b.raw_, &raw)) return Decimal4(b.raw_ < 0 ? kMax : kMin);
    return Decimal4(raw);
  }
  friend constexpr Decimal4 operator-(Decimal4 a) { return Decimal4() - a; }
  // Products and quotients truncate toward zero to four places.
  friend Decimal4 operator*(Decimal4 a, Decimal4 b);
  // Division by zero gives zero rather than a fault.
  friend Decimal4 operator/(Decimal4 a, Decimal4 b);
  friend constexpr auto operator<=>(Decimal4 a, Decimal4 b) = default;

  static constexpr int64_t kScale = 10000;
  static constexpr int64_t kMax = INT64_MAX;
  static constexpr int64_t kMin = INT64_MIN;

 private:
  constexpr explicit Decimal4(int64_t raw) : raw_(raw) {}
  int64_t raw_ = 0;
};
