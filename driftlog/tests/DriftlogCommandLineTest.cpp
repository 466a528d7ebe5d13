#include "driftlog/core/DriftlogCommandLine.h"
#include "common/testsupport/TestSupport.h"
#include "driftlog/core/DriftlogModel.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lumen::driftlog::DriftlogCommandLine;
using lumen::driftlog::DriftlogModel;
using lumen::driftlog::StabSettings;
using lumen::test::fileBytes;
using lumen::test::writeBytes;

TEST(DriftlogCommandLine, CommandWords)
{
    EXPECT_EQ(DriftlogCommandLine::modeOfArguments({"GAIN"}), DriftlogModel::kGainMode);
    EXPECT_EQ(DriftlogCommandLine::modeOfArguments({" kev "}), DriftlogModel::kKeVMode);
    // "GAIN" is tested first, whatever the order or case.
    EXPECT_EQ(DriftlogCommandLine::modeOfArguments({"kev", "Gain"}), DriftlogModel::kGainMode);
    EXPECT_EQ(DriftlogCommandLine::modeOfArguments({"KEVGAIN"}), DriftlogModel::kGainMode);
    EXPECT_EQ(DriftlogCommandLine::modeOfArguments({"gain", "kev"}), DriftlogModel::kGainMode);
    EXPECT_FALSE(DriftlogCommandLine::modeOfArguments({}));
    EXPECT_FALSE(DriftlogCommandLine::modeOfArguments({"APPEND"}));
}

class DriftlogRunTest : public ::testing::Test
{
protected:
    int run(const QStringList &args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return DriftlogCommandLine::run(args, out, err, m_dir.path());
    }
    void pointSettingsAtReport()
    {
        StabSettings s;
        s.reportPath = m_dir.filePath("RESULTS.TXT");
        s.save(m_dir.filePath("STAB&FILE.DAT"));
    }
    void writeReport(const QString &date, const QString &time, const QString &centre)
    {
        ASSERT_TRUE(writeBytes(m_dir.filePath("RESULTS.TXT"),
                               lumen::driftlog::test::reportBytes(date, time, centre)));
    }
    QByteArray log() const { return fileBytes(m_dir.filePath("StabData.txt")); }

    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
};

TEST_F(DriftlogRunTest, KeVRunsAppendAndSaveMode)
{
    pointSettingsAtReport();
    writeReport("22-Jun-2001", "13:05:00", "661.66");
    EXPECT_EQ(run({"KEV"}), 0) << m_err.toStdString();
    writeReport("23-Jun-2001", "12:00:00", "662.32");
    EXPECT_EQ(run({"kev"}), 0) << m_err.toStdString();
    EXPECT_TRUE(log().endsWith("1375               0.6600268\r\n"));
    const auto s = StabSettings::fromRecord(fileBytes(m_dir.filePath("STAB&FILE.DAT")));
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->keVOption);
    EXPECT_FALSE(s->gainOption);
    // The reference measurement again: not later than the reference, not a failure.
    writeReport("22-Jun-2001", "13:05:30", "661.70");
    EXPECT_EQ(run({"KEV"}), 0);
    EXPECT_TRUE(m_out.contains("nothing appended"));
    EXPECT_EQ(log().count("\r\n"), 2);
}

TEST_F(DriftlogRunTest, NothingAppendableEndsNonZeroAndKeepsLog)
{
    // No settings, and the default report does not exist.
    EXPECT_EQ(run({"GAIN"}), 1);
    EXPECT_TRUE(m_err.contains("nothing appended"));
    EXPECT_TRUE(log().isEmpty());

    pointSettingsAtReport();
    writeReport("22-Jun-2001", "13:05:00", "661.66");
    ASSERT_EQ(run({"GAIN"}), 0);
    writeReport("23-Jun-2001", "12:00:00", "662.32");
    ASSERT_EQ(run({"GAIN"}), 0);
    const QByteArray before = log();

    // Report without the expected lines, then a missing report.
    ASSERT_TRUE(writeBytes(m_dir.filePath("RESULTS.TXT"), "garbage\r\n"));
    EXPECT_EQ(run({"GAIN"}), 1);
    ASSERT_TRUE(QFile::remove(m_dir.filePath("RESULTS.TXT")));
    EXPECT_NE(run({"GAIN"}), 0);
    EXPECT_EQ(log(), before);
}

TEST_F(DriftlogRunTest, AReferenceThatCannotBeSavedIsNotTaken)
{
    // A folder in the settings file's place can be neither read nor written as a record.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("STAB&FILE.DAT"));
    // Without settings the report is looked for at its default place.
    const QByteArray oldRoot = qgetenv("LUMEN_ROOT");
    qputenv("LUMEN_ROOT", QFile::encodeName(m_dir.filePath("root")));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("root/Temp"));
    ASSERT_TRUE(
        writeBytes(m_dir.filePath("root/Temp/RESULTS.TXT"),
                   lumen::driftlog::test::reportBytes("22-Jun-2001", "13:05:00", "661.66")));
    EXPECT_EQ(run({"GAIN"}), 1);
    qputenv("LUMEN_ROOT", oldRoot);
    // A "0 0" line whose reference is lost would start a series nobody can continue.
    EXPECT_TRUE(m_err.contains("nothing appended")) << m_err.toStdString();
    EXPECT_TRUE(m_err.contains("settings not saved"));
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(DriftlogRunTest, NoCommandWordIsAUsageError)
{
    EXPECT_EQ(run({"hello"}), 2);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("STAB&FILE.DAT")));
}

TEST_F(DriftlogRunTest, TheVerdictSetsTheStatusAndThePointIsLoggedEitherWay)
{
    pointSettingsAtReport();
    writeReport("22-Jun-2001", "13:00:00", "661.66");
    ASSERT_EQ(run({"KEV"}), 0);
    ASSERT_TRUE(writeBytes(m_dir.filePath("StabLimits.txt"), "kev = 0.3\n"));
    writeReport("22-Jun-2001", "14:00:00", "661.80");
    EXPECT_EQ(run({"KEV"}), 0);
    EXPECT_TRUE(
        m_out.contains("Driftlog: drift: no limits yet (1 of 20 baseline points, tolerance"))
        << m_out.toStdString();
    writeReport("22-Jun-2001", "15:00:00", "662.10");
    EXPECT_EQ(run({"KEV"}), 4);
    EXPECT_TRUE(m_out.contains("Driftlog: verdict: action: drift tolerance"))
        << m_out.toStdString();
    EXPECT_TRUE(log().endsWith("120                0.4400268\r\n"));
}
