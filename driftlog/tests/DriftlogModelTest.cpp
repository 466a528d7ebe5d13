#include "driftlog/core/DriftlogModel.h"
#include "common/testsupport/TestSupport.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using lumen::driftlog::AppendOutcome;
using lumen::driftlog::DriftlogModel;
using lumen::driftlog::StabSettings;
using lumen::test::fileBytes;
using lumen::test::writeBytes;

namespace {

const QByteArray kFirstLine = QByteArray("0") + QByteArray(18, ' ') + "0\r\n";

QByteArray logLine(const QByteArray &elapsed, const QByteArray &drift)
{
    return elapsed.leftJustified(19, ' ') + drift + "\r\n";
}

/** The model's reference, or a blank one when it has none. */
DriftlogModel::Reference referenceOf(const DriftlogModel &m)
{
    return m.reference().value_or(DriftlogModel::Reference{});
}

class DriftlogModelTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString reportPath() const { return m_dir.filePath("RESULTS.TXT"); }
    QString logPath() const { return m_dir.filePath("StabData.txt"); }
    void writeReport(const QString &date, const QString &time, const QString &centre)
    {
        ASSERT_TRUE(
            writeBytes(reportPath(), lumen::driftlog::test::reportBytes(date, time, centre)));
    }
    DriftlogModel startedModel()
    {
        DriftlogModel m(m_dir.path());
        m.startUp();
        m.setText("Rpath", reportPath());
        return m;
    }
    AppendOutcome readAndAppend(DriftlogModel &m)
    {
        m.readLmnFile();
        return m.appendIt();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DriftlogModelTest, FirstAppendTakesReferenceThenDriftLinesFollow)
{
    DriftlogModel m = startedModel();
    writeReport("22-Jun-2001", "13:05:10", "661.66");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::ReferenceTaken);
    EXPECT_EQ(referenceOf(m).centre, 661.66f);
    EXPECT_EQ(referenceOf(m).date, QString("22-Jun-2001"));
    EXPECT_EQ(referenceOf(m).time, QString("13:05:10"));
    EXPECT_EQ(m.text("ElapsedText"), QString()) << "a new reference leaves the drift boxes";
    EXPECT_EQ(fileBytes(logPath()), kFirstLine);

    writeReport("23-Jun-2001", "12:00:00", "662.32");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::LineWritten);
    EXPECT_EQ(m.text("ElapsedText"), QString("1375"));
    EXPECT_EQ(m.text("keVdrift"), QString("0.6600268"));
    EXPECT_EQ(m.text("PercentDrift"), QString("0.1"));
    EXPECT_EQ(fileBytes(logPath()), kFirstLine + logLine("1375", "0.1"));

    // keV mode logs the keV drift.
    m.selectOption(2);
    EXPECT_EQ(m.mode(), DriftlogModel::kKeVMode);
    writeReport("24-Jun-2001", "13:05:00", "661.0");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::LineWritten);
    EXPECT_EQ(fileBytes(logPath()),
              kFirstLine + logLine("1375", "0.1") + logLine("2880", "-0.6599731"));
}

TEST_F(DriftlogModelTest, NotLaterThanReferenceWritesNothingButShowsValues)
{
    DriftlogModel m = startedModel();
    writeReport("22-Jun-2001", "13:05:00", "661.66");
    readAndAppend(m);
    writeReport("22-Jun-2001", "13:05:40", "662.32");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::NotLater);
    EXPECT_EQ(m.text("ElapsedText"), QString("0"));
    EXPECT_EQ(m.text("keVdrift"), QString("0.6600268"));
    writeReport("21-Jun-2001", "13:05:00", "662.32");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::NotLater);
    EXPECT_EQ(m.text("ElapsedText"), QString("-1440"));
    EXPECT_EQ(fileBytes(logPath()), kFirstLine);
}

TEST_F(DriftlogModelTest, EmptiedLogStartsNewSeriesWithStoredReference)
{
    DriftlogModel m = startedModel();
    writeReport("22-Jun-2001", "13:05:00", "661.66");
    readAndAppend(m);
    writeReport("23-Jun-2001", "12:00:00", "662.32");
    readAndAppend(m);
    ASSERT_TRUE(writeBytes(logPath(), {}));
    writeReport("01-Jul-2001", "08:00:00", "662.00");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::ReferenceTaken);
    EXPECT_EQ(referenceOf(m).centre, 662.0f);
    EXPECT_EQ(referenceOf(m).date, QString("01-Jul-2001"));
    EXPECT_EQ(fileBytes(logPath()), kFirstLine);
}

