#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "sequa/tests/CommandsTestBench.h"

namespace lumen::sequa::test {
namespace {

class DataFilesTest : public CommandsTestBench
{
protected:
    /** A simulated host that has counted a minute into `rois` regions. */
    void countIntoRois(int rois, const QString &faults = QString())
    {
        SimulatedHost &host = useSimulatedHost(8192, faults);
        QByteArray text;
        for (int i = 0; i < rois; ++i)
            text += QByteArray::number(200 + 300 * i) + ' ' + QByteArray::number(240 + 300 * i) +
                    "\r\n";
        writeFile(QStringLiteral("rois.txt"), text);
        ASSERT_EQ(run(QStringLiteral("LoadROIs") + file(QStringLiteral("rois.txt"))), "OK");
        ASSERT_EQ(run(QStringLiteral("StartAcquire")), "OK");
        host.advanceClock(60);
    }

    QString hostValue(std::int16_t roi, const char *key)
    {
        std::int16_t number = roi;
        return m_simulated->GetROIData(number, QString::fromLatin1(key)).mid(2);
    }

    QString expectedRow(std::int16_t roi, const QString &timeOfDay)
    {
        QString row;
        for (const QString &field : QStringList{
                 numberToText(roi), timeOfDay, hostValue(roi, "NUCLIDE"),
                 hostValue(roi, "CENTROID"), hostValue(roi, "GROSS"), hostValue(roi, "NET")})
            row += fixedWidth(field, 14);
        return row;
    }

    const QString m_logName = QStringLiteral("ROI_Data_260115.txt");
};

TEST_F(DataFilesTest, RoiLogStartsTheDaysFileOnceAndAppendsRowsAfterwards)
{
    countIntoRois(3);
    EXPECT_EQ(run(QStringLiteral("LOGROIS 2")), "OK");
    const QStringList first = linesOf(m_logName);
    ASSERT_EQ(first.size(), 7);
    EXPECT_EQ(first[0], "01-15-2026");
    EXPECT_EQ(first[1], "");
    EXPECT_EQ(first[2],
              "ROI           TOD           ID            Energy        Gross         Net");
    EXPECT_EQ(first[3], "");
    EXPECT_EQ(first[4], expectedRow(1, QStringLiteral("10:00:00")));
    EXPECT_EQ(first[5], expectedRow(2, QStringLiteral("10:00:00")));
    EXPECT_EQ(first[4].size(), 84);
    EXPECT_EQ(first[6], "");
    EXPECT_FALSE(hostValue(1, "GROSS").isEmpty());
    EXPECT_TRUE(bytesOf(m_logName).endsWith("\r\n\r\n")) << "CR LF line ends";

    m_clock.advance(65 * 1000);
    EXPECT_EQ(run(QStringLiteral("logRois3")), "OK") << "any letter case, no blank needed";
    const QStringList second = linesOf(m_logName);
    ASSERT_EQ(second.size(), 11);
    EXPECT_EQ(second.mid(0, 7), first);
    EXPECT_EQ(second[7], expectedRow(1, QStringLiteral("10:01:05")));
    EXPECT_EQ(second[9], expectedRow(3, QStringLiteral("10:01:05")));
    EXPECT_EQ(second[10], "");
}

TEST_F(DataFilesTest, RoiLogWithCountZeroWritesOnlyTheHeaderAndTheClosingLine)
{
    countIntoRois(1);
    EXPECT_EQ(run(QStringLiteral("LOGROIS 0")), "OK");
    EXPECT_EQ(bytesOf(m_logName),
              QByteArray("01-15-2026\r\n\r\nROI           TOD           ID            Energy     "
                         "   Gross         Net\r\n\r\n\r\n"));
    EXPECT_EQ(run(QStringLiteral("LOGROIS -4")), "OK");
    EXPECT_EQ(linesOf(m_logName).size(), 6) << "a second call adds only its empty line";
}

TEST_F(DataFilesTest, RoiLogCutsLongValuesAndBlanksBareOkReplies)
{
    countIntoRois(1, QStringLiteral("error=GetROIData:OKCs-137 and I-131 mix"));
    run(QStringLiteral("LOGROIS 1"));
    QStringList lines = linesOf(m_logName);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[4], fixedWidth(u" 1", 14) + fixedWidth(u"10:00:00", 14) +
                            QStringLiteral("Cs-137 and I-1").repeated(4));

