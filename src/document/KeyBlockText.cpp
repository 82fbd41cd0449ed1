#include "document/KeyBlockText.h"

namespace {

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

Lines KeyTextLinesOf(const Lines& lines, qsizetype keyLine) {
  const int count = ReadCount(lines, keyLine + layout::kTextCount);
  const qsizetype first = keyLine + layout::kFirstText;
  if (count > 0) LineAt(lines, first + count - 1);
  return lines.mid(first, count);
}

bool KeyBlockHasPicture(const Lines& lines, qsizetype keyLine) {
  return !LineAt(lines, keyLine + layout::kPictureKind).trimmed().isEmpty();
}

qsizetype ReplaceKeyTextLines(StripDocument& document, qsizetype keyLine, const Lines& text) {
  const qsizetype countLine = keyLine + layout::kTextCount;
  const qsizetype first = keyLine + layout::kFirstText;
  const int oldCount = ReadCount(document.lines(), countLine);
  if (oldCount > 0) LineAt(document.lines(), first + oldCount - 1);
  const qsizetype newCount = text.size();
  // Written from the top of the block down, so that the changes a write
  // records run forward through the document.
  ReplaceIfDifferent(document, countLine, QByteArray::number(newCount));
  const qsizetype shared = qMin<qsizetype>(oldCount, newCount);
  for (qsizetype j = 0; j < shared; ++j) {
    if (document.at(first + j) != text[j]) document.Replace(first + j, text[j]);
  }
  if (newCount > oldCount) {
    document.Insert(first + oldCount, text.mid(oldCount));
  } else if (newCount < oldCount) {
    document.Remove(first + newCount, oldCount - newCount);
  }
  return newCount - oldCount;
}

qsizetype WriteKeyText(StripDocument& document, qsizetype keyLine, const Lines& text) {
  // The picture lines are checked with the rest before the first write.
  LineAt(document.lines(), keyLine + layout::kPictureData);
  KeyTextLinesOf(document.lines(), keyLine);
  // Typed text replaces a picture.
  ReplaceIfDifferent(document, keyLine + layout::kPictureKind, QByteArray());
  ReplaceIfDifferent(document, keyLine + layout::kPictureData, QByteArray());
  return ReplaceKeyTextLines(document, keyLine, text);
}
