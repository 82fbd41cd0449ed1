#include "document/StripCheck.h"

#include "document/DataFile.h"
#include "document/StripLayout.h"

namespace {

using namespace layout;

// The lines a key block's reader takes as numbers; the rest (font names,
// the key number field, the colour pair, reserved and picture lines) are
// read leniently or as text and need only exist.
constexpr KeyLine kDecimalLines[] = {kKeyX,   kKeyY,  kKeyWidth,  kKeyHeight, kLabelX,
                                     kLabelY, kLabelWidth, kLabelHeight, kTextX, kTextY,
                                     kTextWidth, kTextHeight};
constexpr KeyLine kIntegerLines[] = {kLabelSize, kLabelColor, kLabelBold, kLabelItalic,
                                     kLabelAlign, kFontSize, kBold, kItalic, kAlign};

// Returns the key block's length.
qsizetype CheckKey(const Lines& lines, qsizetype keyLine) {
  for (KeyLine offset : kDecimalLines) ReadDecimal(lines, keyLine + offset);
  for (KeyLine offset : kIntegerLines) ReadInt(lines, keyLine + offset);
  LineAt(lines, keyLine + kPictureData);
  const int texts = ReadCount(lines, keyLine + kTextCount);
  if (texts > 0) LineAt(lines, keyLine + kFirstText + texts - 1);
  return kKeyFixedLines + texts;
}

void CheckGroupHeader(const Lines& lines, qsizetype groupLine) {
  ReadInt(lines, groupLine + kShowNumbers);
  for (int offset : {kGroupX, kGroupY, kGroupWidth, kGroupHeight}) ReadDecimal(lines, groupLine + offset);
}

DocumentError WithPlace(const DocumentError& e, const QString& place) {
  return DocumentError(e.Line(), place + QStringLiteral(": ") + e.Expected());
}

}  // namespace

int CheckStrip(const Lines& lines, qsizetype stripStart, qsizetype* end) {
  for (int offset = 0; offset < kHeaderLines; ++offset) LineAt(lines, stripStart + offset);
  const int groups = ReadCount(lines, stripStart + kGroupCount);
  if (groups > kMaxGroups) {
    throw DocumentError(stripStart + kGroupCount, QStringLiteral("%1以下のグループ数").arg(kMaxGroups));
  }
  qsizetype line = stripStart + kFirstGroup;
  int keys = 0;
  for (int g = 0; g < groups; ++g) {
    CheckGroupHeader(lines, line);
    const int groupKeys = ReadCount(lines, line + kKeyCount);
    if (groupKeys > kMaxKeys - keys) {  // not keys + groupKeys: that may overflow
      throw DocumentError(line + kKeyCount, QStringLiteral("合わせて%1以下のキー数").arg(kMaxKeys));
    }
    line += kGroupHeaderLines;
    for (int k = 0; k < groupKeys; ++k, ++keys) {
      try {
        line += CheckKey(lines, line);
      } catch (const DocumentError& e) {
        throw WithPlace(e, QStringLiteral("キー %1").arg(keys));
      }
    }
  }
  *end = line;
  return keys;
}

DocumentTotals CheckDocument(const Lines& lines) {
  DocumentTotals totals;
  if (lines.isEmpty()) return totals;
  if (!IsCurrentLayout(lines)) throw DocumentError(0, QString::fromLatin1(kFormatVersionLine));
  const int strips = ReadCount(lines, 1);
  qsizetype line = 2;
  for (int n = 1; n <= strips; ++n) {
    if (line >= lines.size() || lines[line] != SeparatorLine(n)) {
      throw DocumentError(line, QStringLiteral("示名条 %1 の区切り行").arg(n));
    }
    try {
      totals.keys += CheckStrip(lines, line + 1, &line);
    } catch (const DocumentError& e) {
      throw WithPlace(e, QStringLiteral("示名条 %1").arg(n));
    }
    ++totals.strips;
  }
  if (line < lines.size()) {
    throw DocumentError(line, QStringLiteral("ファイルの終わり（示名条は %1 個）").arg(strips));
  }
  return totals;
}