    QFile::remove(file(m_logName));
    countIntoRois(1, QStringLiteral("error=GetROIData:OK"));
    run(QStringLiteral("LOGROIS 1"));
    lines = linesOf(m_logName);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[4], fixedWidth(u" 1", 14) + fixedWidth(u"10:00:00", 14) + QString(56, u' '));
}

TEST_F(DataFilesTest, AFailingHostAddsNothingToTheLog)
{
    m_recording->replies[QStringLiteral("GetROIData")] = QStringLiteral("OKx");
    m_recording->onCall = [this](const HostCall &call) {
        if (call.method == "GetROIData" && call.args[0] == "3")
            throw Failure(QStringLiteral("The host application is not running"));
    };
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("LOGROIS 5"), false));
    EXPECT_EQ(model().statusText(), "Error: The host application is not running");
    EXPECT_FALSE(QFile::exists(file(m_logName))) << "no header or rows of a call cut short";
}

TEST_F(DataFilesTest, RoiDumpLabelsAllFourteenFieldsThenTheItemIsAsked)
{
    countIntoRois(3);
    const QString net = hostValue(3, "NET");
    EXPECT_EQ(run(QStringLiteral("GetROIData3,NET")), net);
    EXPECT_EQ(model().lastAnalysisType(), "NET");
    const QStringList lines = linesOf(QStringLiteral("LroiDat.txt"));
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], "Data for ROI #: 3");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "      ID: " + hostValue(3, "ID"));
    EXPECT_EQ(lines[7], "     NET: " + net);
    EXPECT_EQ(lines[8], "CENTROID: " + hostValue(3, "CENTROID"));
    EXPECT_EQ(lines[15], "   YIELD: " + hostValue(3, "YIELD"));

    // The host's error text for an unknown ROI is written as if it were a value.
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("GetROIData -1 ,GROSS"), false));
    const QStringList unknown = linesOf(QStringLiteral("LroiDat.txt"));
    ASSERT_EQ(unknown.size(), 16);
    EXPECT_EQ(unknown[0], "Data for ROI #:-1");
    std::int16_t minusOne = -1;
    EXPECT_EQ(unknown[4],
              "   GROSS: " + m_simulated->GetROIData(minusOne, QStringLiteral("GROSS")).mid(2));
}

TEST_F(DataFilesTest, ChannelDumpWritesTheReportedChannelsAndTheirMaximum)
{
    SimulatedHost &host = useSimulatedHost(8192);
    run(QStringLiteral("StartAcquire"));
    host.advanceClock(120);
    const std::vector<std::int32_t> counts = host.memory(1).counts;
    const std::int32_t maximum = *std::max_element(counts.begin(), counts.end());
    ASSERT_GT(maximum, 0);

    EXPECT_EQ(run(QStringLiteral("GetCountsNow")), "Maximum count is " + QString::number(maximum));
    const QStringList lines = linesOf(QStringLiteral("LchanDat.txt"));
    ASSERT_EQ(lines.size(), 8192);
    EXPECT_EQ(lines[0], " 0 " + numberToText(counts[0]));
    EXPECT_EQ(lines[8191], " 8191 " + numberToText(counts[8191]));
}

