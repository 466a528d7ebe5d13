#include "driftlog/core/DriftCalculator.h"

#include <gtest/gtest.h>
#include <limits>

using lumen::driftlog::DriftCalculator;

TEST(DriftCalculator, WorkedExampleDrifts)
{
    // 661.66 is kept as 661.6599731...; the difference is taken in double, kept in single.
    EXPECT_EQ(DriftCalculator::keVDriftText(662.32, 661.66f), QString("0.6600268"));
    EXPECT_EQ(DriftCalculator::percentDriftText(662.32, 661.66f), QString("0.1"));
    EXPECT_EQ(DriftCalculator::keVDriftText(661.0, 661.66f), QString("-0.6599731"));
    EXPECT_EQ(DriftCalculator::percentDriftText(661.0, 661.66f), QString("-0.1"));
    EXPECT_EQ(DriftCalculator::percentDriftText(700.0, 500.0f), QString("40.0"));
    EXPECT_EQ(DriftCalculator::percentDriftText(500.0, 500.0f), QString("0.0"));
}

TEST(DriftCalculator, DriftThatDoesNotFitSinglePrecisionIsRefused)
{
    EXPECT_FALSE(DriftCalculator::keVDriftText(1e99, 661.66f));
    EXPECT_FALSE(DriftCalculator::percentDriftText(1e99, 661.66f));
    // Fits as keV but the percentage overflows against a tiny reference.
    EXPECT_FALSE(DriftCalculator::percentDriftText(3e38, 1e-30f));
    EXPECT_FALSE(DriftCalculator::toSingle(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(DriftCalculator::toSingle(661.66), 661.66f);
}

TEST(DriftCalculator, ElapsedMinutes)
{
    // 1440 + 720 - 785.
    EXPECT_EQ(DriftCalculator::elapsedMinutes("23-Jun-2001", "12:00:00", "22-Jun-2001", "13:05:00"),
              1375);
    // Seconds are ignored: the same minute is 0.
    EXPECT_EQ(DriftCalculator::elapsedMinutes("22-Jun-2001", "13:05:59", "22-Jun-2001", "13:05:00"),
              0);
    EXPECT_EQ(DriftCalculator::elapsedMinutes("21-Jun-2001", "13:05:00", "22-Jun-2001", "13:05:00"),
              -1440);
    // Across a year end and a leap day.
    EXPECT_EQ(DriftCalculator::elapsedMinutes("01-Mar-2024", "00:00:00", "28-Feb-2024", "23:59:00"),
              1441);
    // Other date forms the parser knows are accepted too.
    EXPECT_EQ(DriftCalculator::elapsedMinutes("2001-06-23", "12:00", "22-Jun-2001", "13:05:00"),
              1375);
}

TEST(DriftCalculator, UnreadableOrHugeElapsedGivesNothing)
{
    EXPECT_FALSE(DriftCalculator::elapsedMinutes("", "12:00:00", "22-Jun-2001", "13:05:00"));
    EXPECT_FALSE(DriftCalculator::elapsedMinutes("23-Jun-2001", "noon", "22-Jun-2001", "13:05:00"));
    EXPECT_FALSE(DriftCalculator::elapsedMinutes("23-Jun-2001", "12:00:00", "", "13:05:00"));
    // More minutes than 32 bits hold.
    EXPECT_FALSE(
        DriftCalculator::elapsedMinutes("01-Jan-9999", "00:00:00", "01-Jan-1900", "00:00:00"));
}
