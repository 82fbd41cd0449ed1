// The fixed-point rules that decide every pixel of the views and the paper.
#include <gtest/gtest.h>

#include "base/Decimal4.h"

namespace {
Decimal4 T(const char* text) { return *Decimal4::FromText(text); }
}  // namespace

TEST(Decimal4, ParsesTextRoundingToFourPlaces) {
  EXPECT_EQ(T("10").Raw(), 100000);
  EXPECT_EQ(T("1.5").Raw(), 15000);
  EXPECT_EQ(T("-2.25").Raw(), -22500);
  EXPECT_EQ(T(".5").Raw(), 5000);
  EXPECT_EQ(T("3.").Raw(), 30000);
  EXPECT_EQ(T("0.12344").Raw(), 1234);
  EXPECT_EQ(T("0.12345").Raw(), 1235);
  EXPECT_EQ(T("-0.12345").Raw(), -1235);
  EXPECT_EQ(T(" 4.2 ").Raw(), 42000);
  for (const char* bad : {"", ".", "-", "1,5", "abc", "1e3", "1.2.3", "99999999999"}) {
    EXPECT_FALSE(Decimal4::FromText(bad)) << bad;
  }
}

TEST(Decimal4, FloatConstantsRoundTiesToEven) {
  EXPECT_EQ(Decimal4::FromDouble(650.5).Raw(), 6505000);
  EXPECT_EQ(Decimal4::FromDouble(0.03125).Raw(), 312);  // 312.5 -> 312
  EXPECT_EQ(Decimal4::FromDouble(0.09375).Raw(), 938);  // 937.5 -> 938
  EXPECT_EQ(Decimal4::FromDouble(-793.4).Raw(), -7934000);
}

TEST(Decimal4, ProductsAndQuotientsTruncateTowardZero) {
  Decimal4 sx = Decimal4::FromDouble(650.5) / Decimal4::FromInt(148);
  Decimal4 sy = Decimal4::FromDouble(793.4) / Decimal4::FromInt(210);
  EXPECT_EQ(sx.Raw(), 43952);
  EXPECT_EQ(sy.Raw(), 37780);
  EXPECT_EQ((Decimal4::FromInt(688) / Decimal4::FromInt(148)).Raw(), 46486);
  EXPECT_EQ((Decimal4::FromInt(626) / Decimal4::FromInt(210)).Raw(), 29809);
  // The worked example: text panel left and top.
  EXPECT_EQ((sx * T("11.5")).Raw(), 505448);
  EXPECT_EQ((sx * T("11.5")).ToInt(), 50);
  EXPECT_EQ((sy * T("22")).ToInt(), 83);
  // Negative values truncate toward zero too.
  EXPECT_EQ((T("-1.00005") * T("1")).Raw(), -10001);
  EXPECT_EQ((T("-0.0001") * T("0.5")).Raw(), 0);
  EXPECT_EQ((T("-7") / T("2")).Raw(), -35000);
  EXPECT_EQ((T("-1") / T("3")).Raw(), -3333);
  EXPECT_EQ(T("-2.7").ToInt(), -2);
  EXPECT_EQ((T("1") / T("0")).Raw(), 0);
}

TEST(Decimal4, WritesShortestText) {
  EXPECT_EQ(T("12.5000").ToText(), QByteArray("12.5"));
  EXPECT_EQ(T("-0.05").ToText(), QByteArray("-0.05"));
  EXPECT_EQ(T("7").ToText(), QByteArray("7"));
}

TEST(Decimal4, ValuesAtTheEndsOfTheRangeHoldThere) {
  // A billion is the largest value text may give, also after rounding.
  EXPECT_EQ(T("1000000000").Raw(), 10'000'000'000'000);
  EXPECT_EQ(T("-1000000000.00004").Raw(), -10'000'000'000'000);
  for (const char* bad : {"1000000000.00005", "1000000000.5", "-1000000000.0001", "1000000001"}) {
    EXPECT_FALSE(Decimal4::FromText(bad)) << bad;
  }
  const Decimal4 top = Decimal4::FromRaw(INT64_MAX), bottom = Decimal4::FromRaw(INT64_MIN);
  // Products beyond the range are held at its ends; sums and differences too.
  EXPECT_EQ(T("1000000000") * T("1000000000") * T("1000"), top);
  EXPECT_EQ(top + T("1"), top);
  EXPECT_EQ(bottom - T("1"), bottom);
  EXPECT_EQ(bottom + T("-0.0001"), bottom);
  EXPECT_EQ(top - T("-1"), top);
  EXPECT_EQ(-bottom, top);
  EXPECT_EQ(Decimal4::FromInt(INT64_MAX), top);
  EXPECT_EQ(Decimal4::FromInt(INT64_MIN / 2), bottom);
  EXPECT_EQ((top + bottom).Raw(), -1);
  // A held value still prints.
  EXPECT_EQ(bottom.ToText(), QByteArray("-922337203685477.5808"));
  EXPECT_EQ(top.ToText(), QByteArray("922337203685477.5807"));
}
