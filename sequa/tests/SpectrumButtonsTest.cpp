#include "common/core/DateText.h"
#include "sequa/tests/RecorderTestBench.h"

#include <QFileInfo>

namespace lumen::sequa::test {
namespace {

class SpectrumButtonsTest : public RecorderTestBench
{
};

class SpectrumRecordingOnly : public RecorderTestBench
{
protected:
    SpectrumRecordingOnly() { model().setDoNow(false); }
};

TEST_F(SpectrumRecordingOnly, CopyAsksSourceThenDestinationAndRecordsDestinationFirst)
{
    m_operator.queueInput(QStringLiteral("3"));
    m_operator.queueInput(QStringLiteral("5"));
    m_spectrum.copySpectrum();
    m_operator.queueInput(QStringLiteral("8"));
    m_operator.queueInput(QStringLiteral("1"));
    m_spectrum.copySpectrum();
    EXPECT_EQ(recorded(), QStringList({"CopySpectrum 5, 3", "CopySpectrum 1, 8"}));
    EXPECT_EQ(inputPrompts(),
              QStringList({"Copy from spectrum:|Copy Spec|1", "Copy to spectrum:|Copy Spec| 4",
                           "Copy from spectrum:|Copy Spec|1", "Copy to spectrum:|Copy Spec| 1"}));
}

TEST_F(SpectrumRecordingOnly, CopyRefusesSpectraOutsideOneToEightAfterEachAnswer)
{
    const QString range = QStringLiteral("Please enter a valid number (1-8) for spectrum number.");
    m_operator.queueInput(QStringLiteral("9"));
    m_spectrum.copySpectrum();
    EXPECT_EQ(inputPrompts().size(), 1); // never asked for the destination
    m_operator.queueInput(QStringLiteral("abc"));
    m_spectrum.copySpectrum();
    m_operator.queueInput(QStringLiteral("2"));
    m_operator.queueInput(QStringLiteral("0"));
    m_spectrum.copySpectrum();
    m_operator.queueInput(QStringLiteral("2"));
    m_spectrum.copySpectrum(); // destination cancelled
    EXPECT_TRUE(recorded().isEmpty());
    EXPECT_EQ(m_operator.messages(), QStringList({range, range, range}));
}

TEST_F(SpectrumRecordingOnly, InputButtonsRecordTheAnswerAsTyped)
{
    m_operator.queueInput(QStringLiteral("3"));
    m_spectrum.getRoiData();
    m_operator.queueInput(QStringLiteral(" C:\\spectra\\a.spc"));
    m_spectrum.saveSpectrum();
    m_operator.queueInput(QStringLiteral("Soil 12"));
    m_spectrum.setInfo();
    m_spectrum.numberOfChannels();
    m_spectrum.getRoiData();   // cancelled
    m_spectrum.saveSpectrum(); // cancelled
    m_spectrum.setInfo();      // cancelled
    m_operator.queueInput(QStringLiteral("70000"));
    m_spectrum.getRoiData();
    EXPECT_EQ(recorded(), QStringList({"GetROIData 3, NET", "SaveSpectrum C:\\spectra\\a.spc",
                                       "SetSpectrumIDSoil 12", "GetNumberChannels"}));
    EXPECT_EQ(
        m_operator.messages(),
        QStringList{"You entered 70000.\r\nPlease enter a whole number from -32768 to 32767."});
    EXPECT_EQ(inputPrompts().value(1), "Enter filename:|Save Spectrum|");
    EXPECT_EQ(inputPrompts().value(2), "Enter spectrum description:|Set SpectrumID|0");
}

TEST_F(SpectrumRecordingOnly, AskButtonsOnlyRecordOutsideImmediateMode)
{
    m_spectrum.askTime();
    m_spectrum.askDate();
    m_spectrum.askUnits();
    m_spectrum.askQuantity();
    m_spectrum.askId();
    m_spectrum.askName();
    m_spectrum.getCounts();
    EXPECT_EQ(recorded(), QStringList({"AskTime", "AskDate", "AskUnits", "AskQuantity", "AskID",
                                       "AskName", "GetCounts"}));
    EXPECT_TRUE(m_operator.prompts().isEmpty());
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(SpectrumButtonsTest, AskDateAndTimeSendTheFormattedAnswerAndKeepIt)
{
    m_spectrum.askDate(); // empty answer: today
    const QString today = formatDate(m_clock.today(), u"DD-MMM-YYYY");
    EXPECT_EQ(m_recording->callsOf("SampleDate").value(0).args, QStringList{today});
    EXPECT_EQ(linesOf(QStringLiteral("Date.txt")), QStringList{today});

    m_operator.queueInput(QStringLiteral("2026-12-06"));
    m_spectrum.askDate();
    EXPECT_EQ(m_recording->callsOf("SampleDate").value(1).args, QStringList{"06-Dec-2026"});
    EXPECT_EQ(linesOf(QStringLiteral("Date.txt")), QStringList{"06-Dec-2026"});

    m_operator.queueInput(QStringLiteral("9:05"));
    m_spectrum.askTime();
    EXPECT_EQ(m_recording->callsOf("SampleTime").value(0).args, QStringList{"09:05:00"});
    EXPECT_EQ(linesOf(QStringLiteral("Time.txt")), QStringList{"09:05:00"});
    EXPECT_EQ(recorded(), QStringList({"AskDate", "AskDate", "AskTime"}));
    EXPECT_EQ(inputPrompts().value(0),
              "Enter sample Date (DD-MMM-YYYY):|Sample collection date for decay correction|");
}

TEST_F(SpectrumButtonsTest, AskUnitsAndQuantityKeepEveryAnswer)
{
    m_operator.queueInput(QStringLiteral("12 g"));
    m_spectrum.askQuantity();
    EXPECT_TRUE(m_recording->callsOf("SampleQuantity").isEmpty());
    EXPECT_EQ(linesOf(QStringLiteral("Wt.txt")), QStringList{"12 g"});
    m_operator.queueInput(QStringLiteral(" 12.5 "));
    m_spectrum.askQuantity();
    EXPECT_EQ(m_recording->callsOf("SampleQuantity").value(0).args, QStringList{"12.5"});

    m_operator.queueInput(QStringLiteral("kg"));
    m_spectrum.askUnits();
    m_spectrum.askUnits(); // an empty answer is sent and kept too
    EXPECT_EQ(m_recording->callsOf("SampleUnits").size(), 2);
    EXPECT_EQ(m_recording->callsOf("SampleUnits").value(0).args, QStringList{"kg"});
    EXPECT_EQ(bytesOf(QStringLiteral("Units.txt")), "\r\n");
    EXPECT_EQ(recorded(), QStringList({"AskQuantity", "AskQuantity", "AskUnits", "AskUnits"}));
}

TEST_F(SpectrumButtonsTest, AskIdGoesStraightToTheHostAndAFailedCallIsShown)
{
    m_recording->replies[QStringLiteral("SetSpectrumID")] = QStringLiteral("Error: ignored");
    m_operator.queueInput(QStringLiteral("Soil 12"));
    m_spectrum.askId();
    EXPECT_EQ(m_recording->callsOf("SetSpectrumID").value(0).args, QStringList{"Soil 12"});
    EXPECT_EQ(linesOf(QStringLiteral("Id.txt")), QStringList{"Soil 12"});
    EXPECT_TRUE(m_operator.messages().isEmpty()); // the reply is not examined
    EXPECT_EQ(model().statusText(), "Status");

    m_recording->onCall = [](const HostCall &) { throw Failure(QStringLiteral("Host gone")); };
    m_operator.queueInput(QStringLiteral("Soil 13"));
    m_spectrum.askId();
    EXPECT_EQ(m_operator.messages(), QStringList{"Host gone"});
    EXPECT_EQ(linesOf(QStringLiteral("Id.txt")), QStringList{"Soil 12"});
    EXPECT_EQ(recorded(), QStringList{"AskID"});
}

TEST_F(SpectrumButtonsTest, AskNameSavesSpectrumAndTheLastReport)
{
    m_spectrum.askName(); // empty: nothing runs, no file
    EXPECT_TRUE(m_recording->calls.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("SpmFile.txt"))));

