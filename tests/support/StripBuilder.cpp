#include "support/StripBuilder.h"

#include "support/TestFiles.h"

KeySpec::KeySpec() : labelFont(Sj("ＭＳ Ｐゴシック")), font(Sj("ＭＳ 明朝")) {}

KeySpec KeySpec::Editable(int number, Lines text) {
  KeySpec key;
  key.number = QByteArray::number(number);
  key.text = std::move(text);
  return key;
}

Lines KeySpec::Block() const {
  Lines lines = {x,         y,          width,      height,      labelX,      labelY,
                 labelWidth, labelHeight, labelFont, labelSize,   labelColor,  labelBold,
                 labelItalic, labelAlign, number,    textX,       textY,       textWidth,
                 textHeight, font,       size,       colors,      bold,        italic,
                 align,      "",         "",         "",          "",          "",
                 pictureKind, pictureData};
  lines.append(textCount.value_or(QByteArray::number(text.size())));
  lines.append(text);
  return lines;
}

Lines GroupSpec::Block() const {
  Lines lines = {showNumbers, x, y, width, height,
                 keyCount.value_or(QByteArray::number(keys.size()))};
  for (const KeySpec& key : keys) lines.append(key.Block());
  return lines;
}

StripSpec::StripSpec() : series(Sj("Ｔｅシリーズ主装置")), type(Sj("Ｔｅ標準")) {}

Lines StripSpec::Block() const {
  Lines lines = {extension, department, user, registered, series, type,
                 groupCount.value_or(QByteArray::number(groups.size()))};
  for (const GroupSpec& group : groups) lines.append(group.Block());
  return lines;
}

Lines DocumentLines(const QList<StripSpec>& strips) {
  Lines lines = {"file-version:01.01.00.00", QByteArray::number(strips.size())};
  for (qsizetype i = 0; i < strips.size(); ++i) {
    lines.append(QByteArray::number(i + 1) + QByteArray(10, '\xFF'));
    lines.append(strips[i].Block());
  }
  return lines;
}
