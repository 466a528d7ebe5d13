#include "common/core/NumberText.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/tests/RecorderTestBench.h"

#include <QDate>
#include <QFileInfo>

namespace lumen::sequa::test {
namespace {

using Kind = ScriptedOperator::Prompt::Kind;

class RecorderButtonsTest : public RecorderTestBench
{
};

class RecordingOnly : public RecorderTestBench
{
protected:
    RecordingOnly() { model().setDoNow(false); }
};

TEST_F(RecordingOnly, ButtonsRecordTheirLinesAndNothingReachesTheHost)
{
    m_buttons.acquire(0);
    EXPECT_EQ(model().statusText(), "OK");
    m_operator.queueInput(QStringLiteral("300"));
    m_buttons.preset(2);
    m_operator.queueInput(QStringLiteral("1"));
    m_operator.queueInput(QStringLiteral("1"));
    m_buttons.wait(2);
    m_buttons.extOut(1, true);
    m_buttons.extOut(2, false);
    m_buttons.appendRois();
    m_buttons.loopBegin();
    m_buttons.autoId();
    m_buttons.loopEnd();
    m_buttons.resize(1);
    m_buttons.preset(1);

    EXPECT_EQ(recorded(), QStringList({"StartAcquire", "SetRealPreset 300", "WaitInput 1, 1",
                                       "SetExtOut 1, 1", "SetExtOut 2, 0", "LogROIs 6", "LoopBeg",
                                       "AutoID", "LoopEnd", "Maximize", "PresetsOn"}));
    EXPECT_TRUE(m_recording->calls.isEmpty());
    EXPECT_EQ(inputPrompts(), QStringList({"Enter length of preset in seconds:|Set Real Time|0",
                                           "Wait for which input?|Wait for input|1",
                                           "Wait for what value?|Wait for input|1"}));
    EXPECT_TRUE(m_operator.messages().isEmpty());
}

TEST_F(RecordingOnly, PassCountsAreLimitedToTheLoopRange)
{
    const QList<std::pair<QString, QString>> cases = {
        {"20000", "DoNumPass 9999"}, {"-4", "DoNumPass 0"},     {"abc", "DoNumPass 0"},
        {" 12 ", "DoNumPass 12"},    {"1e9", "DoNumPass 9999"}, {"2.5", "DoNumPass 2"},
    };
    for (const auto &[entry, line] : cases) {
        model().setScriptText(QString());
        model().setNumPassLoopText(entry);
        m_buttons.doLoops();
        EXPECT_EQ(recorded(), QStringList{line}) << entry.toStdString();
        EXPECT_EQ(QStringLiteral("DoNumPass") + numberToText(model().numPasses()), line);
    }
    EXPECT_TRUE(m_operator.messages().isEmpty());
}

TEST_F(RecordingOnly, AutoSaveTakesFourCharactersOfTheTrimmedRoot)
{
    model().setRootNameText(QStringLiteral("  AB "));
    m_buttons.autoSave();
    model().setRootNameText(QStringLiteral("SPECTRA"));
    m_buttons.autoSave();
    EXPECT_EQ(recorded(), QStringList({"AutoSaveSpcAB", "AutoSaveSpcSPEC"}));
}

TEST_F(RecordingOnly, EmptyAnswersRecordNothingAndTwoOfThemSayWhy)
{
    m_buttons.preset(3);
    EXPECT_EQ(model().statusText(), "Time not entered");
    m_buttons.deadTimeFile();
    EXPECT_EQ(model().statusText(), "No filename entered");
    m_buttons.wait(1);
    m_buttons.wait(3);
    m_buttons.killFile();
    m_buttons.callExtProg();
    m_buttons.waitExtProg();
    m_buttons.alert(1);
    m_operator.queueInput(QStringLiteral("2"));
    m_buttons.wait(2); // the second answer is missing
    EXPECT_TRUE(recorded().isEmpty());
    EXPECT_TRUE(m_operator.messages().isEmpty());
    EXPECT_EQ(model().deadTimeFileName(), "DT.txt");
}

TEST_F(RecordingOnly, EntriesThatAreNoNumberOrOutOfRangeAreRefused)
{
    m_operator.queueInput(QStringLiteral("abc"));
    m_buttons.preset(2);
    m_operator.queueInput(QStringLiteral("3000000000"));
    m_buttons.wait(1);
    m_operator.queueInput(QStringLiteral("40000"));
    m_buttons.wait(2); // refused before the second question
    model().setRoiCountText(QStringLiteral("six"));
    m_buttons.appendRois();
    EXPECT_TRUE(recorded().isEmpty());
    EXPECT_EQ(
        m_operator.messages(),
        QStringList({"You entered abc.\r\nPlease enter a whole number from -2147483648 to "
                     "2147483647.",
                     "You entered 3000000000.\r\nPlease enter a whole number from "
                     "-2147483648 to 2147483647.",
                     "You entered 40000.\r\nPlease enter a whole number from -32768 to 32767.",
                     "You entered six.\r\nPlease enter a whole number from -32768 to 32767."}));
    EXPECT_EQ(inputPrompts().size(), 3);
    EXPECT_EQ(m_operator.prompts().first().title, "Set Real Time");

    // A large number that fits is taken, rounded half to even.
    m_operator.queueInput(QStringLiteral("2147483647"));
    m_buttons.wait(1);
    m_operator.queueInput(QStringLiteral("2.5"));
    m_operator.queueInput(QStringLiteral("-1"));
    m_buttons.wait(2);
    EXPECT_EQ(recorded(), QStringList({"WaitSeconds 2147483647", "WaitInput 2,-1"}));
}

TEST_F(RecordingOnly, PrimaryAcceptsOnlySpectraOneToEight)
{
    for (const QString &entry : {QStringLiteral("9"), QStringLiteral(" 0 "), QStringLiteral("abc"),
                                 QStringLiteral("99999")}) {
        model().setPrimaryNumberText(entry);
        m_buttons.setPrimary();
    }
    model().setPrimaryNumberText(QStringLiteral(" 8 "));
    m_buttons.setPrimary();
    EXPECT_EQ(recorded(), QStringList{"SetPrimary 8"});
    const QString second =
        QStringLiteral(".\r\nPlease enter a valid number (1-8) for spectrum number.");
    EXPECT_EQ(m_operator.messages(),
              QStringList({"You entered 9" + second, "You entered 0" + second,
                           "You entered abc" + second, "You entered 99999" + second}));
    EXPECT_EQ(m_operator.prompts().first().title, kProgramTitle);
}

TEST_F(RecordingOnly, ElapsedTimesRunButNeverRecord)
{
    model().setStatusText(QStringLiteral("Status"));
    m_buttons.getElapsed(0);
    EXPECT_EQ(model().statusText(), "OK");
    m_buttons.getElapsed(1);
    EXPECT_TRUE(recorded().isEmpty());
}

TEST_F(RecordingOnly, DeadTimeFileOffersTheLastAcceptedName)
{
    m_operator.queueInput(QStringLiteral(" dead.txt "));
    m_buttons.deadTimeFile();
    m_buttons.deadTimeFile(); // cancelled: the name stays
    m_operator.queueInput(QStringLiteral("other.txt"));
    m_buttons.deadTimeFile();
    EXPECT_EQ(recorded(), QStringList({"StoreDT dead.txt", "StoreDT other.txt"}));
    EXPECT_EQ(inputPrompts(),
              QStringList({"Enter file name for DeadTime storage:|Dead Time File|DT.txt",
                           "Enter file name for DeadTime storage:|Dead Time File|dead.txt",
                           "Enter file name for DeadTime storage:|Dead Time File|dead.txt"}));
    EXPECT_EQ(model().deadTimeFileName(), "other.txt");
}

TEST_F(RecordingOnly, AnalysisButtonsNeedATypeAndAppendIt)
{
    model().setAnalysisTypes(kAnalysisTypes);
    m_buttons.analyze(0);
    EXPECT_EQ(m_operator.messages(), QStringList{"Must select type of analysis."});
    model().setAnalysisTypeIndex(3);
    m_buttons.analyze(0);
    m_buttons.analyze(1);
    m_operator.queueInput(QStringLiteral("rep1.txt"));
    m_buttons.analyze(2);
    m_buttons.analyze(2); // no name: nothing
    EXPECT_EQ(recorded(), QStringList({"AnalyzeROIDirected", "PrintRprtROIDirected",
                                       "SaveRprtROIDirected,rep1.txt"}));
}

TEST_F(RecordingOnly, GetLibraryRecordsBothLinesAndFollowsTheStatus)
{
    model().setUseLibEff(true);
    model().setScriptText(QString());
    m_buttons.getLibrary();
    EXPECT_EQ(recorded(), QStringList({"GetLibrary", "GetUseLibEff", "ClearUseLibEff"}));
    EXPECT_EQ(model().libraryText(), "OK");
    EXPECT_FALSE(model().useLibEff());

    model().setScriptText(QString());
    m_operator.queueInput(QStringLiteral("MIX.LIB"));
    m_buttons.selectLibrary();
    EXPECT_EQ(recorded(), QStringList{"SelectLibMIX.LIB"});
    EXPECT_EQ(model().libraryText(), "MIX.LIB");
    EXPECT_EQ(lastPrompt().defaultText, "OK");
}

TEST_F(RecorderButtonsTest, GetLibraryInImmediateModeShowsTheHostsLibraryAndFlag)
{
    m_recording->replies[QStringLiteral("GetLibrary")] = QStringLiteral("OKNot Valid");
    m_recording->replies[QStringLiteral("GetUseLibEff")] = QStringLiteral("OK 1");
    model().setLibraryText(QStringLiteral("OLD.LIB"));
    m_buttons.getLibrary();
    EXPECT_EQ(model().libraryText(), "");
    EXPECT_TRUE(model().useLibEff());
    EXPECT_EQ(recorded(), QStringList({"GetLibrary", "GetUseLibEff", "SetUseLibEff"}));
    EXPECT_EQ(m_recording->methods(), QStringList({"GetLibrary", "GetUseLibEff", "SetUseLibEff"}));

    // A library the host refuses is still recorded but not shown as selected.
    m_recording->replies[QStringLiteral("selectlibrary")] =
        QStringLiteral("Error: no such library");
    m_operator.queueInput(QStringLiteral("NONE.LIB"));
    m_buttons.selectLibrary();
    EXPECT_EQ(recorded().last(), "SelectLibNONE.LIB");
    EXPECT_EQ(model().libraryText(), "");
    EXPECT_EQ(m_operator.messages().size(), 1);
}

TEST_F(RecorderButtonsTest, TheEfficiencyBoxRunsItsLineOnEveryChangeAndRecordsAfterStartUp)
{
    model().setLoading(true);
    model().setUseLibEff(true);
    model().setLoading(false);
    EXPECT_TRUE(recorded().isEmpty());
    model().setUseLibEff(true); // no change, nothing runs
    model().setUseLibEff(false);
    EXPECT_EQ(recorded(), QStringList{"ClearUseLibEff"});
    EXPECT_EQ(m_recording->methods(), QStringList({"SetUseLibEff", "ClearUseLibEff"}));
}

TEST_F(RecordingOnly, AFullScriptRefusesTheLineButTheButtonStillActs)
{
    model().setScriptText(QString(MainModel::kScriptCapacity, QLatin1Char('x')));
    m_buttons.alert(0);
    model().setNumPassLoopText(QStringLiteral("7"));
    m_buttons.doLoops();
    EXPECT_EQ(m_operator.messages(), QStringList({kScriptFull, kScriptFull}));
    EXPECT_EQ(m_operator.beeps(), 1);
    EXPECT_EQ(model().numPasses(), 7);
    EXPECT_EQ(model().scriptText().size(), MainModel::kScriptCapacity);
}

TEST_F(RecordingOnly, MessagesAreRecordedThenShown)
{
    m_operator.queueInput(QStringLiteral("Change the sample"));
    m_buttons.wait(3);
    EXPECT_EQ(recorded(), QStringList{"WaitDlgChange the sample"});
    EXPECT_EQ(m_operator.messages(), QStringList{"Change the sample"});
    EXPECT_EQ(inputPrompts(),
              QStringList{"Enter message to present:|Wait for input|Process complete!"});

    QStringList panelTexts;
    QObject::connect(&model(), &MainModel::messagePanelChanged,
                     [&] { panelTexts.append(model().messagePanelText()); });
    m_operator.queueInput(QStringLiteral("Half way"));
    const qint32 before = model().tickCount();
    m_buttons.alert(1);
    EXPECT_EQ(recorded().last(), "ShowMsgHalf way");
    EXPECT_EQ(panelTexts, QStringList({"Half way", ""}));
    EXPECT_GE(model().ticksSince(before), 6);
    EXPECT_LE(model().ticksSince(before), 8);
    EXPECT_FALSE(model().messagePanelShown());
    EXPECT_EQ(lastPrompt().title, "Show Message");
}

TEST_F(RecorderButtonsTest, ValueFilePicksPreviewTheValueAndRecordThePath)
{
    const QString live = valueFile(QStringLiteral("live.txt"), "99\r\n 120 \r\n\r\n");
    m_operator.queueFile(live);
    m_buttons.getLive();
    const auto request = lastPrompt().dialog;
    EXPECT_EQ(request.title, "Read Live Time Preset from file");
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(request.defaultExtension, "TXT");
    EXPECT_EQ(request.initialName, "*.TXT");
    EXPECT_EQ(request.filter, "Text file (*.TXT)|*.TXT");
    EXPECT_EQ(request.initialFolder, model().programFolder());
    EXPECT_TRUE(request.mustExist);
    ASSERT_EQ(m_recording->callsOf("SetLivePreset").size(), 1);
    EXPECT_EQ(m_recording->callsOf("SetLivePreset")[0].args, QStringList{"120"});

    // Not a number: nothing runs, the line is still recorded.
    m_operator.queueFile(valueFile(QStringLiteral("word.txt"), "soon\r\n"));
    m_buttons.getLive();
    EXPECT_EQ(m_recording->callsOf("SetLivePreset").size(), 1);

    m_operator.queueFile(std::nullopt); // cancel: silent
    m_buttons.getLive();
    m_operator.queueFile(file(QStringLiteral("missing.txt")));
    m_buttons.getLive();
    EXPECT_EQ(recorded(), QStringList({"GetLivePreset " + live,
                                       "GetLivePreset " + file(QStringLiteral("word.txt"))}));
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_FALSE(m_operator.messages()[0].isEmpty());
}

TEST_F(RecorderButtonsTest, NamePicksSaveUnderTheNameFromTheFile)
{
    const QString names = valueFile(QStringLiteral("names.txt"), "dt7.txt\r\n");
    m_operator.queueFile(names);
    m_buttons.deadTimeName();
    EXPECT_EQ(recorded(), QStringList{"GetDTName " + names});
    EXPECT_EQ(m_recording->methods(), QStringList{"GetDeadtime"});
    EXPECT_TRUE(QFileInfo::exists(file(QStringLiteral("dt7.txt"))));
    EXPECT_EQ(lastPrompt().dialog.title, "Read DT% FILE NAME from file");

    model().setAnalysisTypes(kAnalysisTypes);
    model().setAnalysisTypeIndex(0);
    const QString report = valueFile(QStringLiteral("rpt.txt"), "run5\r\n");
    m_operator.queueFile(report);
    m_buttons.analyze(3);
    EXPECT_EQ(recorded().last(), "GetRprtName PeakFind," + report);
    ASSERT_EQ(m_recording->callsOf("SaveRprt").size(), 1);
    EXPECT_EQ(m_recording->callsOf("SaveRprt")[0].args.value(0), "PeakFind");
    EXPECT_EQ(m_recording->callsOf("SaveRprt")[0].args.value(1).trimmed(), "run5");
}

TEST_F(RecorderButtonsTest, AskLiveSetsThePresetAndKeepsTheAnswer)
{
    m_operator.queueInput(QStringLiteral("300"));
    m_buttons.askLive();
    EXPECT_EQ(inputPrompts(), QStringList{"Enter Live Time preset:|Live Time Preset|"});
    EXPECT_EQ(m_recording->callsOf("SetLivePreset").value(0).args, QStringList{"300"});
    EXPECT_EQ(linesOf(QStringLiteral("LTpreset.txt")), QStringList{"300"});

    m_buttons.askLive(); // cancelled: the empty answer is kept, the line recorded
    EXPECT_EQ(bytesOf(QStringLiteral("LTpreset.txt")), "\r\n");
    EXPECT_EQ(m_recording->callsOf("SetLivePreset").size(), 1);

    model().setDoNow(false);
    m_buttons.askLive();
    EXPECT_EQ(inputPrompts().size(), 2);
    EXPECT_EQ(recorded(), QStringList({"AskLivePreset", "AskLivePreset", "AskLivePreset"}));
}

TEST_F(RecorderButtonsTest, LoadButtonsAskForAFileInTheSpectraFolder)
{
    m_operator.queueFile(QStringLiteral("/data/spectra/hpge.anh"));
    m_buttons.loadConfig();
    const auto request = lastPrompt().dialog;
    EXPECT_EQ(request.title, "Specify Configuration file");
    EXPECT_EQ(request.defaultExtension, "anh");
    EXPECT_EQ(request.initialName, "*.anh");
    EXPECT_EQ(request.filter, "Text file (*.anh)|*.anh");
    EXPECT_EQ(request.initialFolder, QDir(model().programFolder()).filePath("spectra"));
    EXPECT_TRUE(request.mustExist);

    m_operator.queueFile(QStringLiteral("/data/spectra/set.roi"));
    m_buttons.loadRois();
    EXPECT_EQ(lastPrompt().dialog.filter, "Text file (*.roi)|*.roi");
    EXPECT_EQ(lastPrompt().dialog.initialName, "*.roi");
    m_buttons.loadRois(); // cancelled
    EXPECT_EQ(recorded(), QStringList({"LoadConfig/data/spectra/hpge.anh,All",
                                       "LoadROIs/data/spectra/set.roi"}));
}

TEST_F(RecorderButtonsTest, AppendRoisLogsAtOnceAndStopsWhenTheHostFails)
{
    model().setRoiCountText(QStringLiteral(" 2 "));
    m_buttons.appendRois();
    EXPECT_EQ(recorded(), QStringList{"LogROIs 2"});
    EXPECT_TRUE(QFileInfo::exists(file(DataFiles::roiLogFileName(m_clock.today()))));
    EXPECT_FALSE(m_recording->callsOf("GetROIData").isEmpty());

    m_recording->onCall = [](const HostCall &) { throw Failure(QStringLiteral("Host gone")); };
    m_buttons.appendRois();
    EXPECT_EQ(m_operator.messages(), QStringList{"Host gone"});
    EXPECT_EQ(recorded().size(), 1);
}

} // namespace
} // namespace lumen::sequa::test