    m_operator.queueInput(QStringLiteral(" run1 "));
    m_spectrum.askName(); // no analysis yet: the spectrum only
    EXPECT_EQ(m_recording->methods(), QStringList{"SaveSpt"});

    model().setLastAnalysisType(QStringLiteral("PeakFind"));
    m_operator.queueInput(QStringLiteral("run2"));
    m_spectrum.askName();
    ASSERT_EQ(m_recording->callsOf("SaveRprt").size(), 1);
    EXPECT_EQ(m_recording->callsOf("SaveRprt")[0].args, QStringList({"PeakFind", "run2"}));
    EXPECT_EQ(linesOf(QStringLiteral("SpmFile.txt")), QStringList{"run2"});
    EXPECT_EQ(recorded(), QStringList({"AskName", "AskName", "AskName"}));
}

TEST_F(SpectrumButtonsTest, TimeFromFileSendsOnlyATimeOfDay)
{
    const QString time = valueFile(QStringLiteral("t.txt"), "14:30:00\r\n");
    m_operator.queueFile(time);
    m_spectrum.getTime();
    EXPECT_EQ(m_recording->callsOf("SampleTime").value(0).args, QStringList{"14:30:00"});
    EXPECT_EQ(lastPrompt().dialog.title, "Read Time from file");

    const QString moment = valueFile(QStringLiteral("m.txt"), "06-Dec-2026 14:30\r\n");
    m_operator.queueFile(moment);
    m_spectrum.getTime();
    EXPECT_EQ(m_recording->callsOf("SampleTime").size(), 1);

    m_operator.queueFile(valueFile(QStringLiteral("s.txt"), "soon\r\n"));
    m_spectrum.getTime();
    EXPECT_EQ(recorded(), QStringList({"GetTime " + time, "GetTime " + moment}));
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_TRUE(m_operator.messages()[0].contains("soon"));
}

TEST_F(SpectrumButtonsTest, ValueFileButtonsPreviewWhatTheyRead)
{
    m_operator.queueFile(valueFile(QStringLiteral("d.txt"), "06-Dec-2026\r\n"));
    m_spectrum.getDate();
    m_operator.queueFile(valueFile(QStringLiteral("nd.txt"), "later\r\n"));
    m_spectrum.getDate();
    m_operator.queueFile(valueFile(QStringLiteral("u.txt"), " ml \r\n"));
    m_spectrum.getUnits();
    m_operator.queueFile(valueFile(QStringLiteral("q.txt"), "2.5\r\n"));
    m_spectrum.getQuantity();
    m_operator.queueFile(valueFile(QStringLiteral("nq.txt"), "2.5 l\r\n"));
    m_spectrum.getQuantity();
    m_operator.queueFile(valueFile(QStringLiteral("id.txt"), " Soil 12\r\n"));
    m_spectrum.getId();
    m_operator.queueFile(valueFile(QStringLiteral("n.txt"), "run9\r\n"));
    m_spectrum.getSpectrumName();
    m_operator.queueFile(valueFile(QStringLiteral("e.txt"), ""));
    m_spectrum.getSpectrumName(); // empty file: nothing to save

    EXPECT_EQ(m_recording->methods(), QStringList({"SampleDate", "SampleUnits", "SampleQuantity",
                                                   "SetSpectrumID", "SaveSpt"}));
    EXPECT_EQ(m_recording->callsOf("SampleUnits")[0].args, QStringList{"ml"});
    EXPECT_EQ(m_recording->callsOf("SetSpectrumID")[0].args, QStringList{" Soil 12"});
    EXPECT_EQ(recorded(), QStringList({"GetDate " + file("d.txt"), "GetDate " + file("nd.txt"),
                                       "GetUnits " + file("u.txt"), "GetQuantity " + file("q.txt"),
                                       "GetQuantity " + file("nq.txt"), "GetID " + file("id.txt"),
                                       "GetName " + file("n.txt"), "GetName " + file("e.txt")}));
}

TEST_F(SpectrumButtonsTest, GetCountsWritesTheChannelFileAtOnce)
{
    m_recording->counts = {1, 7, 3};
    m_recording->channels = 3;
    m_spectrum.getCounts();
    EXPECT_EQ(recorded(), QStringList{"GetCounts"});
    EXPECT_TRUE(QFileInfo::exists(file(DataFiles::kChannelFileName)));

    m_recording->onCall = [](const HostCall &) { throw Failure(QStringLiteral("Host gone")); };
    m_spectrum.getCounts();
    EXPECT_EQ(m_operator.messages(), QStringList{"Host gone"});
    EXPECT_EQ(recorded().size(), 1);
}

} // namespace
} // namespace lumen::sequa::test