TEST_F(DriftlogModelTest, LostReferenceKeepsEarlierLogLines)
{
    const QByteArray earlier = kFirstLine + logLine("1375", "0.1");
    ASSERT_TRUE(writeBytes(logPath(), earlier));
    DriftlogModel m = startedModel(); // no settings file: no reference
    writeReport("01-Jul-2001", "08:00:00", "662.00");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::ReferenceTaken);
    EXPECT_EQ(fileBytes(logPath()), earlier + kFirstLine);
}

TEST_F(DriftlogModelTest, MissingReportKeepsBoxesAndAppendsNothing)
{
    DriftlogModel m = startedModel();
    writeReport("22-Jun-2001", "13:05:00", "661.66");
    readAndAppend(m);
    ASSERT_TRUE(QFile::remove(reportPath()));
    EXPECT_FALSE(m.readLmnFile());
    EXPECT_EQ(m.text("IDtext"), QString("File not found!"));
    EXPECT_EQ(m.text("DateText"), QString("22-Jun-2001"));
    EXPECT_EQ(m.text("CenterText"), QString("661.66"));
    EXPECT_FALSE(QFile::exists(reportPath()));
    // Same report values as the reference: nothing to add.
    EXPECT_EQ(m.appendIt(), AppendOutcome::NotLater);
    EXPECT_EQ(fileBytes(logPath()), kFirstLine);
}

TEST_F(DriftlogModelTest, UnusableInputLeavesLogAndReferenceUnchanged)
{
    DriftlogModel m = startedModel();
    // No reference yet: a centre that is no number, or no positive number, takes none.
    for (const char *centre : {"", "abc", "12x", "0", "-5", "1E+99"}) {
        writeReport("22-Jun-2001", "13:05:00", centre);
        EXPECT_EQ(readAndAppend(m), AppendOutcome::BadCentre) << centre;
        EXPECT_FALSE(m.reference());
        EXPECT_FALSE(QFile::exists(logPath()));
    }
    writeReport("32-Jun-2001", "13:05:00", "661.66");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::BadDateTime);
    EXPECT_FALSE(QFile::exists(logPath()));

    writeReport("22-Jun-2001", "13:05:00", "661.66");
    ASSERT_EQ(readAndAppend(m), AppendOutcome::ReferenceTaken);
    writeReport("23-Jun-2001", "12:00:00", "662.32");
    readAndAppend(m);
    const QByteArray before = fileBytes(logPath());

    writeReport("24-Jun-2001", "25:61:00", "662.32");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::BadDateTime);
    EXPECT_EQ(m.text("ElapsedText"), QString());
    writeReport("24-Jun-2001", "12:00:00", "1E+99");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::BadCentre);
    EXPECT_EQ(fileBytes(logPath()), before);
    EXPECT_EQ(referenceOf(m).centre, 661.66f);
    EXPECT_EQ(referenceOf(m).date, QString("22-Jun-2001"));
}

TEST_F(DriftlogModelTest, UnwritableLogIsReportedAndReferenceKept)
{
    // A folder where the log should be cannot be written as a file.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("StabData.txt"));
    DriftlogModel m = startedModel();
    writeReport("22-Jun-2001", "13:05:00", "661.66");
    EXPECT_EQ(readAndAppend(m), AppendOutcome::WriteFailed);
    EXPECT_FALSE(m.reference());
    EXPECT_FALSE(m.lastError().isEmpty());
}

TEST_F(DriftlogModelTest, SettingsRoundTripThroughStartUp)
{
    {
        DriftlogModel m = startedModel();
        EXPECT_EQ(m.mode(), DriftlogModel::kGainMode);
        EXPECT_TRUE(m.optionSelected(1));
        m.setText("Rpath", "  " + reportPath() + "  ");
        m.selectOption(2);
        writeReport("22-Jun-2001", "13:05:00", "661.66");
        readAndAppend(m);
        ASSERT_TRUE(m.saveSettings());
    }
    const QByteArray record = fileBytes(m_dir.filePath("STAB&FILE.DAT"));
    ASSERT_EQ(record.size(), 512);
    DriftlogModel again(m_dir.path());
    again.startUp();
    EXPECT_EQ(again.text("Rpath"), reportPath());
    EXPECT_EQ(again.mode(), DriftlogModel::kKeVMode);
    EXPECT_FALSE(again.optionSelected(1));
    EXPECT_TRUE(again.optionSelected(2));
    EXPECT_EQ(referenceOf(again).centre, 661.66f);
    EXPECT_EQ(referenceOf(again).time, QString("13:05:00"));
}

