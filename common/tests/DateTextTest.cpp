#include "common/core/DateText.h"
#include "common/testsupport/LocalZone.h"

#include <cmath>
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

using lumen::test::LocalZone;

TEST(LocalDateTime, TimesTheClockSkipsOrRepeatsAreReadAsAfterTheChange)
{
    const struct
    {
        const char *zone;
        const char *text;
        const char *utc;   ///< the moment read
        const char *shown; ///< what the local clock shows then
    } cases[] = {
        // Spring forward: 02:00 becomes 03:00.
        {"Europe/Berlin", "2024-03-31 02:30:00", "2024-03-31T01:30:00Z", "03:30:00"},
        {"Europe/Berlin", "2024-03-31 02:00:00", "2024-03-31T01:00:00Z", "03:00:00"},
        {"Europe/Berlin", "2024-03-31 01:59:59", "2024-03-31T00:59:59Z", "01:59:59"},
        {"Europe/Berlin", "2024-03-31 03:00:00", "2024-03-31T01:00:00Z", "03:00:00"},
        {"America/New_York", "03/10/2024 02:30 AM", "2024-03-10T07:30:00Z", "03:30:00"},
        // Fall back: 03:00 becomes 02:00, and 02:xx comes twice.
        {"Europe/Berlin", "2024-10-27 02:30:00", "2024-10-27T01:30:00Z", "02:30:00"},
        {"Europe/Berlin", "2024-10-27 01:30:00", "2024-10-26T23:30:00Z", "01:30:00"},
        {"Europe/Berlin", "2024-10-27 03:00:00", "2024-10-27T02:00:00Z", "03:00:00"},
        {"America/New_York", "2024-11-03 01:30:00", "2024-11-03T06:30:00Z", "01:30:00"},
        {"America/New_York", "2024-11-03 00:30:00", "2024-11-03T04:30:00Z", "00:30:00"},
        // A given offset is taken as it stands.
        {"Europe/Berlin", "2024-03-31T02:30:00+01:00", "2024-03-31T01:30:00Z", "03:30:00"},
        {"America/New_York", "2024-03-10T02:30:00.250-0500", "2024-03-10T07:30:00Z", "03:30:00"},
        {"Europe/Berlin", "2024-03-31T02:30:00Z", "2024-03-31T02:30:00Z", "04:30:00"},
        // No daylight saving time: every wall time is once.
        {"UTC", "2024-03-31 02:30:00", "2024-03-31T02:30:00Z", "02:30:00"},
        {"UTC", "2024-11-03 01:30:00", "2024-11-03T01:30:00Z", "01:30:00"},
    };
    for (const auto &c : cases) {
        const LocalZone zone(c.zone);
        const auto when = parseDateTime(QString::fromLatin1(c.text));
        ASSERT_TRUE(when.has_value()) << c.zone << " " << c.text;
        EXPECT_TRUE(when->isValid()) << c.zone << " " << c.text;
        EXPECT_EQ(when->toUTC().toString(Qt::ISODate).toStdString(), c.utc)
            << c.zone << " " << c.text;
        EXPECT_EQ(formatTime(when->toLocalTime().time(), u"HH:MM:SS").toStdString(), c.shown)
            << c.zone << " " << c.text;
        // An OLE date holds the wall clock: reading it back follows the same rule.
        const QDateTime again = fromOleDate(toOleDate(*when));
        EXPECT_TRUE(again.isValid()) << c.zone << " " << c.text;
    }
    for (const char *text :
         {"2024-03-31 02:30:00+15:00", "2024-03-31 02:30:00+01:60", "2024-03-31 02:30 PM+01:00"}) {
        const LocalZone zone("Europe/Berlin");
        EXPECT_FALSE(parseDateTime(QString::fromLatin1(text)).has_value()) << text;
    }
}

TEST(OleDate, InTheGapReadsAfterTheChangeOutsideItsRangeAsNoDate)
{
    const LocalZone zone("Europe/Berlin");
    const double gap = 45382.0 + 2.5 / 24; // 31 Mar 2024 02:30 as the wall clock
    const QDateTime read = fromOleDate(gap);
    ASSERT_TRUE(read.isValid());
    EXPECT_EQ(read, QDateTime(QDate(2024, 3, 31), QTime(1, 30), Qt::UTC));
    for (const double outside : {1e300, -1e300, 2958466.0, std::nan("")})
        EXPECT_FALSE(fromOleDate(outside).isValid()) << outside;
}
