#pragma once
// Whole pixels from a Decimal4 position or length: truncation toward zero.
// Values are held within +-2^24 pixels, far beyond any sheet, so that sizes
// and differences computed from damaged millimetre values cannot overflow.

#include <algorithm>

#include "base/Decimal4.h"

inline constexpr int kPixelLimit = 1 << 24;

inline int ToPixel(Decimal4 value) {
  const int64_t whole = value.Raw() / Decimal4::kScale;
  return static_cast<int>(std::clamp<int64_t>(whole, -kPixelLimit, kPixelLimit));
}
