#include "base/Numbers.h"

#include <climits>

std::optional<int> ParseInt(QByteArrayView text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == n) return std::nullopt;
  long long value = 0;
  for (; i < n; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

int ParseIntOr(QByteArrayView text, int fallback) {
  return ParseInt(text).value_or(fallback);
}
