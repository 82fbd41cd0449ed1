#include "view/KeyEditing.h"

#include "base/ColorPair.h"
#include "base/ShiftJis.h"

bool EnterMayBreakLine(const QString& text) { return EditorTextLines(text).size() <= 1; }

KeyTextWrite CommitKeyText(StripDocument& document, qsizetype keyLine, const QStringList& editorLines) {
  KeyTextWrite result;
  for (const QString& line : editorLines) {
    result.text.append(CutToBytes(sjis::Encode(line), layout::kTextLineBytes));
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
