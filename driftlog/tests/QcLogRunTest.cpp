#include "common/testsupport/TestSupport.h"
#include "driftlog/core/DriftlogCommandLine.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using lumen::driftlog::DriftlogCommandLine;
using lumen::driftlog::StabSettings;
using lumen::test::fileBytes;
using lumen::test::writeBytes;

namespace {

const QByteArray kHeader = "date_time,minutes,centre_keV,drift_percent,drift_keV,fwhm_keV,"
                           "net_area,live_time_s,count_rate_cps,decay_corrected_rate_cps,"
                           "run,run_pass,run_line,report_sha256,replaced_by\r\n";

/** Unattended runs in a scratch folder whose settings point at its own report. */
class QcLogRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StabSettings s;
        s.reportPath = m_dir.filePath("RESULTS.TXT");
        s.save(m_dir.filePath("STAB&FILE.DAT"));
    }
    int runAt(const QString &date, const QString &time, const QString &centre, double fwhm = 1.52,
              long long area = 12644)
    {
        EXPECT_TRUE(writeBytes(m_dir.filePath("RESULTS.TXT"),
                               lumen::driftlog::test::reportBytes(
                                   date, time, centre, QStringLiteral(" Check"), fwhm, area)));
        m_out.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_out);
        return DriftlogCommandLine::run({"GAIN"}, out, err, m_dir.path());
    }
    QByteArray qcLog() const { return fileBytes(m_dir.filePath("StabQC.csv")); }

    QTemporaryDir m_dir;
    QString m_out;
};

} // namespace

TEST_F(QcLogRunTest, EachAppendWritesOneLineAfterTheHeader)
{
    qputenv("TZ", "UTC");
    ASSERT_TRUE(writeBytes(m_dir.filePath("StabLimits.txt"), "halflife = 30.08 y\n"));
    ASSERT_EQ(runAt("22-Jun-2001", "13:05:00", "661.66"), 0) << m_out.toStdString();
    ASSERT_EQ(runAt("23-Jun-2001", "12:00:00", "662.32", 1.55, 12000), 0) << m_out.toStdString();
    // 12000 counts in 600 s, decay-corrected over 22 h 55 min of a 30.08-year half-life.
    const QList<QByteArray> lines = qcLog().split('\n');
    ASSERT_EQ(lines.size(), 4) << qcLog().toStdString();
    EXPECT_EQ(lines[0] + '\n', kHeader);
    // Outside a run the run's fields stay empty; the report's hash is known.
    EXPECT_TRUE(lines[1].startsWith("2001-06-22T13:05:00Z,0,661.66,0,0,1.52,12644,600,21.07333,"
                                    "21.07333,,,,"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("2001-06-23T12:00:00Z,1375,662.32,0.09975318,0.6600268,1.55,"
                                    "12000,600,20,20.0012,,,,"))
        << lines[2].toStdString();
    EXPECT_EQ(lines[2].size() - lines[2].lastIndexOf(",,,,") - 4, 64 + 2) << "hash, comma, CR";
    qunsetenv("TZ");
}

TEST_F(QcLogRunTest, AnOldLogWithoutTheQcLogStartsItAtTheNextAppend)
{
    ASSERT_EQ(runAt("22-Jun-2001", "13:05:00", "661.66"), 0);
    ASSERT_TRUE(QFile::remove(m_dir.filePath("StabQC.csv")));
    ASSERT_EQ(runAt("22-Jun-2001", "14:05:00", "661.70"), 0);
    const QList<QByteArray> lines = qcLog().split('\n');
    ASSERT_EQ(lines.size(), 3) << qcLog().toStdString(); // header, the point, the last line end
    EXPECT_EQ(lines[0] + '\n', kHeader);
    EXPECT_TRUE(lines[1].contains(",60,661.7,")) << lines[1].toStdString();
}

TEST_F(QcLogRunTest, AWiderPeakIsAnActionWithoutAGainCorrection)
{
    ASSERT_TRUE(writeBytes(m_dir.filePath("StabLimits.txt"), "fwhm = 2.2\n"));
    ASSERT_EQ(runAt("22-Jun-2001", "13:05:00", "661.66"), 0);
    EXPECT_EQ(runAt("22-Jun-2001", "14:05:00", "661.66", 2.3), 4);
    EXPECT_TRUE(m_out.contains("Driftlog: verdict: action: FWHM tolerance\n"))
        << m_out.toStdString();
    EXPECT_FALSE(m_out.contains("correction")) << "the drift is in order";

    ASSERT_TRUE(writeBytes(m_dir.filePath("StabLimits.txt"), "gain = 0.05\n"));
    EXPECT_EQ(runAt("22-Jun-2001", "15:05:00", "662.32"), 4);
    EXPECT_TRUE(
        m_out.contains("Driftlog: correction: gain x 0.999003 or energy shift -0.660027 keV"))
        << m_out.toStdString();
}

TEST_F(QcLogRunTest, AFileLineWithoutDateIsRefusedAsAMissingDate)
{
    QByteArray report = lumen::driftlog::test::reportBytes("22-Jun-2001", "13:05:00", "661.66");
    report.replace("      Date: 22-Jun-2001 13:05:00", "   2001 SPECTRUM NAME");
    for (int reference : {1, 0}) {
        ASSERT_TRUE(writeBytes(m_dir.filePath("RESULTS.TXT"), report));
        m_out.clear();
        QTextStream out(&m_out);
        EXPECT_EQ(DriftlogCommandLine::run({"GAIN"}, out, out, m_dir.path()), 1);
        EXPECT_TRUE(m_out.contains("The measurement date is missing: the report's \"File:\" line "
                                   "has no \"Date:\""))
            << m_out.toStdString();
        EXPECT_FALSE(m_out.contains("SPEC")) << "no part of the name is quoted as the date";
        if (reference) {
            ASSERT_EQ(runAt("22-Jun-2001", "13:05:00", "661.66"), 0);
        }
    }
}
