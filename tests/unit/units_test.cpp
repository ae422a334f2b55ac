#include <gtest/gtest.h>

#include "platform/units.h"

namespace ludex {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(7.5), 8);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

TEST(RoundHalfEven, OtherValuesGoToTheNearest) {
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.5001), 3);
  EXPECT_EQ(RoundHalfEven(-2.6), -3);
  EXPECT_EQ(RoundHalfEven(0.0), 0);
}

TEST(RoundHalfEven, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(RoundHalfEven(1e12), 2147483647);
  EXPECT_EQ(RoundHalfEven(-1e12), -2147483647 - 1);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Twips, FifteenToAPixelRounded) {
  EXPECT_EQ(TwipsToPixels(1215), 81);
  EXPECT_EQ(TwipsToPixels(15780), 1052);
  EXPECT_EQ(TwipsToPixels(10), 1);      // 0.67
  EXPECT_EQ(TwipsToPixels(112.5), 8);   // 7.5, to even
  EXPECT_EQ(TwipsToPixels(97.5), 6);    // 6.5, to even
  EXPECT_EQ(PixelsToTwips(35), 525);
}

TEST(Himetric, ExtentsOfTheMainWindowControls) {
  // 2540 HIMETRIC to 1440 twips.
  EXPECT_EQ(TwipsToHimetric(1215), 2143);
  EXPECT_EQ(TwipsToHimetric(375), 661);
  EXPECT_EQ(TwipsToHimetric(15735), 27755);
  EXPECT_EQ(TwipsToHimetric(10455), 18441);
  EXPECT_EQ(HimetricToTwips(2143), 1215);
  EXPECT_EQ(HimetricToTwips(661), 375);
}

}  // namespace
}  // namespace ludex
