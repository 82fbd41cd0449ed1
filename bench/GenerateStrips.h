#pragma once
// Large strip documents for benchmarks: N strips of 48 keys in two groups,
// every key with two text lines, as a site's data file would hold them.

#include <QByteArray>
#include <QList>

#include "base/ShiftJis.h"
#include "document/StripLayout.h"

namespace bench {

inline constexpr int kGroupsPerStrip = 2;
inline constexpr int kKeysPerGroup = 24;

// One key block of the current layout, or of the old one (without the
// reserved and picture lines 25 to 31).
inline Lines GeneratedKey(int strip, int key, bool oldLayout) {
  static const QByteArray labelFont = sjis::Encode(QStringLiteral("ＭＳ ゴシック"));
  static const QByteArray textFont = sjis::Encode(QStringLiteral("ＭＳ 明朝"));
  static const QByteArray outside = sjis::Encode(QStringLiteral("外線"));
  static const QByteArray user = sjis::Encode(QStringLiteral("内線"));
  const QByteArray column = QByteArray::number(key % 12 * 12.5, 'f', 1);
  const QByteArray row = QByteArray::number(key / 12 * 9.25, 'f', 2);
  Lines lines{column, row, "12", "8.5", column, row, "3", "3", labelFont, "7", "0", "0", "0", "1",
              QByteArray::number(key + 1), column, row, "11.5", "6", textFont, "9",
              key % 5 == 0 ? "255,65535" : "0", "0", "0", "2"};
  if (!oldLayout) lines += Lines{"", "", "", "", "", "", ""};
  lines += Lines{"2", outside + QByteArray::number(key + 1), user + QByteArray::number(strip * 100 + key)};
  return lines;
}

inline Lines GeneratedStrip(int n, bool oldLayout) {
  static const QByteArray department = sjis::Encode(QStringLiteral("営業部"));
  static const QByteArray user = sjis::Encode(QStringLiteral("山田 太郎"));
  static const QByteArray series = sjis::Encode(QStringLiteral("Ｋａシリーズ主装置"));
  static const QByteArray type = sjis::Encode(QStringLiteral("標準Ｋａ４８"));
  Lines lines{SeparatorLine(n), QByteArray::number(1000 + n), department, user, "2024/04/01 09:30",
              series, type, QByteArray::number(kGroupsPerStrip)};
  for (int g = 0; g < kGroupsPerStrip; ++g) {
    lines += Lines{"1", g == 0 ? "5" : "80", "10", "70", "120", QByteArray::number(kKeysPerGroup)};
    for (int k = 0; k < kKeysPerGroup; ++k) lines += GeneratedKey(n, g * kKeysPerGroup + k, oldLayout);
  }
  return lines;
}

// A whole document of `strips` strips, in the current or the old layout.
inline Lines GeneratedDocument(int strips, bool oldLayout = false) {
  Lines lines;
  if (!oldLayout) lines.append(layout::kFormatVersionLine);
  lines.append(QByteArray::number(strips));
  for (int n = 1; n <= strips; ++n) lines += GeneratedStrip(n, oldLayout);
  return lines;
}

}  // namespace bench
