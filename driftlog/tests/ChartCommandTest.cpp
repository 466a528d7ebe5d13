#include "driftlog/gui/ChartCommand.h"
#include "common/testsupport/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using lumen::driftlog::ChartCommand;

TEST(ChartCommand, WhatCannotBeReadOrWrittenEndsWithStatusOne)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("StabData.txt");
    const QString png = dir.filePath("chart.png");
    QString said;
    QTextStream out(&said);
    QTextStream err(&said);

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
    ASSERT_TRUE(lumen::test::writeBytes(log, "0                  0\r\n60                 0.1\r\n"));
    EXPECT_EQ(ChartCommand::run({"--chart", dir.filePath("folder.png")}, out, err, dir.path()), 1);
    EXPECT_TRUE(said.contains("no chart written")) << said.toStdString();

    // A log that is a FIFO is refused, not waited on.
    ASSERT_TRUE(QFile::remove(log));
    ASSERT_EQ(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
    EXPECT_EQ(ChartCommand::run({"--chart", png}, out, err, dir.path()), 1);
    EXPECT_FALSE(QFile::exists(png));
}
