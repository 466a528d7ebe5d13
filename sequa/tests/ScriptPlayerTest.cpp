#include "sequa/tests/PlayerTestBench.h"

#include "sequa/core/commands/LoopCommands.h"
#include "sequa/core/run/PlayFileReader.h"

namespace lumen::sequa::test {
namespace {

class ScriptPlayerTest : public PlayerTestBench
{
};

TEST_F(ScriptPlayerTest, CommentsAndBlankLinesRunNothing)
{
    model().setStatusText(QStringLiteral("before"));
    EXPECT_FALSE(play({";StartAcquire", "#StartAcquire", "", "     ", ";"}));
    EXPECT_TRUE(m_recording->calls.isEmpty());
    EXPECT_EQ(model().statusText(), "before");
    EXPECT_EQ(model().lastCommandText(), "Last Script Command Processed");
    EXPECT_EQ(model().currentLine(), 5) << "the line end the play file adds makes no line";
    EXPECT_FALSE(model().playing());
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(ScriptPlayerTest, ACommentSignAfterBlanksIsACommandThatIsNotRecognized)
{
    EXPECT_FALSE(play({"  # note", " ;StartAcquire", "  StartAcquire  "}));
    EXPECT_EQ(
        logLines(),
        (QStringList{"ERROR:   Command not recognized - # note at line  1      COMMAND: # note",
                     "ERROR:   Command not recognized - ;StartAcquire at line  2      "
                     "COMMAND: ;StartAcquire"}));
    EXPECT_EQ(m_recording->methods(), QStringList{"StartAcquire"});
    EXPECT_EQ(model().lastCommandText(), "StartAcquire") << "shown trimmed";
    EXPECT_EQ(m_operator.beeps(), 2);
}

TEST_F(ScriptPlayerTest, PlaysFromATemporaryCopyAndKeepsAnErrorLogOnlyForTheRun)
{
    QStringList seenFiles;
    QByteArray playCopy;
    m_recording->onCall = [&](const HostCall &) {
        seenFiles = temporaryFiles();
        QFile copy(model().playFile());
        if (copy.open(QIODevice::ReadOnly))
            playCopy = copy.readAll();
        EXPECT_TRUE(model().playing());
    };
    const QString script = QStringLiteral("Nonsense\r\nStartAcquire\r\n");
    EXPECT_FALSE(ScriptPlayer(model(), runner()).PlayScript(script));

    ASSERT_EQ(seenFiles.size(), 2);
    EXPECT_TRUE(seenFiles[0].startsWith("SDE") && seenFiles[1].startsWith("SLG"))
        << seenFiles.join(' ').toStdString();
    EXPECT_EQ(playCopy, (script + "\r\n").toLatin1());
    EXPECT_TRUE(model().playFile().startsWith(m_tmp.path()));
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_FALSE(model().playing());
}

TEST_F(ScriptPlayerTest, AnErrorHoldsThePlayerForFourSecondsInTheMessagePanel)
{
    QStringList panelTexts;
    QObject::connect(&model(), &MainModel::messagePanelChanged, [&] {
        if (model().messagePanelShown())
            panelTexts.append(model().messagePanelText());
    });
    const QDateTime start = m_clock.now();
    play({"Bogus"});
    EXPECT_GE(secondsSince(start), 4.0);
    EXPECT_EQ(panelTexts, QStringList{"ERROR:   Command not recognized - Bogus at line  1\r\n"
                                      "COMMAND: Bogus"});
    EXPECT_FALSE(model().messagePanelShown());
    EXPECT_TRUE(m_operator.messages().isEmpty()) << "no modal box while playing";
}

TEST_F(ScriptPlayerTest, LoopWithoutDoNumPassRunsItsBodyOnce)
{
    EXPECT_FALSE(play({"LoopBeg", "AutoID", "LoopEnd"}));
    EXPECT_EQ(argsOf("SetSpectrumID"), QStringList{"Sample sequence number 1"});
    EXPECT_EQ(model().loopDepth(), 0);
    EXPECT_EQ(model().numPasses(), 0);
}

TEST_F(ScriptPlayerTest, NestedLoopsReadThePassCountAtEachLoopBeg)
{
    EXPECT_FALSE(play({"DoNumPass 2", "LoopBeg", "DoNumPass 3", "LoopBeg", "AutoID", "LoopEnd",
                       "StartAcquire", "LoopEnd"}));
    EXPECT_EQ(argsOf("SetSpectrumID"),
              (QStringList{"Sample sequence number 1", "Sample sequence number 2",
                           "Sample sequence number 3", "Sample sequence number 1",
                           "Sample sequence number 2", "Sample sequence number 3"}));
    EXPECT_EQ(m_recording->callsOf("StartAcquire").size(), 2);
    EXPECT_EQ(model().numPasses(), 3) << "never reset";
    EXPECT_TRUE(logLines().isEmpty()) << logLines().join('\n').toStdString();
}

TEST_F(ScriptPlayerTest, AutoIdAndAutoSaveSpcNumberEachPass)
{
    EXPECT_FALSE(play({"DoNumPass 3", "LoopBeg", "AutoID", "AutoSaveSpcSPEC", "LoopEnd"}));
    EXPECT_EQ(argsOf("SetSpectrumID"),
              (QStringList{"Sample sequence number 1", "Sample sequence number 2",
                           "Sample sequence number 3"}));
    EXPECT_EQ(argsOf("SaveSpt"), (QStringList{"SPEC1", "SPEC2", "SPEC3"}));
    EXPECT_EQ(model().numPassLoopText(), "3");
}

TEST_F(ScriptPlayerTest, EachPassOnTheSimulatedHostSavesItsOwnNumberedSpectrum)
{
    useSimulatedHost(256);
    EXPECT_FALSE(play({"DoNumPass 3", "LoopBeg", "AutoID", "AutoSaveSpcSPEC", "LoopEnd"}));
    EXPECT_TRUE(logLines().isEmpty()) << logLines().join('\n').toStdString();
    for (int pass = 1; pass <= 3; ++pass) {
        const QByteArray spectrum = bytesOf(QStringLiteral("data/SPEC%1.Ans").arg(pass));
        EXPECT_TRUE(
            spectrum.contains(QStringLiteral("Sample sequence number %1").arg(pass).toLatin1()))
            << "pass " << pass << " of " << spectrum.size() << " bytes";
    }
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("data/SPEC4.Ans"))));
}

