#include "common/core/NumberText.h"
#include "common/core/Failure.h"

#include <gtest/gtest.h>

using namespace lumen;

TEST(NumericValue, ReadsTheLeadingNumberAndSkipsBlanks)
{
    EXPECT_DOUBLE_EQ(numericValue(u"  300"), 300.0);
    EXPECT_DOUBLE_EQ(numericValue(u"12abc"), 12.0);
    EXPECT_DOUBLE_EQ(numericValue(u"1 2 3"), 123.0);
    EXPECT_DOUBLE_EQ(numericValue(u"\t-4.5\n"), -4.5);
    EXPECT_DOUBLE_EQ(numericValue(u"5, 3"), 5.0); // stops at the comma
    EXPECT_DOUBLE_EQ(numericValue(u".5"), 0.5);
    EXPECT_DOUBLE_EQ(numericValue(u"1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(numericValue(u"abc"), 0.0);
    EXPECT_DOUBLE_EQ(numericValue(u""), 0.0);
    EXPECT_DOUBLE_EQ(numericValue(u"-"), 0.0);
}

TEST(NumericValue, ReadsEAndDExponentsOnlyWithDigits)
{
    EXPECT_DOUBLE_EQ(numericValue(u"1.5E3"), 1500.0);
    EXPECT_DOUBLE_EQ(numericValue(u"2.5d-2"), 0.025);
    EXPECT_DOUBLE_EQ(numericValue(u"1 . 2 E + 2"), 120.0);
    EXPECT_DOUBLE_EQ(numericValue(u"7E"), 7.0);
    EXPECT_DOUBLE_EQ(numericValue(u"7Each"), 7.0);
}

TEST(NumericValue, ReportNumberIsSinglePrecision)
{
    EXPECT_EQ(reportNumber(u"661.66"), 661.66f);
    EXPECT_EQ(reportNumber(u" 1.234E+05"), 123400.0f);
}

TEST(WholeNumbers, RoundHalvesToEven)
{
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(2.4999), 2);
    EXPECT_EQ(toInt32(1e6 + 0.5), 1000000);
    EXPECT_EQ(int16OfText(u"20000"), 20000);
}

TEST(WholeNumbers, OverflowIsAFailure)
{
    EXPECT_EQ(toInt16(32767.0), 32767);
    EXPECT_EQ(toInt16(-32768.5), -32768); // the even neighbour lies inside
    EXPECT_THROW(toInt16(32767.5), Failure);
    EXPECT_THROW(toInt16(-32769), Failure);
    EXPECT_THROW(int16OfText(u"40000"), Failure);
    EXPECT_THROW(toInt32(2147483648.0), Failure);
    EXPECT_EQ(toInt32(-2147483648.0), INT32_MIN);
}

TEST(WholeNumbers, StrictConversionNeedsANumber)
{
    EXPECT_EQ(strictInt16(u" 1 "), 1);
    EXPECT_EQ(strictInt16(u"1.5"), 2);
    EXPECT_EQ(strictInt16(u"-3E1"), -30);
    for (const char16_t *bad : {u"", u"abc", u"1x", u"1 2", u"--1", u"."}) {
        try {
            strictInt16(bad);
            ADD_FAILURE() << "accepted " << QString::fromUtf16(bad).toStdString();
        } catch (const Failure &f) {
            EXPECT_EQ(f.description(), kTypeMismatch);
        }
    }
    EXPECT_THROW(strictInt16(u"99999"), Failure);
}

TEST(NumberToText, PutsABlankInTheSignsPlace)
{
    EXPECT_EQ(numberToText(3), QStringLiteral(" 3"));
    EXPECT_EQ(numberToText(0), QStringLiteral(" 0"));
    EXPECT_EQ(numberToText(-4), QStringLiteral("-4"));
}

TEST(ShortText, SinglePrecisionShowsAtMostSevenDigits)
{
    EXPECT_EQ(shortSingleText(661.66f), QStringLiteral("661.66"));
    EXPECT_EQ(shortSingleText(662.32f - 661.66f), QStringLiteral("0.6600342"));
    EXPECT_EQ(shortSingleText(300.0f), QStringLiteral("300"));
    EXPECT_EQ(shortSingleText(0.5f), QStringLiteral("0.5"));
    EXPECT_EQ(shortSingleText(-1.25f), QStringLiteral("-1.25"));
    EXPECT_EQ(shortSingleText(0.0001f), QStringLiteral("0.0001"));
    EXPECT_EQ(shortSingleText(0.00001f), QStringLiteral("0.00001"));
    EXPECT_EQ(shortSingleText(0.000001f), QStringLiteral("1E-06"));
    EXPECT_EQ(shortSingleText(12345678.0f), QStringLiteral("1.234568E+07"));
    EXPECT_EQ(shortSingleText(1234567.0f), QStringLiteral("1234567"));
    EXPECT_EQ(shortSingleText(0.0f), QStringLiteral("0"));
    EXPECT_EQ(shortSingleText(0.7f), QStringLiteral("0.7"));
    EXPECT_EQ(printSingleText(0.7f), QStringLiteral(" 0.7"));
    EXPECT_EQ(printSingleText(-0.7f), QStringLiteral("-0.7"));
}

TEST(ShortText, DoublePrecisionShowsAtMostFifteenDigits)
{
    EXPECT_EQ(shortDoubleText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(shortDoubleText(37064.5451388889), QStringLiteral("37064.5451388889"));
    EXPECT_EQ(shortDoubleText(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(shortDoubleText(double(661.66f)), QStringLiteral("661.659973144531"));
    EXPECT_EQ(printDoubleText(12.5), QStringLiteral(" 12.5"));
}

TEST(ShortText, ExactDoubleTextReadsBackAsTheSameDouble)
{
    for (const double v : {0.1, 300.0, 1e-6, 661.659973144531, 1.0 / 3, 1e17, -2.5, 5e-324}) {
        const QString text = exactDoubleText(v);
        EXPECT_FALSE(text.contains(u'e')) << text.toStdString();
        EXPECT_EQ(text.toDouble(), v) << text.toStdString();
    }
    EXPECT_EQ(exactDoubleText(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(exactDoubleText(1e-6), QStringLiteral("0.000001"));
}

TEST(FormatNumber, DigitPatterns)
{
    EXPECT_EQ(formatNumber(300, u"#####0.00"), QStringLiteral("300.00"));
    EXPECT_EQ(formatNumber(0.0997, u"#0.0##"), QStringLiteral("0.1"));
    EXPECT_EQ(formatNumber(0.1234, u"#0.0##"), QStringLiteral("0.123"));
    EXPECT_EQ(formatNumber(12.0, u"#0.0##"), QStringLiteral("12.0"));
    EXPECT_EQ(formatNumber(-0.05, u"#0.0##"), QStringLiteral("-0.05"));
    EXPECT_EQ(formatNumber(-0.0001, u"#0.0##"), QStringLiteral("0.0"));
    EXPECT_EQ(formatNumber(0.125, u"0.00"), QStringLiteral("0.13"));
    EXPECT_EQ(formatNumber(1234567.891, u"#####0.00"), QStringLiteral("1234567.89"));
    // (C - R) / R x 100 for the check-source example: reference 661.66 kept in single precision
    const float r = 661.66f, c = 662.32f;
    EXPECT_EQ(formatNumber(double(float((c - r) / r * 100.0f)), u"#0.0##"), QStringLiteral("0.1"));
}
