#include "common/testsupport/TestSupport.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lumen::test::fileBytes;
using lumen::test::writeBytes;

namespace {
/** Runs the built program copied into `dir`, from another folder, without a display. */
int runCopy(const QTemporaryDir &dir, const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QDir::tempPath()); // the logs must land beside the program
    p.start(dir.filePath("Driftlog"), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return -1000;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1001;
}
} // namespace

TEST(QcLogProgram, TheQcLogLandsBesideTheProgramAndAWidePeakEndsWithFour)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(DRIFTLOG_EXE), dir.filePath("Driftlog")));
    lumen::driftlog::StabSettings s;
    s.reportPath = dir.filePath("RESULTS.TXT");
    s.save(dir.filePath("STAB&FILE.DAT"));
    ASSERT_TRUE(writeBytes(dir.filePath("StabLimits.txt"), "fwhm = 2.2\n"));
    const auto report = [&](const char *time, double fwhm) {
        return writeBytes(
            dir.filePath("RESULTS.TXT"),
            lumen::driftlog::test::reportBytes("22-Jun-2001", time, "661.66", " Check", fwhm));
    };

    ASSERT_TRUE(report("13:00:00", 1.52));
    EXPECT_EQ(runCopy(dir, {"GAIN"}), 0);
    ASSERT_TRUE(report("14:00:00", 2.31));
    EXPECT_EQ(runCopy(dir, {"GAIN"}), 4);
    EXPECT_EQ(fileBytes(dir.filePath("StabQC.csv")).count("\r\n"), 3) << "header and two lines";
    EXPECT_EQ(fileBytes(dir.filePath("StabData.txt")), "0                  0\r\n"
                                                       "60                 0.0\r\n");

    EXPECT_EQ(runCopy(dir, {"--chart", dir.filePath("qc.png")}), 0);
    QImage chart;
    ASSERT_TRUE(chart.load(dir.filePath("qc.png"), "PNG"));
    EXPECT_EQ(chart.size(), QSize(1000, 900));
}
