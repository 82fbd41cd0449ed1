// Shift_JIS conversion, byte cutting, numbers and Base64.
#include <gtest/gtest.h>

#include "base/Base64.h"
#include "base/Numbers.h"
#include "base/ShiftJis.h"
#include "support/TestFiles.h"

TEST(ShiftJis, RoundTripsJapaneseAndVendorCharacters) {
  const QString text = QString::fromUtf8("内線：①ﾃﾞｰﾀ～ＭＳ Ｐゴシック");
  QByteArray bytes = sjis::Encode(text);
  EXPECT_EQ(bytes.left(4), QByteArray("\x93\xE0\x90\xFC"));  // 内線
  EXPECT_EQ(sjis::Decode(bytes), text);
}

TEST(ShiftJis, InvalidBytesDecodeWithoutLosingTheRest) {
  QByteArray bytes = QByteArray("12") + QByteArray(10, '\xFF') + "A";
  QString text = sjis::Decode(bytes);
  EXPECT_TRUE(text.startsWith("12"));
  EXPECT_TRUE(text.endsWith("A"));
}

TEST(CutToBytes, KeepsDoubleByteCharactersWhole) {
  EXPECT_EQ(CutToBytes("abc", 20), QByteArray("abc"));
  EXPECT_EQ(CutToBytes(QByteArray(25, 'x'), 20), QByteArray(20, 'x'));
  // 19 single bytes then a double-byte character: byte 20 is its lead byte.
  QByteArray text = QByteArray(19, 'x') + Sj("漢");
  EXPECT_EQ(CutToBytes(text, 20), QByteArray(19, 'x'));
  // Ten double-byte characters are exactly 20 bytes; an eleventh is dropped.
  QByteArray wide = Sj("あいうえおかきくけこさ");
  EXPECT_EQ(CutToBytes(wide, 20), Sj("あいうえおかきくけこ"));
  // A trail byte in the lead-byte range (汚 is 89 98) must not be taken for
  // a lead byte: the walk goes character by character from the start.
  QByteArray tricky = Sj("ア") + QByteArray(17, 'y') + Sj("汚") + "z";  // 汚 = 89 98
  EXPECT_EQ(CutToBytes(tricky, 20), Sj("ア") + QByteArray(17, 'y'));
  EXPECT_EQ(CutToBytes(tricky, 21), Sj("ア") + QByteArray(17, 'y') + Sj("汚"));
}

TEST(Numbers, ParsesOnlyWholeDecimalIntegers) {
  EXPECT_EQ(ParseInt("12"), 12);
  EXPECT_EQ(ParseInt("-05"), -5);
  EXPECT_EQ(ParseInt("+7"), 7);
  EXPECT_EQ(ParseInt(" 3"), 3);
  EXPECT_FALSE(ParseInt(""));
  EXPECT_FALSE(ParseInt("-"));
  EXPECT_FALSE(ParseInt("1.5"));
  EXPECT_FALSE(ParseInt("12a"));
  EXPECT_FALSE(ParseInt("3 "));
  EXPECT_FALSE(ParseInt("99999999999"));
  EXPECT_EQ(ParseInt("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseIntOr("x", 9), 9);
}

TEST(Base64, EncodesWithPadding) {
  EXPECT_EQ(base64::Encode(""), QByteArray(""));
  EXPECT_EQ(base64::Encode("a"), QByteArray("YQ=="));    // 3n + 1 bytes
  EXPECT_EQ(base64::Encode("ab"), QByteArray("YWI="));   // 3n + 2 bytes
  EXPECT_EQ(base64::Encode("abc"), QByteArray("YWJj"));
  EXPECT_EQ(base64::Encode(QByteArray("\xFF\xFE\x00", 3)), QByteArray("//4A"));
}

TEST(Base64, DecodesLenientlyGroupByGroup) {
  EXPECT_EQ(base64::Decode("YQ=="), QByteArray("a"));
  EXPECT_EQ(base64::Decode("YWI="), QByteArray("ab"));
  EXPECT_EQ(base64::Decode("YWJjZA=="), QByteArray("abcd"));
  // A character outside the alphabet counts as 0 and shortens its group.
  EXPECT_EQ(base64::Decode("Y*Jj").size(), 2);
  // A short final group is shortened like a padded one.
  EXPECT_EQ(base64::Decode("YWJjYQ"), QByteArray("abca"));
  EXPECT_EQ(base64::Decode("!!!!"), QByteArray());
  QByteArray all;
  for (int i = 0; i < 256; ++i) all.append(static_cast<char>(i));
  EXPECT_EQ(base64::Decode(base64::Encode(all)), all);
}