TEST_F(DriftlogModelTest, StartUpWithDamagedOrEmptySettingsUsesDefaults)
{
    const QString settings = m_dir.filePath("STAB&FILE.DAT");
    ASSERT_TRUE(writeBytes(settings, QByteArray(37, 'z')));
    DriftlogModel m(m_dir.path());
    const QString defaultPath = m.text("Rpath");
    m.startUp();
    EXPECT_EQ(m.text("Rpath"), defaultPath);
    EXPECT_FALSE(m.reference());
    EXPECT_FALSE(m.lastError().isEmpty());
    ASSERT_TRUE(m.saveSettings());
    EXPECT_EQ(fileBytes(settings).size(), 512);

    // Both options cleared in the record: neither is selected, the mode stays 0.
    StabSettings s;
    s.gainOption = false;
    s.keVOption = false;
    s.save(settings);
    DriftlogModel cleared(m_dir.path());
    cleared.startUp();
    EXPECT_FALSE(cleared.optionSelected(1));
    EXPECT_FALSE(cleared.optionSelected(2));
    EXPECT_EQ(cleared.mode(), DriftlogModel::kGainMode);
}

TEST_F(DriftlogModelTest, AFirstRunKilledWhileTakingItsReferenceNeverDoublesTheZeroLine)
{
    writeReport("22-Jun-2001", "13:05:00", "661.66");
    // Killed after the log was started but before the settings were saved
    // (what older runs could leave): the next run keeps the one "0 0" line.
    ASSERT_TRUE(writeBytes(logPath(), kFirstLine));
    DriftlogModel m = startedModel();
    EXPECT_EQ(readAndAppend(m), AppendOutcome::ReferenceTaken);
    EXPECT_EQ(fileBytes(logPath()), kFirstLine);

    // Killed after the reference was saved but before the log was started:
    // the log is absent, and the next run takes its reference anew.
    ASSERT_TRUE(QFile::remove(logPath()));
    DriftlogModel next = startedModel();
    EXPECT_TRUE(next.reference()) << "the reference is saved before the log";
    EXPECT_EQ(readAndAppend(next), AppendOutcome::ReferenceTaken);
    EXPECT_EQ(fileBytes(logPath()), kFirstLine);
}

TEST_F(DriftlogModelTest, AReportThatIsNoRegularFileIsRefusedWithItsReason)
{
    DriftlogModel m = startedModel();
    const QString fifo = m_dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), m_dir.path()}) {
        m.setText("Rpath", path);
        EXPECT_FALSE(m.readLmnFile());
        EXPECT_TRUE(m.statusText().startsWith("Not a regular file: "))
            << m.statusText().toStdString();
    }
    EXPECT_EQ(m.appendIt(), AppendOutcome::NothingRead);
    EXPECT_FALSE(QFile::exists(logPath()));
}

TEST_F(DriftlogModelTest, AFailedEditorStartIsSaid)
{
    ASSERT_TRUE(writeBytes(logPath(), kFirstLine));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_dir.path())); // no program to start here
    DriftlogModel m = startedModel();
    const bool viewed = m.viewLog();
    qputenv("PATH", path);
    EXPECT_FALSE(viewed);
    EXPECT_TRUE(m.statusText().startsWith("Cannot start the text editor"))
        << m.statusText().toStdString();
}

TEST_F(DriftlogModelTest, EachAppendedLineIsJudged)
{
    DriftlogModel m = startedModel();
    m.selectOption(2);
    writeReport("22-Jun-2001", "13:00:00", "661.66");
    ASSERT_EQ(readAndAppend(m), AppendOutcome::ReferenceTaken);
    EXPECT_FALSE(m.verdict());
    writeReport("22-Jun-2001", "14:00:00", "661.70");
    ASSERT_EQ(readAndAppend(m), AppendOutcome::LineWritten);
    ASSERT_TRUE(m.verdict());
    ASSERT_TRUE(m.verdict()->drift());
    EXPECT_EQ(m.verdict()->drift()->level, lumen::driftlog::Verdict::Level::NoLimitsYet);
    EXPECT_TRUE(m.statusText().startsWith("no limits yet\ndrift: " + m.verdict()->drift()->text()))
        << m.statusText().toStdString();

    // The tolerance of the mode in use applies: keV here.
    ASSERT_TRUE(writeBytes(m_dir.filePath("StabLimits.txt"), "gain = 5 # %\nkev = 0.3\n"));
    writeReport("22-Jun-2001", "15:00:00", "662.10");
    ASSERT_EQ(readAndAppend(m), AppendOutcome::LineWritten);
    EXPECT_EQ(m.verdict()->headline(), QString("action: drift tolerance"));

    ASSERT_TRUE(writeBytes(m_dir.filePath("StabLimits.txt"), "kev = lots\n"));
    writeReport("22-Jun-2001", "16:00:00", "661.70");
    ASSERT_EQ(readAndAppend(m), AppendOutcome::LineWritten);
    EXPECT_TRUE(m.toleranceUnread());
    EXPECT_TRUE(m.statusText().contains("StabLimits.txt line 1")) << m.statusText().toStdString();
    EXPECT_EQ(fileBytes(logPath()).count("\r\n"), 4) << "every point is logged";
}
