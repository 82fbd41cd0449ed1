#include "keylabels/KeyLabelApply.h"

#include "base/ColorPair.h"

bool ApplyKeyLabel(StripDocument& document, qsizetype keyLine, const KeyLabelFormat& format,
                   const Lines& textLines, qsizetype* lineDelta) {
  if (lineDelta) *lineDelta = 0;
  const Lines& lines = document.lines();
  const qsizetype oldTextCount = KeyBlockLength(lines, keyLine) - layout::kKeyFixedLines;
  LineAt(lines, keyLine + layout::kFirstText + oldTextCount - 1);  // the whole block exists
  if (!LineAt(lines, keyLine + layout::kPictureKind).isEmpty()) return false;
  const QByteArray pair = WithBackColor(
      WithFontColor(LineAt(lines, keyLine + layout::kColorPair), format.fontColor), format.backColor);
  // Everything is checked; from here on the key changes.
  document.Replace(keyLine + layout::kFontName, format.fontName);
  document.Replace(keyLine + layout::kFontSize, QByteArray::number(format.fontSize));
  document.Replace(keyLine + layout::kColorPair, pair);
  document.Remove(keyLine + layout::kFirstText, oldTextCount);
  document.Insert(keyLine + layout::kFirstText, textLines);
  document.Replace(keyLine + layout::kTextCount, QByteArray::number(textLines.size()));
  if (lineDelta) *lineDelta = textLines.size() - oldTextCount;
  return true;
}
