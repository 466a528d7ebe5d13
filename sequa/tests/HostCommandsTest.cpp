#include "sequa/tests/CommandsTestBench.h"

#include <QLocale>

namespace lumen::sequa::test {
namespace {

class HostCommandsTest : public CommandsTestBench
{
protected:
    QStringList argsOfLast(const QString &method) const
    {
        const QList<HostCall> calls = m_recording->callsOf(method);
        return calls.isEmpty() ? QStringList{"<not called>"} : calls.last().args;
    }
};

TEST_F(HostCommandsTest, ElapsedTimesAndChannelsKeepTheirBlanks)
{
    m_recording->replies[QStringLiteral("GetElapsedReal")] = QStringLiteral("12");
    EXPECT_EQ(reply(QStringLiteral("GetElapsedReal")), "OK Elapsed Real Time is 12 seconds");
    EXPECT_EQ(run(QStringLiteral("GetElapsedReal")), " Elapsed Real Time is 12 seconds");
    m_recording->replies[QStringLiteral("GetElapsedLive")] = QStringLiteral("11.5");
    EXPECT_EQ(run(QStringLiteral("GetElapsedLive")), " Elapsed Live Time is 11.5 seconds");

    m_recording->channels = 1024;
    EXPECT_EQ(reply(QStringLiteral("GetNumberChannels")), "OK There are  1024 channels");
    EXPECT_EQ(bytesOf(QStringLiteral("Lnumchan.txt")), " 1024\r\n");

    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Acquiring");
    EXPECT_EQ(run(QStringLiteral("GetAcqStatus")), "Acquiring");
}

TEST_F(HostCommandsTest, SimulatedHostAnswersTheAcquisitionCommands)
{
    SimulatedHost &host = useSimulatedHost(4096);
    EXPECT_EQ(run(QStringLiteral("SetLivePreset 5")), "OK");
    EXPECT_EQ(run(QStringLiteral("PresetsOn")), "OK");
    EXPECT_EQ(run(QStringLiteral("StartAcquire")), "OK");
    host.advanceClock(3);
    EXPECT_EQ(run(QStringLiteral("GetAcqStatus")), "Acquiring");
    host.advanceClock(30);
    EXPECT_EQ(run(QStringLiteral("GetAcqStatus")), "Reached Preset");
    EXPECT_TRUE(run(QStringLiteral("GetElapsedLive")).startsWith(" Elapsed Live Time is 5"));
    EXPECT_EQ(run(QStringLiteral("GetNumberChannels")), " There are  4096 channels");
    host.setExternalInput(2, true);
    EXPECT_EQ(run(QStringLiteral("GetExtIn 2")), "1");
    EXPECT_EQ(run(QStringLiteral("SetExtOut1,1")), "OK");
    EXPECT_TRUE(host.externalOutput(1));
    EXPECT_EQ(run(QStringLiteral("Minimize")), "OK");
    EXPECT_TRUE(host.isMinimized());
}

TEST_F(HostCommandsTest, SampleTimeSendsATimeOfDayAloneAndRefusesOtherText)
{
    EXPECT_EQ(reply(QStringLiteral("SampleTime14:05:09")), "OK");
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleTime")), QStringList{"14:05:09"});
    m_recording->replies[QStringLiteral("SampleTime")] = QStringLiteral("Bad time");
    EXPECT_EQ(reply(QStringLiteral("SampleTime 8:30")), "Bad time") << "the host's reply";
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleTime")), QStringList{" 8:30"}) << "untrimmed";

    const int sent = m_recording->callsOf(QStringLiteral("SampleTime")).size();
    EXPECT_EQ(reply(QStringLiteral("SampleTime15-Jan-2026")), "OK");
    EXPECT_EQ(reply(QStringLiteral("SampleTime15-Jan-2026 14:05:09")), "OK");
    EXPECT_TRUE(reply(QStringLiteral("SampleTimesoon")).startsWith("Error: "));
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("SampleTime")).size(), sent);
}

TEST_F(HostCommandsTest, GetDateAndGetTimeFormatTheValueFileOrUseNow)
{
    writeFile(QStringLiteral("empty.txt"), "");
    EXPECT_EQ(reply(QStringLiteral("GetDate empty.txt")), "OK");
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleDate")), QStringList{"15-Jan-2026"});
    EXPECT_EQ(reply(QStringLiteral("GetTime empty.txt")), "OK");
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleTime")), QStringList{"10:00:00"});

    // English month names whatever the locale says.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    writeFile(QStringLiteral("date.txt"), "old\r\n2026-03-05\r\n\r\n");
    reply(QStringLiteral("GetDate ") + file(QStringLiteral("date.txt")));
    QLocale::setDefault(before);
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleDate")), QStringList{"05-Mar-2026"});

    writeFile(QStringLiteral("time.txt"), "7:08\r\n");
    reply(QStringLiteral("GetTime time.txt"));
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleTime")), QStringList{"07:08:00"});

    const int dates = m_recording->callsOf(QStringLiteral("SampleDate")).size();
    writeFile(QStringLiteral("junk.txt"), "next week\r\n");
    EXPECT_EQ(reply(QStringLiteral("GetDate junk.txt")), "OK") << "no date: nothing sent";
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("SampleDate")).size(), dates);

    EXPECT_TRUE(reply(QStringLiteral("GetDate missing.txt")).startsWith("Error: "));
}

