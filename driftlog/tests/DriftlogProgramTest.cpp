#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using lumen::driftlog::StabSettings;
using lumen::test::fileBytes;
using lumen::test::writeBytes;

namespace {

/** The built program copied alone into an empty folder. */
class DriftlogProgramTest : public ::testing::Test
{
protected:
    DriftlogProgramTest()
    {
        m_dir.setWorkingDirectory(QDir::tempPath()); // files must land beside the program, not here
    }

    int runProgram(const QStringList &args, QString *output = nullptr)
    {
        const lumen::test::ProgramRun ran = m_dir.run(args);
        if (output)
            *output = ran.out + ran.err;
        return ran.status;
    }

    QString path(const char *name) const { return m_dir.filePath(name); }

    lumen::test::ProgramFolder m_dir{{QStringLiteral(DRIFTLOG_EXE)}};
};

} // namespace

TEST_F(DriftlogProgramTest, GainRunsLeaveSettingsAndLog)
{
    StabSettings s;
    s.reportPath = path("RESULTS.TXT");
    s.save(path("STAB&FILE.DAT"));
    ASSERT_TRUE(writeBytes(path("RESULTS.TXT"), lumen::driftlog::test::reportBytes(
                                                    "22-Jun-2001", "13:05:00", "661.66")));
    QString output;
    ASSERT_EQ(runProgram({"gain"}, &output), 0) << output.toStdString();

    ASSERT_TRUE(writeBytes(path("RESULTS.TXT"), lumen::driftlog::test::reportBytes(
                                                    "23-Jun-2001", "12:00:00", "662.32")));
    ASSERT_EQ(runProgram({"gain"}, &output), 0) << output.toStdString();

    EXPECT_EQ(fileBytes(path("StabData.txt")), QByteArray("0                  0\r\n"
                                                          "1375               0.1\r\n"));
    const QByteArray record = fileBytes(path("STAB&FILE.DAT"));
    ASSERT_EQ(record.size(), 512);
    const auto saved = StabSettings::fromRecord(record);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->reportPath, path("RESULTS.TXT"));
    EXPECT_EQ(saved->referenceCentre, 661.66f);
    EXPECT_EQ(saved->referenceDate, QString("22-Jun-2001"));
    EXPECT_EQ(saved->referenceTime, QString("13:05:00"));
    EXPECT_TRUE(saved->gainOption);
    EXPECT_FALSE(saved->keVOption);
}

TEST_F(DriftlogProgramTest, StandardOptionsTouchNoFile)
{
    QString output;
    EXPECT_EQ(runProgram({"--version"}, &output), 0);
    EXPECT_TRUE(output.contains("Driftlog"));
    EXPECT_EQ(runProgram({"--help"}, &output), 0);
    for (const char *word : {"GAIN", "KEV", "--chart", "LUMEN_PROGRAM_DIR", "LUMEN_ROOT",
                             "StabLimits.txt", "Exit status", "  4  "})
        EXPECT_TRUE(output.contains(word)) << word;
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"Driftlog"});
}

TEST_F(DriftlogProgramTest, ChartIsDrawnWithoutADisplay)
{
    ASSERT_TRUE(writeBytes(path("StabData.txt"), "0                  0\r\n"
                                                 "60                 0.1\r\n"
                                                 "120                -0.05\r\n"));
    // A picture named after a command word is still a picture.
    QString output;
    ASSERT_EQ(runProgram({"--chart", path("gain.png")}, &output), 0) << output.toStdString();
    QImage chart;
    ASSERT_TRUE(chart.load(path("gain.png"), "PNG"));
    EXPECT_EQ(chart.size(), QSize(1000, 900));
    EXPECT_TRUE(output.contains("chart of 2 points"));
    EXPECT_FALSE(QFile::exists(path("STAB&FILE.DAT"))) << "a chart run saves no settings";
    EXPECT_EQ(runProgram({"--chart"}), 2);
}

TEST_F(DriftlogProgramTest, HeadlessFailuresEndNonZero)
{
    // The settings point at a report that is not there.
    StabSettings s;
    s.reportPath = path("missing.TXT");
    s.save(path("STAB&FILE.DAT"));
    EXPECT_EQ(runProgram({"KEV"}), 1);
    EXPECT_FALSE(QFile::exists(path("StabData.txt")));
    // Without a display and without a command word nobody could use the window.
    EXPECT_EQ(runProgram({}), 2);
}

TEST_F(DriftlogProgramTest, WithADisplayTheWindowComesUpAndWaits)
{
    // A display is claimed, but Qt draws on its minimal platform: no server needed.
    QProcessEnvironment env = m_dir.environment();
    env.insert("DISPLAY", ":lumen-test");
    env.insert("QT_QPA_PLATFORM", "minimal");
    const auto p = m_dir.start(QString(), {}, env);
    ASSERT_TRUE(p->waitForStarted(10000));
    // A window that could not be built would end the program at once.
    EXPECT_FALSE(p->waitForFinished(3000)) << p->readAllStandardError().toStdString();
    p->kill();
    p->waitForFinished(10000);
}
