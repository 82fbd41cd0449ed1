#include "DocumentBuilder.h"

#include "support/TestFiles.h"

Lines KeyBlock(const QByteArray& keyNumber, const Lines& texts) {
  Lines block{"1", "2", "20", "8", "0", "0", "3", "3", Sj("ＭＳ ゴシック"), "7", "0", "0", "0", "1",
              keyNumber, "2", "1", "17", "6", Sj("ＭＳ 明朝"), "9", "0", "0", "0", "2",
              "", "", "", "", "", "", ""};
  block.append(QByteArray::number(texts.size()));
  block.append(texts);
  return block;
}

Lines Group(const QList<Lines>& keys) {
  Lines group{"1", "10", "20", "60", "40", QByteArray::number(keys.size())};
  for (const Lines& key : keys) group.append(key);
  return group;
}

Lines StripBlock(int number, const QList<Lines>& groups, const QByteArray& extension) {
  Lines strip{QByteArray::number(number) + QByteArray(10, '\xFF'), extension, Sj("営業部"),
              Sj("山田"), "2017/03/05 14:07", Sj("Ｍｏシリーズ主装置"), Sj("標準")};
  strip.append(QByteArray::number(groups.size()));
  for (const Lines& group : groups) strip.append(group);
  return strip;
}

Lines Document(const QList<Lines>& strips) {
  Lines lines{"file-version:01.01.00.00", QByteArray::number(strips.size())};
  for (const Lines& strip : strips) lines.append(strip);
  return lines;
}

Lines SimpleDocument(int strips, int keys) {
  QList<Lines> blocks;
  for (int n = 1; n <= strips; ++n) {
    QList<Lines> keyBlocks;
    for (int k = 0; k < keys; ++k) {
      keyBlocks.append(KeyBlock(QByteArray::number(k + 1), {"S" + QByteArray::number(n), "K" + QByteArray::number(k)}));
    }
    blocks.append(StripBlock(n, {Group(keyBlocks)}, QByteArray::number(100 + n)));
  }
  return Document(blocks);
}
