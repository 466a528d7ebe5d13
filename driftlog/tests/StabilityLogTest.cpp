#include "driftlog/core/StabilityLog.h"
#include "common/core/Failure.h"
#include "common/testsupport/SizeLimit.h"
#include "common/testsupport/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using lumen::driftlog::StabilityLog;

TEST(StabilityLog, SecondValueStartsAtColumnTwenty)
{
    EXPECT_EQ(StabilityLog::lineText("0", "0"), QString("0") + QString(18, ' ') + "0");
    EXPECT_EQ(StabilityLog::lineText("1375", "-0.1").indexOf("-0.1"), 19);
    // A first value reaching the column still gets a separating blank.
    EXPECT_EQ(StabilityLog::lineText(QString(19, '9'), "1"), QString(19, '9') + " 1");
}

TEST(StabilityLog, NewSeriesRewritesOnlyAnEmptyLog)
{
    QTemporaryDir dir;
    const StabilityLog log(dir.filePath("StabData.txt"));
    EXPECT_TRUE(log.isEmpty());
    const QByteArray first = QByteArray("0") + QByteArray(18, ' ') + "0\r\n";

    log.startSeries();
    EXPECT_EQ(lumen::test::fileBytes(log.path()), first);

    log.appendLine("1375", "0.1");
    const QByteArray two = first + "1375" + QByteArray(15, ' ') + "0.1\r\n";
    EXPECT_EQ(lumen::test::fileBytes(log.path()), two);

    // Earlier measurements survive a series started over a non-empty log,
    // and a series that holds no measurement yet is not started twice.
    log.startSeries();
    EXPECT_EQ(lumen::test::fileBytes(log.path()), two + first);
    log.startSeries();
    EXPECT_EQ(lumen::test::fileBytes(log.path()), two + first);

    ASSERT_TRUE(lumen::test::writeBytes(log.path(), {}));
    log.startSeries();
    EXPECT_EQ(lumen::test::fileBytes(log.path()), first);
}

TEST(StabilityLog, AFullDiskNeverLeavesHalfALine)
{
    QTemporaryDir dir;
    const StabilityLog log(dir.filePath("StabData.txt"));
    log.startSeries();
    const QByteArray before = lumen::test::fileBytes(log.path());
    // Room for a few more bytes, not for the whole line.
    const QString failure = lumen::test::underSizeLimit(
        rlim_t(before.size() + 10), [&] { log.appendLine("1375", "0.6600268"); });
    EXPECT_FALSE(failure.isEmpty()) << "the append claimed success";
    EXPECT_EQ(lumen::test::fileBytes(log.path()), before);
}

TEST(StabilityLog, LastSeriesFollowsTheLastReference)
{
    QTemporaryDir dir;
    const StabilityLog log(dir.filePath("StabData.txt"));
    EXPECT_TRUE(log.lastSeries().isEmpty());
    ASSERT_TRUE(lumen::test::writeBytes(log.path(), "0                  0\r\n"
                                                    "60                 0.5\r\n"
                                                    "0                  0\r\n"
                                                    "30                 -0.1\r\n"
                                                    "not a line\r\n"
                                                    "90                 1E+10\r\n"
                                                    "120 0.25\r\n"));
    const auto series = log.lastSeries();
    ASSERT_EQ(series.size(), 2);
    EXPECT_EQ(series[0].minutes, 30);
    EXPECT_DOUBLE_EQ(series[0].drift, -0.1);
    EXPECT_EQ(series[1].minutes, 120);
    EXPECT_DOUBLE_EQ(series[1].drift, 0.25);
}
