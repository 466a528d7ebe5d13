#include "driftlog/core/ReportPeakReader.h"
#include "common/testsupport/TestSupport.h"
#include "driftlog/tests/DriftlogTestData.h"

#include "common/core/Failure.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using lumen::driftlog::ReportPeakReader;

TEST(ReportPeakReader, SampleReportsGiveIdDateTimeAndLastPeak)
{
    const auto normal = ReportPeakReader::readFile(lumen::test::samplePath("RESULTS_normal.TXT"));
    ASSERT_TRUE(normal);
    // The ID keeps the blank after "ID:"; the reader does not trim it.
    EXPECT_EQ(normal->id, QString(" Soil sample 17 - field B, depth 0-5 cm"));
    EXPECT_EQ(normal->date, QString("06-Dec-2026"));
    EXPECT_EQ(normal->time, QString("14:05:09"));
    EXPECT_EQ(normal->centre, QString("1460.82"));

    const auto corr = ReportPeakReader::readFile(lumen::test::samplePath("RESULTS_corrcoeff.TXT"));
    ASSERT_TRUE(corr);
    EXPECT_FALSE(corr->centre->isEmpty());
    EXPECT_FALSE(corr->date->isEmpty());
}

TEST(ReportPeakReader, IdIsCutAtSeventyTwoCharacters)
{
    const QString longId = QString(" ") + QString(100, QLatin1Char('x'));
    const auto peak = ReportPeakReader::parse(
        lumen::driftlog::test::reportBytes("01-Jan-2026", "10:00:00", "661.66", longId));
    ASSERT_TRUE(peak.id);
    EXPECT_EQ(peak.id->size(), 72);
}

TEST(ReportPeakReader, MissingLinesLeaveFieldsAbsentButCentreComesFromLastLine)
{
    const auto peak =
        ReportPeakReader::parse("PEAK SEARCH RESULTS\r\n   1   1322.45  661.66    1.52\r\n");
    EXPECT_FALSE(peak.id);
    EXPECT_FALSE(peak.date);
    EXPECT_FALSE(peak.time);
    EXPECT_EQ(peak.centre, QString("661.66"));

    // A final empty line is the last line: the centre is read from it, empty.
    const auto trailing = ReportPeakReader::parse("   1   1322.45  661.66\r\n\r\n");
    EXPECT_EQ(trailing.centre, QString());

    // Bare CR and LF line ends are read alike.
    const auto lf = ReportPeakReader::parse(
        "ID: A\nFile: X      Date: 02-Feb-2026 08:30:00\n   1   1322.45  700.01\n");
    EXPECT_EQ(lf.id, QString(" A"));
    EXPECT_EQ(lf.date, QString("02-Feb-2026"));
    EXPECT_EQ(lf.centre, QString("700.01"));
}

TEST(ReportPeakReader, FileLineTooShortOrWithoutDateWord)
{
    QString date = "stale";
    QString time;
    // Too short to hold a date before the time: the date is empty, the time still read.
    ReportPeakReader::splitFileLine("File: 12:00:00", &date, &time);
    EXPECT_EQ(date, QString());
    EXPECT_EQ(time, QString("12:00:00"));

    ReportPeakReader::splitFileLine("File:", &date, &time);
    EXPECT_EQ(date, QString());
    EXPECT_EQ(time, QString("File:"));

    // Without "Date:" the date runs from column 6 up to the time.
    ReportPeakReader::splitFileLine("File: 23-Jun-2001 12:00:00", &date, &time);
    EXPECT_EQ(date, QString("23-Jun-2001"));
    EXPECT_EQ(time, QString("12:00:00"));
}

TEST(ReportPeakReader, MissingOrEmptyIsNotFoundAndNoRegularFileIsRefused)
{
    QTemporaryDir dir;
    EXPECT_FALSE(ReportPeakReader::readFile(dir.filePath("absent.txt")));
    EXPECT_FALSE(QFile::exists(dir.filePath("absent.txt"))) << "reading must not create the report";
    ASSERT_TRUE(lumen::test::writeBytes(dir.filePath("empty.txt"), {}));
    EXPECT_FALSE(ReportPeakReader::readFile(dir.filePath("empty.txt")));
    EXPECT_FALSE(ReportPeakReader::readFile(QString()));

    // Neither hangs on a FIFO nor reads a device without end.
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), dir.path()})
        EXPECT_THROW(ReportPeakReader::readFile(path), lumen::Failure) << path.toStdString();
}
