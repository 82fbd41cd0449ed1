// The font names of the data and their installed stand-ins.
#include <gtest/gtest.h>

#include "base/Mainsub.h"

TEST(FontNamesTest, StandInsAreWrittenUnderTheNameTheyStandInFor) {
  EXPECT_EQ(DataFontName(QStringLiteral("IPAGothic")), QStringLiteral("ＭＳ ゴシック"));
  EXPECT_EQ(DataFontName(QStringLiteral("IPAPMincho")), QStringLiteral("ＭＳ Ｐ明朝"));
  EXPECT_EQ(DataFontName(QStringLiteral("IPA Pゴシック")), QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(DataFontName(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(SubstitutedFontNames().size(), 4);
}