TEST_F(DataFilesTest, ChannelMaximumIgnoresCountsBeyondTheReportedChannels)
{
    m_recording->channels = 8192;
    m_recording->counts.assign(16384, 5);
    m_recording->counts[100] = 70;
    m_recording->counts[9000] = 99999;
    EXPECT_EQ(run(QStringLiteral("GetCounts")), "Maximum count is 70");
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("GetCounts")).size(), 1);
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("GetCounts"))[0].args, QStringList{"16384"});
    EXPECT_EQ(linesOf(QStringLiteral("LchanDat.txt")).size(), 8192);

    m_recording->channels = 0;
    EXPECT_EQ(run(QStringLiteral("GetCounts")), "Maximum count is 0");
    EXPECT_TRUE(bytesOf(QStringLiteral("LchanDat.txt")).isEmpty());

    m_recording->channels = 3;
    m_recording->counts = {-4, -9, -1};
    EXPECT_EQ(run(QStringLiteral("GetCounts")), "Maximum count is 0") << "never below 0";
    EXPECT_EQ(linesOf(QStringLiteral("LchanDat.txt"))[1], " 1 -9");
}

TEST_F(DataFilesTest, MoreChannelsThanTheBufferHoldsFailWithoutTouchingTheFile)
{
    writeFile(QStringLiteral("LchanDat.txt"), "old\r\n");
    m_recording->channels = 16385;
    EXPECT_TRUE(reply(QStringLiteral("GetCounts")).startsWith("Error: "));
    m_recording->channels = 40000;
    EXPECT_EQ(reply(QStringLiteral("GetCounts")), "Error: Overflow");
    EXPECT_EQ(bytesOf(QStringLiteral("LchanDat.txt")), "old\r\n");
}

TEST(DeadTimeName, IsCompletedWithTheProgramFolderAndAnExtension)
{
    const QString folder = QStringLiteral("/prog");
    EXPECT_EQ(DataFiles::completeDeadTimeName("DT.txt", folder), "/prog/DT.txt");
    EXPECT_EQ(DataFiles::completeDeadTimeName("run5", folder), "/prog/run5.txt");
    EXPECT_EQ(DataFiles::completeDeadTimeName("C:\\data\\run7", folder), "C:\\data\\run7.txt");
    EXPECT_EQ(DataFiles::completeDeadTimeName("C:\\data\\dt.dat", folder), "C:\\data\\dt.dat");
    EXPECT_EQ(DataFiles::completeDeadTimeName("C:\\data\\dead.time", folder),
              "C:\\data\\dead.time.txt");
    EXPECT_EQ(DataFiles::completeDeadTimeName("C:\\x\\dt.tx", folder), "C:\\x\\dt.tx");
    EXPECT_EQ(DataFiles::completeDeadTimeName("data/run 8  .x", folder), "data/run 8.x");
}

TEST_F(DataFilesTest, DeadTimeCommandsWriteTheHostsValue)
{
    m_recording->deadTime = 12.5;
    EXPECT_EQ(run(QStringLiteral("SaveDT  run5 ")), "OK");
    EXPECT_EQ(bytesOf(QStringLiteral("run5.txt")), " 12.5\r\n");

    QDir(m_folder.path()).mkdir(QStringLiteral("sub"));
    m_recording->deadTime = 3;
    EXPECT_EQ(run(QStringLiteral("StoreDT ") + file(QStringLiteral("sub\\dt.dat"))), "OK")
        << "a backslash names a folder here too";
    EXPECT_EQ(bytesOf(QStringLiteral("sub/dt.dat")), " 3\r\n");

    writeFile(QStringLiteral("names.txt"), "first\r\n  later  \r\n\r\n");
    EXPECT_EQ(run(QStringLiteral("GetDTName names.txt")), "OK");
    EXPECT_EQ(bytesOf(QStringLiteral("later.txt")), " 3\r\n");

    writeFile(QStringLiteral("empty.txt"), "");
    const int before = m_recording->callsOf(QStringLiteral("GetDeadtime")).size();
    EXPECT_EQ(run(QStringLiteral("GetDTName empty.txt")), "OK");
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("GetDeadtime")).size(), before);
}

} // namespace
} // namespace lumen::sequa::test
