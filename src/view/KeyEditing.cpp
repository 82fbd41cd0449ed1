#include "view/KeyEditing.h"

#include "base/ColorPair.h"
#include "base/ShiftJis.h"

namespace {

// Replaces the key's text lines by `text` and writes their count into line
// 32. The old count and lines are checked before anything is written.
// Lines the old and new text share are replaced in place, the rest inserted
// or removed in one go, so that the lines after the block move once.
qsizetype ReplaceTextLines(StripDocument& document, qsizetype keyLine, const Lines& text) {
  const qsizetype countLine = keyLine + layout::kTextCount;
  const qsizetype first = keyLine + layout::kFirstText;
  const int oldCount = ReadCount(document.lines(), countLine);
  if (oldCount > 0) LineAt(document.lines(), first + oldCount - 1);
  const qsizetype newCount = text.size();
  const qsizetype shared = qMin<qsizetype>(oldCount, newCount);
  for (qsizetype j = 0; j < shared; ++j) {
    if (document.at(first + j) != text[j]) document.Replace(first + j, text[j]);
  }
  if (newCount > oldCount) {
    document.Insert(first + oldCount, text.mid(oldCount));
  } else if (newCount < oldCount) {
    document.Remove(first + newCount, oldCount - newCount);
  }
  const QByteArray count = QByteArray::number(newCount);
  if (document.at(countLine) != count) document.Replace(countLine, count);
  return newCount - oldCount;
}

void ReplaceIfDifferent(StripDocument& document, qsizetype line, const QByteArray& value) {
  if (document.at(line) != value) document.Replace(line, value);
}

}  // namespace

QStringList EditorTextLines(const QString& text) {
  if (text.isEmpty()) return {};
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  plain.replace('\r', '\n');
  QStringList lines = plain.split('\n');
  if (lines.last().isEmpty()) lines.removeLast();
  return lines;
}

bool EnterMayBreakLine(const QString& text) { return EditorTextLines(text).size() <= 1; }

KeyTextWrite CommitKeyText(StripDocument& document, qsizetype keyLine, const QStringList& editorLines) {
  // The picture lines are checked with the rest before the first write.
  LineAt(document.lines(), keyLine + layout::kPictureData);
  KeyTextWrite result;
  for (const QString& line : editorLines) {
    result.text.append(CutToBytes(sjis::Encode(line), layout::kTextLineBytes));
  }
  result.lineDelta = ReplaceTextLines(document, keyLine, result.text);
  // Typed text replaces a picture.
  ReplaceIfDifferent(document, keyLine + layout::kPictureKind, QByteArray());
  ReplaceIfDifferent(document, keyLine + layout::kPictureData, QByteArray());
  return result;
}

KeyTextWrite ApplyKeyLabel(StripDocument& document, qsizetype keyLine, const KeyLabelValues& label) {
  const QByteArray pair = LineAt(document.lines(), keyLine + layout::kColorPair);
  KeyTextWrite result;
  result.text = label.text;
  result.lineDelta = ReplaceTextLines(document, keyLine, label.text);
  ReplaceIfDifferent(document, keyLine + layout::kFontName, label.fontName);
  ReplaceIfDifferent(document, keyLine + layout::kFontSize, QByteArray::number(label.fontSize));
  ReplaceIfDifferent(document, keyLine + layout::kColorPair,
                     WithBackColor(WithFontColor(pair, label.fontColor), label.backColor));
  return result;
}

bool KeyHasPicture(const StripDocument& document, qsizetype keyLine) {
  return !LineAt(document.lines(), keyLine + layout::kPictureKind).trimmed().isEmpty();
}