TEST_F(HostCommandsTest, AskCommandsWriteTheirValueFilesInTheDesignedOrder)
{
    QStringList fileAtCall;
    m_recording->onCall = [&](const HostCall &call) {
        const QHash<QString, QString> files = {{"SetLivePreset", "LTpreset.txt"},
                                               {"SetSpectrumID", "Id.txt"},
                                               {"SampleQuantity", "Wt.txt"},
                                               {"SampleUnits", "Units.txt"},
                                               {"SampleDate", "Date.txt"}};
        if (files.contains(call.method))
            fileAtCall.append(call.method + (QFile::exists(file(files[call.method])) ? "+" : "-"));
    };

    // Cancel answers the empty text: a preset of 0, written before the host hears it.
    EXPECT_EQ(reply(QStringLiteral("AskLivePreset")), "OK");
    EXPECT_EQ(argsOfLast(QStringLiteral("SetLivePreset")), QStringList{"0"});
    EXPECT_EQ(bytesOf(QStringLiteral("LTpreset.txt")), "0\r\n");
    EXPECT_EQ(m_operator.prompts().last().text, "Enter Live Time preset:");
    EXPECT_EQ(m_operator.prompts().last().title, "Live Time Preset");

    m_operator.queueInput(QStringLiteral("Soil 12 "));
    reply(QStringLiteral("AskID"));
    EXPECT_EQ(argsOfLast(QStringLiteral("SetSpectrumID")), QStringList{"Soil 12 "});
    EXPECT_EQ(bytesOf(QStringLiteral("Id.txt")), "Soil 12 \r\n");

    m_recording->replies[QStringLiteral("SampleQuantity")] = QStringLiteral("refused");
    m_operator.queueInput(QStringLiteral("2.5 kg"));
    EXPECT_EQ(reply(QStringLiteral("AskQuantity")), "OK");
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleQuantity")), QStringList{"2.5"});

    m_operator.queueInput(QStringLiteral("kg"));
    reply(QStringLiteral("AskUnits"));
    m_operator.queueInput(QStringLiteral("3/4/2026"));
    reply(QStringLiteral("AskDate"));
    EXPECT_EQ(bytesOf(QStringLiteral("Date.txt")), "04-Mar-2026\r\n");
    EXPECT_EQ(fileAtCall, QStringList({"SetLivePreset+", "SetSpectrumID+", "SampleQuantity+",
                                       "SampleUnits-", "SampleDate-"}));

    // AskTime writes even what it did not send.
    m_operator.queueInput(QStringLiteral("at noon"));
    const int times = m_recording->callsOf(QStringLiteral("SampleTime")).size();
    EXPECT_EQ(reply(QStringLiteral("AskTime")), "OK");
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("SampleTime")).size(), times);
    EXPECT_EQ(bytesOf(QStringLiteral("Time.txt")), "at noon\r\n");
}

TEST_F(HostCommandsTest, AskNameSavesTheReportOfTheLastAnalysisThenTheSpectrum)
{
    EXPECT_EQ(reply(QStringLiteral("AskName")), "OK") << "cancelled: nothing happens";
    EXPECT_TRUE(m_recording->calls.isEmpty());
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("SpmFile.txt"))));

    reply(QStringLiteral("AnalyzePeakFind"));
    m_recording->replies[QStringLiteral("SaveRprt")] = QStringLiteral("report refused");
    m_recording->replies[QStringLiteral("SaveSpt")] = QStringLiteral("OKsaved");
    m_operator.queueInput(QStringLiteral("S01"));
    EXPECT_EQ(reply(QStringLiteral("AskName")), "OKsaved");
    EXPECT_EQ(m_recording->methods().mid(1), QStringList({"SaveRprt", "SaveSpt"}));
    EXPECT_EQ(argsOfLast(QStringLiteral("SaveRprt")), QStringList({"PeakFind", "S01"}));
    EXPECT_EQ(bytesOf(QStringLiteral("SpmFile.txt")), "S01\r\n");
}

TEST_F(HostCommandsTest, UntrimmedArgumentsKeepTheirBlanks)
{
    QString line = QStringLiteral("  SetSpectrumID Soil  A  ");
    runner().ExecuteCommandLine(line, false);
    EXPECT_EQ(argsOfLast(QStringLiteral("SetSpectrumID")), QStringList{" Soil  A"});

    writeFile(QStringLiteral("id.txt"), "Core 7  B   \r\n");
    reply(QStringLiteral("GetID id.txt"));
    EXPECT_EQ(argsOfLast(QStringLiteral("SetSpectrumID")), QStringList{"Core 7  B   "});

    reply(QStringLiteral("SampleUnits Bq/kg"));
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleUnits")), QStringList{" Bq/kg"});
    reply(QStringLiteral("SelectLibNATURAL.LIB"));
    EXPECT_EQ(argsOfLast(QStringLiteral("selectlibrary")), QStringList{"NATURAL.LIB"});
}

