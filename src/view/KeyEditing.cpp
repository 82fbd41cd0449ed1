#include "view/KeyEditing.h"

#include "base/ColorPair.h"
#include "base/ShiftJis.h"

bool EnterMayBreakLine(const QString& text) { return EditorTextLines(text).size() <= 1; }

int LineBytes(const QString& line) { return static_cast<int>(sjis::Encode(line).size()); }

int KeptCharacters(const QString& line, int bytes) {
  // Character by character, a surrogate pair as one: only the characters up
  // to the limit are encoded, however long the line.
  int kept = 0, used = 0;
  while (kept < line.size()) {
    const int width = line[kept].isHighSurrogate() && kept + 1 < line.size() ? 2 : 1;
    used += LineBytes(line.mid(kept, width));
    if (used > bytes) break;
    kept += width;
  }
  return kept;
}

KeyTextWrite CommitKeyText(StripDocument& document, qsizetype keyLine, const QStringList& editorLines) {
  KeyTextWrite result;
  for (const QString& line : editorLines) {
    const QByteArray bytes = sjis::Encode(line);
    result.text.append(CutToBytes(bytes, layout::kTextLineBytes));
    result.cut = result.cut || result.text.back().size() < bytes.size();
  }
  result.lineDelta = WriteKeyText(document, keyLine, result.text);
  return result;
}

KeyTextWrite ApplyKeyLabel(StripDocument& document, qsizetype keyLine, const KeyLabelValues& label) {
  const QByteArray pair = LineAt(document.lines(), keyLine + layout::kColorPair);
  KeyTextLinesOf(document.lines(), keyLine);  // checked before the first write
  auto replaceIfDifferent = [&document](qsizetype line, const QByteArray& value) {
    if (document.at(line) != value) document.Replace(line, value);
  };
  // The block from the top down, as every key write records its changes.
  replaceIfDifferent(keyLine + layout::kFontName, label.fontName);
  replaceIfDifferent(keyLine + layout::kFontSize, QByteArray::number(label.fontSize));
  replaceIfDifferent(keyLine + layout::kColorPair, WithBackColor(WithFontColor(pair, label.fontColor), label.backColor));
  KeyTextWrite result;
  result.text = label.text;
  result.lineDelta = ReplaceKeyTextLines(document, keyLine, label.text);
  return result;
}

bool KeyHasPicture(const StripDocument& document, qsizetype keyLine) {
  return KeyBlockHasPicture(document.lines(), keyLine);
}
