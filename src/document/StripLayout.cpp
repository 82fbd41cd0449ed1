#include "document/StripLayout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "base/Numbers.h"

QByteArray SeparatorLine(int n) {
  return QByteArray::number(n) + QByteArray(layout::kSeparatorFillBytes, '\xFF');
}

int StripNumberOfSeparator(QByteArrayView line) {
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
  return ParseIntOr(line.first(digits), 0);
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

std::vector<qsizetype> KeyBlockLines(const Lines& lines, qsizetype stripStart) {
  const int groups = ReadCount(lines, stripStart + layout::kGroupCount);
  if (groups > layout::kMaxGroups) throw DocumentError(stripStart + layout::kGroupCount, QStringLiteral("グループ数"));
  std::vector<qsizetype> keyLines;
  qsizetype line = stripStart + layout::kFirstGroup;
  for (int g = 0; g < groups; ++g) {
    const int keys = ReadCount(lines, line + layout::kKeyCount);
    if (keys > layout::kMaxKeys - static_cast<int>(keyLines.size())) {
      throw DocumentError(line + layout::kKeyCount, QStringLiteral("キー数"));
    }
    line += layout::kGroupHeaderLines;
    for (int k = 0; k < keys; ++k) {
      keyLines.push_back(line);
      line += KeyBlockLength(lines, line);
    }
  }
  // The last block's text lines must lie inside the document too.
  if (line > lines.size()) throw DocumentError(lines.size(), QStringLiteral("キー"));
  return keyLines;
}

namespace {

// A count line that may be missing: -1 for anything but a count.
int CountOrMinus(const Lines& lines, qsizetype i) {
  if (i < 0 || i >= lines.size()) return -1;
  return std::max(ParseIntOr(lines.view(i), -1), -1);
}

}  // namespace

qsizetype WalkedStripEnd(const Lines& lines, qsizetype stripStart) {
  const int groups = CountOrMinus(lines, stripStart + layout::kGroupCount);
  if (groups < 0 || groups > layout::kMaxGroups) return -1;
  qsizetype line = stripStart + layout::kFirstGroup;
  int keysLeft = layout::kMaxKeys;
  for (int g = 0; g < groups; ++g) {
    const int keys = CountOrMinus(lines, line + layout::kKeyCount);
    if (keys < 0 || keys > keysLeft) return -1;
    keysLeft -= keys;
    line += layout::kGroupHeaderLines;
    for (int k = 0; k < keys; ++k) {
      const int texts = CountOrMinus(lines, line + layout::kTextCount);
      if (texts < 0) return -1;
      line += layout::kKeyFixedLines + static_cast<qsizetype>(texts);
    }
  }
  return line <= lines.size() ? line : -1;
}

int GroupFirstKey(const Lines& lines, qsizetype stripStart, int g) {
  const int groups = ReadCount(lines, stripStart + layout::kGroupCount);
  if (g >= groups) return 0;
  int first = 0;
  qsizetype line = stripStart + layout::kFirstGroup;
  for (int i = 0; i < g; ++i) {
    const int keys = ReadCount(lines, line + layout::kKeyCount);
    first = keys > INT_MAX - first ? INT_MAX : first + keys;
    line += GroupLength(lines, line);
  }
  return first;
}

int KeyNumberValue(const QByteArray& field) { return ParseIntOr(field, 0); }

int KeyNumberShown(const QByteArray& field) { return std::abs(ParseIntOr(field.left(3), 0)); }