TEST_F(HostCommandsTest, FileNamesTravelInTheBlankPaddedField)
{
    reply(QStringLiteral("SaveSpectrum  spec1.spe"));
    const QStringList saved = argsOfLast(QStringLiteral("SaveSpt"));
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].size(), 255);
    EXPECT_EQ(saved[0].trimmed(), "spec1.spe");
    EXPECT_TRUE(saved[0].startsWith("spec1.spe "));

    reply(QStringLiteral("SaveRprtRapidScan,") + QString(300, u'x'));
    EXPECT_EQ(argsOfLast(QStringLiteral("SaveRprt"))[1], QString(255, u'x'));
    EXPECT_EQ(model().lastAnalysisType(), "RapidScan");

    reply(QStringLiteral("LoadConfigdet1.cfg,All"));
    const QStringList config = argsOfLast(QStringLiteral("LoadConfig"));
    EXPECT_EQ(config[0].size(), 255);
    EXPECT_EQ(config[1], "All");
    EXPECT_EQ(model().lastAnalysisType(), "All");
}

TEST_F(HostCommandsTest, NumbersOutsideSixteenBitsAreOverflowErrors)
{
    for (const char *line :
         {"SetPrimary40000", "CopySpectrum1,70000", "CopySpectrum-32769,1", "GetROIData40000,NET",
          "GetExtIn32768", "SetExtOut1,40000", "LOGROIS 99999", "WaitInput 99999,1"}) {
        EXPECT_EQ(reply(QString::fromLatin1(line)), "Error: Overflow") << line;
    }
    EXPECT_TRUE(m_recording->calls.isEmpty()) << m_recording->methods().join(',').toStdString();
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("LroiDat.txt"))));

    reply(QStringLiteral("CopySpectrum 32767 , -32768"));
    EXPECT_EQ(argsOfLast(QStringLiteral("CopySpt")), QStringList({"32767", "-32768"}));
    reply(QStringLiteral("SetPrimary2.5"));
    EXPECT_EQ(argsOfLast(QStringLiteral("setprimary")), QStringList{"2"}) << "halves to even";
}

TEST_F(HostCommandsTest, AMissingCommaFailsOrReadsTheWholeLine)
{
    reply(QStringLiteral("CopySpectrum2"));
    EXPECT_EQ(argsOfLast(QStringLiteral("CopySpt")), QStringList({"2", "0"}));

    model().setLastAnalysisType(QStringLiteral("before"));
    for (const char *line : {"SaveRprtPeakFind", "GetRprtName PeakFind", "LoadConfigdet1.cfg",
                             "SetExtOut1", "WaitInput 2"}) {
        EXPECT_TRUE(reply(QString::fromLatin1(line)).startsWith("Error: ")) << line;
    }
    EXPECT_EQ(model().lastAnalysisType(), "before");
    EXPECT_EQ(m_recording->calls.size(), 1);
    EXPECT_EQ(reply(QStringLiteral("SetExtOut1,on")), "Error: Type mismatch");
}

TEST_F(HostCommandsTest, ValueFileCommandsReadTheLastLineThatIsNotEmpty)
{
    writeFile(QStringLiteral("lt.txt"), "100\r\n 300.5 \r\n\r\n");
    m_recording->replies[QStringLiteral("SetLivePreset")] = QStringLiteral("Busy");
    EXPECT_EQ(reply(QStringLiteral("GetLivePreset lt.txt")), "OK") << "always OK";
    EXPECT_EQ(argsOfLast(QStringLiteral("SetLivePreset")), QStringList{"300.5"});

    writeFile(QStringLiteral("rep.txt"), "RPT1\r\n");
    reply(QStringLiteral("GetRprtName PeakIdent,rep.txt"));
    EXPECT_EQ(argsOfLast(QStringLiteral("SaveRprt")), QStringList({"PeakIdent", "RPT1"}));
    EXPECT_EQ(model().lastAnalysisType(), "PeakIdent");

    writeFile(QStringLiteral("none.txt"), "");
    const int saves = m_recording->callsOf(QStringLiteral("SaveSpt")).size();
    EXPECT_EQ(reply(QStringLiteral("GetName none.txt")), "OK");
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("SaveSpt")).size(), saves);
    EXPECT_TRUE(reply(QStringLiteral("GetUnits nowhere.txt")).startsWith("Error: "));

    writeFile(QStringLiteral("wt.txt"), "1.25 g\r\n");
    EXPECT_EQ(reply(QStringLiteral("GetQuantity wt.txt")), "OK");
    EXPECT_EQ(argsOfLast(QStringLiteral("SampleQuantity")), QStringList{"1.25"});
}

} // namespace
} // namespace lumen::sequa::test