TEST_F(ScriptPlayerTest, AutoSaveSpcTakesAtMostFourCharactersOfRoot)
{
    EXPECT_FALSE(
        play({"LoopBeg", "AutoSaveSpcSAMPLE", "AutoSaveSpc AB", "AutoSaveSpc", "LoopEnd"}));
    EXPECT_EQ(argsOf("SaveSpt"), (QStringList{"SAMP1", "AB1"}));
    EXPECT_EQ(m_operator.messages(), QStringList{"Spectra fill name ROOT is blank!!!"});
    EXPECT_EQ(logLines(), QStringList{"ERROR:   Spectra fill name ROOT is blank!!!      "
                                      "COMMAND: AutoSaveSpc"});
}

TEST_F(ScriptPlayerTest, LoopCommandsOutsideALoopAreErrorsAndTheRunGoesOn)
{
    EXPECT_FALSE(play({"AutoID", "AutoSaveSpcSPEC", "LoopEnd", "StartAcquire"}));
    EXPECT_EQ(logLines(),
              (QStringList{"ERROR:   Cannot use AutoID outside loop      COMMAND: AutoID",
                           "ERROR:   Cannot use AutoSaveSpc outside loop      COMMAND: "
                           "AutoSaveSpcSPEC",
                           "ERROR:   LoopEnd at line  3 without LoopBeg      COMMAND: LoopEnd"}));
    EXPECT_EQ(m_operator.messages(), QStringList{"Loopend at line  3 without LoopBeg"});
    EXPECT_EQ(m_recording->methods(), QStringList{"StartAcquire"});
}

