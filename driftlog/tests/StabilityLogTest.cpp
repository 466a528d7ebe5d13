#include "driftlog/core/StabilityLog.h"
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

    // Earlier measurements survive a series started over a non-empty log.
    log.startSeries();
    EXPECT_EQ(lumen::test::fileBytes(log.path()), two + first);

    ASSERT_TRUE(lumen::test::writeBytes(log.path(), {}));
    log.startSeries();
    EXPECT_EQ(lumen::test::fileBytes(log.path()), first);
}
