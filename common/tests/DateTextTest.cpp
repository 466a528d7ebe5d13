#include "common/core/DateText.h"

#include <gtest/gtest.h>

using namespace lumen;

TEST(ParseDate, AcceptsEveryFormTheProgramsRead)
{
    const QDate expected(2001, 6, 22);
    for (const char *text :
         {"22-JUN-2001", "22-Jun-2001", "22-jun-01", "Jun 22, 2001", "JUN 22, 2001", "2001-06-22",
          "06/22/2001", "06/22/01", " 22-Jun-2001 ", "22 Jun 2001"}) {
        auto d = parseDate(QString::fromLatin1(text));
        ASSERT_TRUE(d.has_value()) << text;
        EXPECT_EQ(*d, expected) << text;
    }
}

TEST(ParseDate, TwoDigitYearsAndTheCenturyCharacter)
{
    EXPECT_EQ(parseDate(QStringLiteral("01-Jan-29"))->year(), 2029);
    EXPECT_EQ(parseDate(QStringLiteral("01-Jan-30"))->year(), 1930);
    EXPECT_EQ(*parseDate(QStringLiteral("17-SEP-121")), QDate(2012, 9, 17));
    EXPECT_EQ(*parseDate(QStringLiteral("17-SEP-970")), QDate(1997, 9, 17));
    EXPECT_EQ(*parseDate(QStringLiteral("17-SEP-12 ")), QDate(1912, 9, 17));
    EXPECT_EQ(*parseDate(QStringLiteral("17-Sep-12")), QDate(2012, 9, 17));
}

TEST(ParseDate, RejectsWhatIsNoDate)
{
    for (const char *text :
         {"", "hello", "32-Jan-2001", "22-Jux-2001", "02/30/2001", "22-Jun-2001x", "13:05"})
        EXPECT_FALSE(parseDate(QString::fromLatin1(text)).has_value()) << text;
}

TEST(ParseTime, HoursMinutesAndSeconds)
{
    EXPECT_EQ(*parseTime(QStringLiteral("13:05:00")), QTime(13, 5, 0));
    EXPECT_EQ(*parseTime(QStringLiteral(" 9:07 ")), QTime(9, 7));
    EXPECT_EQ(*parseTime(QStringLiteral("01:05:00 PM")), QTime(13, 5));
    EXPECT_EQ(*parseTime(QStringLiteral("12:00 am")), QTime(0, 0));
    EXPECT_FALSE(parseTime(QStringLiteral("25:00")).has_value());
    EXPECT_FALSE(parseTime(QStringLiteral("12")).has_value());
    EXPECT_FALSE(parseTime(QStringLiteral("ab:cd")).has_value());
}

TEST(ParseDateTime, DateWithOrWithoutTime)
{
    EXPECT_EQ(*parseDateTime(QStringLiteral("22-Jun-2001 13:05:00")),
              QDateTime(QDate(2001, 6, 22), QTime(13, 5)));
    EXPECT_EQ(*parseDateTime(QStringLiteral("Jun 22, 2001  13:05")),
              QDateTime(QDate(2001, 6, 22), QTime(13, 5)));
    EXPECT_EQ(*parseDateTime(QStringLiteral("2001-06-22T13:05:00")),
              QDateTime(QDate(2001, 6, 22), QTime(13, 5)));
    EXPECT_EQ(*parseDateTime(QStringLiteral("22-Jun-2001")),
              QDateTime(QDate(2001, 6, 22), QTime(0, 0)));
    EXPECT_FALSE(parseDateTime(QStringLiteral("22-Jun-2001 99:00")).has_value());
}

TEST(OleDate, DaysSinceTheEpochWithTheTimeAsFraction)
{
    const QDateTime t(QDate(2001, 6, 22), QTime(13, 5, 0));
    EXPECT_NEAR(toOleDate(t), 37064.5451388889, 1e-9);
    EXPECT_EQ(toOleDate(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(toOleDate(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    EXPECT_EQ(fromOleDate(37064.5451388889), t);
    EXPECT_EQ(fromOleDate(toOleDate(QDateTime(QDate(1850, 3, 1), QTime(6, 0)))),
              QDateTime(QDate(1850, 3, 1), QTime(6, 0)));
}

TEST(FormatDate, DesignPatternsInEnglish)
{
    const QDateTime t(QDate(2001, 6, 2), QTime(8, 5, 9));
    EXPECT_EQ(formatDateTime(t, u"DD-MMM-YYYY"), QStringLiteral("02-Jun-2001"));
    EXPECT_EQ(formatDateTime(t, u"MMM DD, YYYY"), QStringLiteral("Jun 02, 2001"));
    EXPECT_EQ(formatDateTime(t, u"HH:MM:SS"), QStringLiteral("08:05:09"));
    EXPECT_EQ(formatDateTime(t, u"hh:mm:ss"), QStringLiteral("08:05:09"));
    EXPECT_EQ(formatDateTime(t, u"yymmdd"), QStringLiteral("010602"));
    EXPECT_EQ(formatDate(QDate(2026, 12, 7), u"yymmdd"), QStringLiteral("261207"));
    EXPECT_EQ(formatTime(QTime(23, 59, 1), u"HH:MM:SS"), QStringLiteral("23:59:01"));
}
