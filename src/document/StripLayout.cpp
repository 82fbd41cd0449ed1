#include "document/StripLayout.h"

#include <cstdlib>

#include "base/Numbers.h"

QByteArray SeparatorLine(int n) {
  return QByteArray::number(n) + QByteArray(layout::kSeparatorFillBytes, '\xFF');
}

int StripNumberOfSeparator(const QByteArray& line) {
  const qsizetype digits = line.size() - layout::kSeparatorFillBytes;
  if (digits <= 0 || digits > 10) return 0;
  for (qsizetype i = digits; i < line.size(); ++i) {
    if (static_cast<unsigned char>(line[i]) != 0xFF) return 0;
  }
  if (line[0] == '0') return 0;  // "07" is not the separator of strip 7
  for (qsizetype i = 0; i < digits; ++i) {
    if (line[i] < '0' || line[i] > '9') return 0;
  }
  // Ten digits may lie beyond int; such a line is no strip's separator.
  return ParseIntOr(line.left(digits), 0);
}

qsizetype KeyBlockLength(const Lines& lines, qsizetype keyLine) {
  return layout::kKeyFixedLines + ReadCount(lines, keyLine + layout::kTextCount);
}

qsizetype GroupLength(const Lines& lines, qsizetype groupLine) {
  const int keys = ReadCount(lines, groupLine + layout::kKeyCount);
  qsizetype line = groupLine + layout::kGroupHeaderLines;
  for (int i = 0; i < keys; ++i) line += KeyBlockLength(lines, line);
  return line - groupLine;
}

qsizetype KeyBlockLine(const Lines& lines, qsizetype stripStart, int k) {
  if (k < 0) throw DocumentError(stripStart + layout::kGroupCount, QStringLiteral("キー"));
  const int groups = ReadCount(lines, stripStart + layout::kGroupCount);
  qsizetype line = stripStart + layout::kFirstGroup;
  for (int g = 0; g < groups; ++g) {
    const int keys = ReadCount(lines, line + layout::kKeyCount);
    if (k >= keys) {
      k -= keys;
      line += GroupLength(lines, line);
      continue;
    }
    line += layout::kGroupHeaderLines;
    for (int i = 0; i < k; ++i) line += KeyBlockLength(lines, line);
    // A text count too large on the way must not yield a block past the end.
    LineAt(lines, line + layout::kTextCount);
    return line;
  }
  throw DocumentError(line, QStringLiteral("キー"));
}

int GroupFirstKey(const Lines& lines, qsizetype stripStart, int g) {
  const int groups = ReadCount(lines, stripStart + layout::kGroupCount);
  if (g >= groups) return 0;
  int first = 0;
  qsizetype line = stripStart + layout::kFirstGroup;
  for (int i = 0; i < g; ++i) {
    first += ReadCount(lines, line + layout::kKeyCount);
    line += GroupLength(lines, line);
  }
  return first;
}

int KeyNumberValue(const QByteArray& field) { return ParseIntOr(field, 0); }

int KeyNumberShown(const QByteArray& field) { return std::abs(ParseIntOr(field.left(3), 0)); }
