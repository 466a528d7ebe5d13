#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using lumen::test::fileBytes;
using lumen::test::ProgramFolder;
using lumen::test::writeBytes;

TEST(QcLogProgram, TheQcLogLandsBesideTheProgramAndAWidePeakEndsWithFour)
{
    ProgramFolder lab({QStringLiteral(DRIFTLOG_EXE)});
    lab.setWorkingDirectory(QDir::tempPath()); // the logs must land beside the program
    const auto dir = [&](const char *name) { return lab.filePath(QLatin1String(name)); };
    const auto runCopy = [&](const QStringList &args) { return lab.run(args).status; };
    lumen::driftlog::StabSettings s;
    s.reportPath = dir("RESULTS.TXT");
    s.save(dir("STAB&FILE.DAT"));
    ASSERT_TRUE(writeBytes(dir("StabLimits.txt"), "fwhm = 2.2\n"));
    const auto report = [&](const char *time, double fwhm) {
        return writeBytes(dir("RESULTS.TXT"), lumen::driftlog::test::reportBytes(
                                                  "22-Jun-2001", time, "661.66", " Check", fwhm));
    };

    ASSERT_TRUE(report("13:00:00", 1.52));
    EXPECT_EQ(runCopy({"GAIN"}), 0);
    ASSERT_TRUE(report("14:00:00", 2.31));
    EXPECT_EQ(runCopy({"GAIN"}), 4);
    EXPECT_EQ(fileBytes(dir("StabQC.csv")).count("\r\n"), 3) << "header and two lines";
    EXPECT_EQ(fileBytes(dir("StabData.txt")), "0                  0\r\n"
                                              "60                 0.0\r\n");

    EXPECT_EQ(runCopy({"--chart", dir("qc.png")}), 0);
    QImage chart;
    ASSERT_TRUE(chart.load(dir("qc.png"), "PNG"));
    EXPECT_EQ(chart.size(), QSize(1000, 900));
}
