// The colour pair line of keys and palette entries.
#include <gtest/gtest.h>

#include "base/ColorPair.h"

TEST(ColorPair, ReadsBothColoursWithDefaults) {
  EXPECT_EQ(FontColorOf("255"), 255);
  EXPECT_EQ(BackColorOf("255"), kWinWhite);
  EXPECT_EQ(FontColorOf("0,65535"), 0);
  EXPECT_EQ(BackColorOf("0,65535"), 65535);
  EXPECT_EQ(FontColorOf("red,blue"), kWinBlack);
  EXPECT_EQ(BackColorOf("red,blue"), kWinWhite);
  EXPECT_EQ(FontColorOf(""), kWinBlack);
  EXPECT_EQ(BackColorOf("1,"), kWinWhite);
}

TEST(ColorPair, ReplacesOneColourKeepingTheOther) {
  EXPECT_EQ(WithBackColor("255", 65535), QByteArray("255,65535"));
  EXPECT_EQ(WithFontColor("255", 0), QByteArray("0,16777215"));
  EXPECT_EQ(WithBackColor("255", 65280), QByteArray("255,65280"));
  EXPECT_EQ(WithFontColor("1,2", 3), QByteArray("3,2"));
  EXPECT_EQ(WithBackColor(WithFontColor("0", 0), kWinWhite), QByteArray("0,16777215"));
}

TEST(ColorPair, ConvertsWindowsColourValues) {
  EXPECT_EQ(QColorFromWin(255), QColor(255, 0, 0));
  EXPECT_EQ(QColorFromWin(65535), QColor(255, 255, 0));
  EXPECT_EQ(QColorFromWin(12632256), QColor(192, 192, 192));
  EXPECT_EQ(WinFromQColor(QColor(0, 0, 255)), 16711680);
  EXPECT_EQ(WinFromQColor(QColorFromWin(8421504)), 8421504);
}
