#include "document/CheckedRead.h"

#include "base/Numbers.h"

QByteArrayView LineViewAt(const Lines& lines, qsizetype i) {
  if (i < 0 || i >= lines.size()) {
    throw DocumentError(lines.size(), QStringLiteral("行が足りません"));
  }
  return lines.view(i);
}

QByteArray LineAt(const Lines& lines, qsizetype i) {
  LineViewAt(lines, i);
  return lines.at(i);
}

int ReadInt(const Lines& lines, qsizetype i) {
  std::optional<int> v = ParseInt(LineViewAt(lines, i));
  if (!v) throw DocumentError(i, QStringLiteral("整数"));
  return *v;
}

int ReadCount(const Lines& lines, qsizetype i) {
  std::optional<int> v = ParseInt(LineViewAt(lines, i));
  if (!v || *v < 0) throw DocumentError(i, QStringLiteral("0以上の個数"));
  return *v;
}

Decimal4 ReadDecimal(const Lines& lines, qsizetype i) {
  std::optional<Decimal4> v = Decimal4::FromText(LineViewAt(lines, i));
  if (!v) throw DocumentError(i, QStringLiteral("ミリメートルの数値"));
  return *v;
}