TEST_F(ScriptPlayerTest, AnOpenLoopAtTheEndFailsTheRun)
{
    EXPECT_TRUE(play({"LoopBeg", "StartAcquire"}));
    EXPECT_EQ(m_operator.messages(), QStringList{"Loopbeg without LoopEnd"});
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(ScriptPlayerTest, AnEleventhLoopBegFailsAndLeavesEveryLaterLoopEndFailing)
{
    QStringList script;
    for (int i = 0; i < 11; ++i)
        script.append(QStringLiteral("LoopBeg"));
    for (int i = 0; i < 11; ++i)
        script.append(QStringLiteral("LoopEnd"));
    EXPECT_TRUE(play(script));
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 12) << log.join('\n').toStdString();
    EXPECT_TRUE(log[0].startsWith("ERROR:   Error: ")) << log[0].toStdString();
    EXPECT_TRUE(log[0].endsWith("      COMMAND: LoopBeg"));
    for (int i = 1; i < 12; ++i)
        EXPECT_TRUE(log[i].endsWith("      COMMAND: LoopEnd")) << log[i].toStdString();
    EXPECT_EQ(model().loopDepth(), 11);
    EXPECT_EQ(m_operator.messages(), QStringList{"Loopbeg without LoopEnd"});
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(ScriptPlayerTest, TenNestedLoopsAreAllowed)
{
    QStringList script{"DoNumPass 2"};
    for (int i = 0; i < 10; ++i)
        script.append(QStringLiteral("LoopBeg"));
    script.append(QStringLiteral("StartAcquire"));
    for (int i = 0; i < 10; ++i)
        script.append(QStringLiteral("LoopEnd"));
    EXPECT_FALSE(play(script));
    EXPECT_EQ(m_recording->callsOf("StartAcquire").size(), 1024);
}

TEST_F(ScriptPlayerTest, NoConnectionStopsTheRunAndLeavesNoTemporaryFile)
{
    auto fake = std::make_shared<lumen::test::SharedHostState>();
    int answers = 0;
    fake->testconnect = [&answers] {
        return ++answers <= 2 ? QStringLiteral("OK") : QStringLiteral("Host gone");
    };
    model().setHostFactory([fake](const QString &) { return lumen::test::sharingTestHost(fake); });
    model().createHostAppObject();

    EXPECT_TRUE(play({"LoopBeg", "StartAcquire", "StopAcquire", "EraseSpectrum", "LoopEnd"}));
    EXPECT_EQ(fake->calls, QStringList{"StartAcquire"});
    EXPECT_EQ(model().statusText(), "No Connection");
    EXPECT_EQ(model().lastCommandText(), "StopAcquire");
    EXPECT_EQ(logLines(), QStringList{"ERROR:   No Connection      COMMAND: StopAcquire"});
    EXPECT_TRUE(m_operator.messages().isEmpty()) << "no open-loop check after a lost connection";
    EXPECT_FALSE(model().playing());
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(ScriptPlayerTest, DoNumPassAsksWhenZeroCapsAt9999AndRefusesLessThanOne)
{
    m_operator.queueInput(QStringLiteral("4"));
    EXPECT_EQ(reply(QStringLiteral("DoNumPass 0")), "OK");
    ASSERT_EQ(m_operator.prompts().size(), 1);
    EXPECT_EQ(m_operator.prompts()[0].text, "Enter number of passes (9999 max):");
    EXPECT_EQ(m_operator.prompts()[0].title, "Loop");
    EXPECT_EQ(m_operator.prompts()[0].defaultText, "1");
    EXPECT_EQ(model().numPasses(), 4);
    EXPECT_EQ(model().numPassLoopText(), "4");

    EXPECT_EQ(reply(QStringLiteral("DoNumPass 20000")), "OK");
    EXPECT_EQ(model().numPasses(), 9999);
    EXPECT_EQ(model().numPassLoopText(), "9999");

    EXPECT_EQ(reply(QStringLiteral("DoNumPass -2")), "Loop cannot do less than 1 pass!!!");
    EXPECT_EQ(model().numPasses(), -2) << "the rejected value stays";
    EXPECT_EQ(model().numPassLoopText(), "9999");
    EXPECT_EQ(m_operator.messages(), QStringList{"Loop cannot do less than 1 pass!!!"});

    EXPECT_TRUE(reply(QStringLiteral("DoNumPass")).startsWith("Error: "))
        << "a cancelled prompt is no number";
    EXPECT_TRUE(reply(QStringLiteral("DoNumPass 40000")).startsWith("Error: ")) << "overflow";
    EXPECT_EQ(reply(QStringLiteral("DoNumPass 2.5")), "OK");
    EXPECT_EQ(model().numPasses(), 2) << "halves round to even";
}

// LoopEnd rewinds the play file itself; these drive it without a run.
TEST_F(ScriptPlayerTest, LoopEndRewindsToTheLineAfterLoopBegOrSaysItIsGone)
{
    writeFile(QStringLiteral("play.tmp"), "one\r\nLoopBeg\r\nthree\r\n");
    PlayFileReader &reader = model().playFileReader();
    reader.open(file(QStringLiteral("play.tmp")));
    model().setLoopDepth(1);
    model().loopStartLine(1) = 2;
    model().loopPasses(1) = 3;
    model().loopCounter(1) = 1;

    EXPECT_EQ(ExecLoopEnd(model()), "OK");
    EXPECT_EQ(model().loopCounter(1), 2);
    EXPECT_EQ(model().currentLine(), 2);
    EXPECT_EQ(reader.readLine(), "three");

    model().loopStartLine(1) = 5;
    EXPECT_EQ(ExecLoopEnd(model()), "Did NOT find LoopBeg command!!!");
    EXPECT_EQ(model().currentLine(), 3);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_TRUE(reader.atEnd()) << "the player finds no further line";
    EXPECT_EQ(m_operator.messages(), QStringList{"Did NOT find LoopBeg command!!!"});

    model().loopCounter(1) = 3;
    EXPECT_EQ(ExecLoopEnd(model()), "OK") << "last pass done";
    EXPECT_EQ(model().loopDepth(), 0);
}

TEST_F(ScriptPlayerTest, LoopEndAfterTheRunEndedIsAnErrorNotACrash)
{
    EXPECT_TRUE(play({"DoNumPass 2", "LoopBeg"}));
    EXPECT_EQ(model().loopDepth(), 1);
    QString line = QStringLiteral("LoopEnd");
    EXPECT_TRUE(runner().DispatchCommand(line).startsWith("Error: "));
}

} // namespace
} // namespace lumen::sequa::test
