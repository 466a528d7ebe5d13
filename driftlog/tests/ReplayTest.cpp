#include "common/testsupport/TestSupport.h"
#include "driftlog/core/DriftlogCommandLine.h"
#include "driftlog/core/DriftlogModel.h"
#include "driftlog/core/QcLog.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/core/StabilityLog.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumen::driftlog;

namespace {
/** One unattended run as a script would start it: its run, pass and line, and its report. */
struct Step
{
    const char *what;
    const char *pass;
    int line; // 0: started by hand, outside a run
    const char *date;
    const char *centre;
    const char *id;
    int status;
    int points;    // live points of the QC log's series after the step
    int dataLines; // measurement lines of StabData.txt's series
};

const Step kNight[] = {
    {"the set-up's check takes the reference", "", 3, "05-Jan-2026", "661.66", " A", 0, 0, 0},
    {"a resume plays the set-up's check again", "", 3, "06-Jan-2026", "661.67", " B", 0, 0, 0},
    {"a check at another line is a point", "", 5, "06-Jan-2026", "661.68", " C", 0, 1, 1},
    {"played again, it replaces its point", "", 5, "07-Jan-2026", "661.69", " D", 0, 1, 2},
    {"the same report once more is refused", "", 5, "07-Jan-2026", "661.69", " D", 7, 1, 2},
    {"the same line in another pass is a point", "2", 5, "08-Jan-2026", "661.70", " E", 0, 2, 3},
    {"by hand, the same measurement again", "", 0, "08-Jan-2026", "661.70", " F", 7, 2, 3},
    {"by hand, a new measurement", "", 0, "09-Jan-2026", "661.71", " G", 0, 3, 4},
};

class ReplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StabSettings s;
        s.reportPath = m_dir.filePath("RESULTS.TXT");
        s.save(m_dir.filePath("STAB&FILE.DAT"));
    }
    void TearDown() override
    {
        for (const char *name : {"LUMEN_RUN", "LUMEN_RUN_PASS", "LUMEN_RUN_LINE"})
            qunsetenv(name);
    }
    int play(const Step &step)
    {
        EXPECT_TRUE(lumen::test::writeBytes(
            m_dir.filePath("RESULTS.TXT"),
            test::reportBytes(step.date, "08:00:00", step.centre, step.id)));
        qputenv("LUMEN_RUN", step.line ? "/lab/journals/run,0105.jrn" : "");
        qputenv("LUMEN_RUN_PASS", step.pass);
        qputenv("LUMEN_RUN_LINE", step.line ? QByteArray::number(step.line) : "");
        m_said.clear();
        QTextStream out(&m_said);
        return DriftlogCommandLine::run({"GAIN"}, out, out, m_dir.path());
    }

    QTemporaryDir m_dir;
    QString m_said;
};
} // namespace

TEST_F(ReplayTest, OneRunPassAndLineIsOnePointAndTheSameMeasurementIsRefused)
{
    for (const Step &step : kNight) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(play(step), step.status) << m_said.toStdString();
        const QcLog::Series qc = QcLog(m_dir.filePath("StabQC.csv")).lastSeries();
        EXPECT_EQ(qc.points.size(), step.points);
        EXPECT_EQ(StabilityLog(m_dir.filePath("StabData.txt")).lastSeries().size(), step.dataLines)
            << "StabData.txt keeps a line for every measurement";
        DriftlogModel model(m_dir.path());
        model.startUp();
        EXPECT_EQ(model.charts().drift.points().size(), step.points)
            << "the rules count the points the QC log keeps";
        if (step.status == DriftlogCommandLine::kAlreadyLogged) {
            EXPECT_TRUE(m_said.contains("already logged at ")) << m_said.toStdString();
        }
    }
    // The replaced point stays in the log, marked by the one that replaced it.
    const QString csv = QString::fromLatin1(lumen::test::fileBytes(m_dir.filePath("StabQC.csv")));
    EXPECT_TRUE(csv.contains(",\"/lab/journals/run,0105.jrn\",,5,")) << csv.toStdString();
    EXPECT_EQ(csv.count("2026-01-07T08:00:00"), 2) << "its own line and the mark it left";
}

TEST_F(ReplayTest, AQcLogOfTheFirstLayoutGainsTheNewColumnsAndKeepsItsLines)
{
    const QString path = m_dir.filePath("StabQC.csv");
    ASSERT_TRUE(lumen::test::writeBytes(
        path, "date_time,minutes,centre_keV,drift_percent,drift_keV,fwhm_keV,net_area,"
              "live_time_s,count_rate_cps,decay_corrected_rate_cps\r\n"
              "2026-01-05T08:00:00Z,0,661.66,0,0,1.52,,,,\r\n"
              "not a record\r\n"));
    QcRecord r;
    r.dateTime = "2026-01-06T08:00:00Z";
    r.minutes = 1440;
    r.centre = 661.7;
    QcLog(path).append(r);
    const QList<QByteArray> lines = lumen::test::fileBytes(path).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].endsWith(",run,run_pass,run_line,report_sha256,replaced_by\r"));
    EXPECT_EQ(lines[1], "2026-01-05T08:00:00Z,0,661.66,0,0,1.52,,,,,,,,,\r");
    EXPECT_EQ(lines[2], "not a record\r");
    EXPECT_EQ(QcLog(path).lastSeries().points.size(), 1);
}
