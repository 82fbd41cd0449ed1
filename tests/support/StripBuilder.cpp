#include "support/StripBuilder.h"

#include "support/TestFiles.h"

TestKey::TestKey() : labelFont(Sj("ＭＳ Ｐゴシック")), font(Sj("ＭＳ 明朝")) {}

TestKey TestKey::Editable(int number, Lines text) {
  TestKey key;
  key.number = QByteArray::number(number);
  key.text = std::move(text);
  return key;
}

Lines TestKey::Block() const {
  Lines lines = {x, y, width, height,                                // 0-3
                 labelX, labelY, labelWidth, labelHeight,              // 4-7
                 labelFont, labelSize, labelColor, labelBold, labelItalic, labelAlign,
                 number,                                               // 14
                 textX, textY, textWidth, textHeight,                  // 15-18
                 font, size, colors, bold, italic, align,              // 19-24
                 "", "", "", "", "",                                   // 25-29
                 pictureKind, pictureData};                            // 30, 31
  lines.append(textCount.value_or(QByteArray::number(text.size())));
  lines.append(text);
  return lines;
}

Lines TestGroup::Block() const {
  Lines lines = {showNumbers, x, y, width, height,
                 keyCount.value_or(QByteArray::number(keys.size()))};
  for (const TestKey& key : keys) lines.append(key.Block());
  return lines;
}

TestStrip::TestStrip() : series(Sj("Ｔｅシリーズ主装置")), type(Sj("Ｔｅ標準")) {}

Lines TestStrip::Block() const {
  Lines lines = {extension, department, user, registered, series, type,
                 groupCount.value_or(QByteArray::number(groups.size()))};
  for (const TestGroup& group : groups) lines.append(group.Block());
  return lines;
}

TestStrip GridStrip(const QList<TestKey>& keys) {
  TestGroup group;
  group.width = "70";
  group.height = "32";
  for (qsizetype i = 0; i < keys.size(); ++i) {
    TestKey key = keys[i];
    const int x = 1 + static_cast<int>(i % 3) * 22;
    const int y = 1 + static_cast<int>(i / 3) * 14;
    key.x = key.labelX = QByteArray::number(x);
    key.y = key.labelY = QByteArray::number(y);
    key.textX = QByteArray::number(x + 2);
    key.textY = QByteArray::number(y + 3);
    group.keys.append(key);
  }
  TestStrip strip;
  strip.groups = {group};
  return strip;
}

Lines DocumentLines(const QList<TestStrip>& strips) {
  Lines lines = {"file-version:01.01.00.00", QByteArray::number(strips.size())};
  for (qsizetype i = 0; i < strips.size(); ++i) {
    lines.append(QByteArray::number(i + 1) + QByteArray(10, '\xFF'));
    lines.append(strips[i].Block());
  }
  return lines;
}
