#pragma once
// Builds strip documents line by line in the data file's layout, for tests.
// Every field is the raw line, so a test can put a damaged value anywhere;
// the counts are derived from the lists unless set explicitly.

#include <QByteArray>
#include <QList>
#include <optional>

#include "base/Lines.h"

struct TestKey {
  // Key outline, number label and text area: mm from the group's origin.
  QByteArray x = "1", y = "1", width = "18", height = "12";
  QByteArray labelX = "1", labelY = "1", labelWidth = "5", labelHeight = "3";
  QByteArray labelFont, labelSize = "9", labelColor = "0", labelBold = "0", labelItalic = "0",
                        labelAlign = "1";
  QByteArray number = "1";  // key number field
  QByteArray textX = "2", textY = "4", textWidth = "14", textHeight = "8";
  QByteArray font, size = "9", colors = "0", bold = "0", italic = "0", align = "2";
  QByteArray pictureKind, pictureData;
  std::optional<QByteArray> textCount;  // line 32; the size of `text` when not set
  Lines text;

  TestKey();  // label font "ＭＳ Ｐゴシック", text font "ＭＳ 明朝"
  // An editable key with the given number and text lines.
  static TestKey Editable(int number, Lines text = {});
  Lines Block() const;
};

struct TestGroup {
  QByteArray showNumbers = "1", x = "10", y = "20", width = "40", height = "30";
  std::optional<QByteArray> keyCount;  // line 5; the size of `keys` when not set
  QList<TestKey> keys;

  Lines Block() const;
};

struct TestStrip {
  QByteArray extension = "201", department, user, registered = "2017/03/05 14:07";
  QByteArray series, type;
  std::optional<QByteArray> groupCount;  // line 6; the size of `groups` when not set
  QList<TestGroup> groups;

  TestStrip();  // series "Ｔｅシリーズ主装置", type "Ｔｅ標準"
  // The strip's lines from its extension number on (no separator line).
  Lines Block() const;
};

// One group of 70 x 32 mm holding the given keys three a row, 22 x 14 mm
// apart; each key's label and text area move with it.
TestStrip GridStrip(const QList<TestKey>& keys);

// A whole document: format version line, strip count and each strip after
// its separator line. The first strip starts at line 3.
Lines DocumentLines(const QList<TestStrip>& strips);
inline constexpr qsizetype kFirstStripStart = 3;
