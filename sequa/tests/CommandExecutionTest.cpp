#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/tests/SequaTestBench.h"

#include <QTemporaryDir>

namespace lumen::sequa::test {
namespace {

class CommandExecution : public SequaTestBench
{
};

TEST_F(CommandExecution, WithoutImmediateTestModeEveryLineIsOkAndNothingReachesTheHost)
{
    model().createHostAppObject();
    for (const QString &line :
         {QStringLiteral("StartAcquire"), QStringLiteral("NoSuchThing"),
          QStringLiteral("  Connect"), QStringLiteral("ConnectLMN"), QString()}) {
        QString copy = line;
        EXPECT_FALSE(runner().ExecuteCommandLine(copy, false)) << line.toStdString();
        EXPECT_EQ(model().statusText(), "OK");
        EXPECT_EQ(copy, line) << "the line is not even trimmed";
    }
    EXPECT_EQ(m_host->testconnects, 0);
    EXPECT_TRUE(m_host->calls.isEmpty());
    EXPECT_EQ(m_host->created, 1);
    EXPECT_TRUE(m_operator.prompts().isEmpty());
}

TEST_F(CommandExecution, StatusShowsOkOrThePayloadFromTheThirdCharacter)
{
    connectWithDoNow();
    m_host->reply = QStringLiteral("OK");
    runner().ExecuteCommandLine(QStringLiteral("SetPrimary2"), false);
    EXPECT_EQ(model().statusText(), "OK");
    EXPECT_EQ(m_host->calls.last(), "setprimary(2)");

    m_host->library = QStringLiteral("OKNATURAL.LIB   ");
    runner().ExecuteCommandLine(QStringLiteral("GetLibrary"), false);
    EXPECT_EQ(model().statusText(), "NATURAL.LIB") << "the reply is trimmed before it is shown";

    m_host->library = QStringLiteral("OK 12");
    runner().ExecuteCommandLine(QStringLiteral("GetLibrary"), false);
    EXPECT_EQ(model().statusText(), " 12") << "a blank after OK stays";
}

TEST_F(CommandExecution, ConnectShowsConnectedAndReadsTheLibrary)
{
    model().setDoNow(true);
    QString line = QStringLiteral("ConnectLMN  ");
    EXPECT_FALSE(runner().ExecuteCommandLine(line, true));
    EXPECT_EQ(model().statusText(), "Connected to Lumen");
    EXPECT_EQ(model().libraryText(), "NATURAL.LIB");
    EXPECT_EQ(m_identifiers, QStringList{"LmnPro.clsLmn"});
    // Connect runs before trimming, so the recorded line keeps its blanks.
    EXPECT_EQ(model().scriptText(), "ConnectLMN  \r\n");
}

TEST_F(CommandExecution, ConnectWithoutALibraryNameWaitsTwentySecondsEvenOverMidnight)
{
    model().setDoNow(true);
    m_host->library = QString(); // an empty reply is an error that leaves the box empty
    m_clock.set(QDateTime(QDate(2026, 1, 15), QTime(23, 59, 50)));
    const QDateTime start = m_clock.now();
    EXPECT_FALSE(runner().ExecuteCommandLine(QStringLiteral("Connect"), false));
    EXPECT_EQ(model().statusText(), "Connected to Lumen");
    EXPECT_EQ(model().libraryText(), "");
    EXPECT_GE(secondsSince(start), 20.0);
    EXPECT_LT(secondsSince(start), 21.0);
}

TEST_F(CommandExecution, ConnectToAHostThatIsNotReadyAnswersNoConnection)
{
    model().setDoNow(true);
    m_host->testconnect = [] { return QStringLiteral("Busy"); };
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("Connect"), false));
    EXPECT_EQ(model().statusText(), "No Connection");
    EXPECT_TRUE(m_host->calls.isEmpty());
}

TEST_F(CommandExecution, ConnectThatCannotCreateTheHostKeepsTheOldOne)
{
    connectWithDoNow();
    m_hostFails = true;
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("Connect"), false));
    EXPECT_EQ(model().statusText(), "Error: Cannot reach the host");
    EXPECT_TRUE(model().hasHostAppObject());
    EXPECT_FALSE(runner().ExecuteCommandLine(QStringLiteral("Beep"), false));
}

TEST_F(CommandExecution, LowerCaseOkIsAnErrorShownInAMessageBoxWithABeep)
{
    connectWithDoNow();
    m_host->library = QStringLiteral("ok fine");
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("GetLibrary"), false));
    EXPECT_EQ(model().statusText(), "ok fine");
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_EQ(m_operator.messages().first(), "ERROR:   ok fine\r\nCOMMAND: GetLibrary");
    EXPECT_EQ(m_operator.prompts().first().title, kProgramTitle);
    EXPECT_EQ(m_operator.beeps(), 1);
}

TEST_F(CommandExecution, BlankBeforeConnectMakesItUnrecognised)
{
    connectWithDoNow();
    model().setCurrentLine(7);
    QString line = QStringLiteral("  Connect");
    EXPECT_TRUE(runner().ExecuteCommandLine(line, false));
    EXPECT_EQ(line, "Connect");
    EXPECT_EQ(model().statusText(), "Command not recognized - Connect at line  7");
    EXPECT_EQ(m_host->created, 1) << "no new host object";

    model().setCurrentLine(-3);
    runner().ExecuteCommandLine(QStringLiteral("Bogus"), false);
    EXPECT_EQ(model().statusText(), "Command not recognized - Bogus at line -3");
}

TEST_F(CommandExecution, BeepIsExact)
{
    connectWithDoNow();
    EXPECT_FALSE(runner().ExecuteCommandLine(QStringLiteral("  Beep   "), false));
    EXPECT_EQ(model().statusText(), "OK");
    EXPECT_EQ(m_operator.beeps(), 1);

    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("Beep twice"), false));
    EXPECT_EQ(model().statusText(), "Command not recognized - Beep twice at line  0");
    EXPECT_EQ(m_operator.beeps(), 2) << "the error's own beep";
}

TEST_F(CommandExecution, ArgumentsStartDirectlyBehindTheKeyword)
{
    connectWithDoNow();
    runner().ExecuteCommandLine(QStringLiteral("WaitDlg hello"), false);
    EXPECT_EQ(model().statusText(), "OK");
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_EQ(m_operator.messages()[0], " hello") << "the blank is part of the argument";
}

TEST_F(CommandExecution, EveryCommandChecksTheConnectionFirst)
{
    connectWithDoNow();
    m_host->testconnect = [] { return QStringLiteral("OK "); };
    QString line = QStringLiteral("  Beep");
    EXPECT_TRUE(runner().ExecuteCommandLine(line, false));
    EXPECT_EQ(model().statusText(), "No Connection");
    EXPECT_EQ(line, "  Beep") << "the line is trimmed only after the check";
    EXPECT_EQ(m_operator.beeps(), 1) << "only the error's beep; Beep itself did not run";
}

TEST_F(CommandExecution, WithoutAHostObjectCommandsFailWithAnErrorReply)
{
    model().setDoNow(true);
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("Beep"), false));
    EXPECT_TRUE(model().statusText().startsWith("Error: ")) << model().statusText().toStdString();
}

TEST_F(CommandExecution, FailuresInsideACommandBecomeErrorReplies)
{
    connectWithDoNow();
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("SetPrimary40000"), false));
    EXPECT_EQ(model().statusText(), "Error: Overflow");
    EXPECT_TRUE(m_host->calls.isEmpty());
}

TEST_F(CommandExecution, FramesAreDisabledDuringImmediateUseOnly)
{
    connectWithDoNow();
    QList<bool> seen;
    m_host->testconnect = [&] {
        seen.append(model().commandFramesEnabled());
        return QStringLiteral("OK");
    };
    runner().ExecuteCommandLine(QStringLiteral("Beep"), false);
    model().setPlaying(true);
    runner().ExecuteCommandLine(QStringLiteral("Beep"), false);
    model().setPlaying(false);
    model().setWaiting(true);
    model().EnableCommandFrames(false);
    runner().ExecuteCommandLine(QStringLiteral("Beep"), false);
    EXPECT_EQ(seen, (QList<bool>{false, true, false}));
    EXPECT_FALSE(model().commandFramesEnabled()) << "a wait's polls leave the frames alone";
    model().setWaiting(false);
    runner().ExecuteCommandLine(QStringLiteral("Beep"), false);
    EXPECT_TRUE(model().commandFramesEnabled());
}

TEST_F(CommandExecution, AnErrorWhilePlayingHoldsThePanelAtLeastSixteenTicksAndIsLogged)
{
    QTemporaryDir dir;
    const QString logPath = dir.filePath("SLG1.tmp");
    connectWithDoNow();
    model().openRunLog(logPath);
    model().setPlaying(true);
    model().setCurrentLine(4);

    QString panelText;
    QObject::connect(&model(), &MainModel::messagePanelChanged, [&] {
        if (model().messagePanelShown())
            panelText = model().messagePanelText();
    });
    const qint32 before = model().tickCount();
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("Beep loud"), false));
    const qint32 ticks = model().ticksSince(before);
    EXPECT_GE(ticks, 16);
    EXPECT_LE(ticks, 17);
    EXPECT_FALSE(model().messagePanelShown());
    EXPECT_EQ(panelText, "ERROR:   Command not recognized - Beep loud at line  4\r\n"
                         "COMMAND: Beep loud");
    EXPECT_TRUE(m_operator.messages().isEmpty()) << "no message box while playing";
    EXPECT_EQ(m_operator.beeps(), 1);
    model().closeRunLog();
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("ERROR:   Command not recognized - Beep loud at line  4"
                                        "      COMMAND: Beep loud\r\n"));
}

TEST_F(CommandExecution, ThePanelWaitEndsWhenTickCountWrapsMeanwhile)
{
    connectWithDoNow();
    model().setPlaying(true);
    model().setTickCount(MainModel::kTickLimit - 5);
    runner().ExecuteCommandLine(QStringLiteral("Nothing"), false);
    EXPECT_LT(model().tickCount(), 20);
    EXPECT_FALSE(model().messagePanelShown());
}

TEST_F(CommandExecution, TheTrimmedLineIsRecordedEvenWhenItFailed)
{
    connectWithDoNow();
    QString bad = QStringLiteral("  Nonsense  ");
    EXPECT_TRUE(runner().ExecuteCommandLine(bad, true));
    EXPECT_FALSE(runner().ExecuteCommandLine(QStringLiteral("Beep "), true));
    EXPECT_EQ(model().scriptText(), "Nonsense\r\nBeep\r\n");

    model().setDoNow(false);
    runner().ExecuteCommandLine(QStringLiteral("  Beep  "), true);
    EXPECT_EQ(model().scriptText(), "Nonsense\r\nBeep\r\n  Beep  \r\n")
        << "with the gate closed the line is recorded as given";
}

// Argument conventions shared by every command.
class Arguments : public SequaTestBench
{
protected:
    CommandContext context(const char *keyword, const QString &line)
    {
        return CommandContext(runner(), model(), *CommandTable::find(QString::fromLatin1(keyword)),
                              line);
    }
};

TEST_F(Arguments, TakeTextFromFixedPositions)
{
    const CommandContext analyze = context("Analyze", QStringLiteral("Analyze PeakFind"));
    EXPECT_EQ(analyze.argument(), " PeakFind") << "a separating blank is part of the argument";
    EXPECT_EQ(analyze.trimmedArgument(), "PeakFind");
    const CommandContext getId = context("GetID", QStringLiteral("GetID Id.txt"));
    EXPECT_EQ(getId.argument(), "Id.txt");
    const CommandContext bare = context("SaveDT", QStringLiteral("SaveDT"));
    EXPECT_EQ(bare.argument(), "");
}

TEST_F(Arguments, ReadNumbersAndWholeNumbers)
{
    EXPECT_EQ(context("CopySpectrum", QStringLiteral("CopySpectrum 2,1")).int16Argument(), 2)
        << "reading stops at the comma";
    EXPECT_EQ(context("SetPrimary", QStringLiteral("SetPrimary2.5")).int16Argument(), 2);
    EXPECT_EQ(context("SetPrimary", QStringLiteral("SetPrimary3.5")).int16Argument(), 4);
    EXPECT_EQ(context("SetPrimary", QStringLiteral("SetPrimaryX")).int16Argument(), 0);
    EXPECT_THROW(context("SetPrimary", QStringLiteral("SetPrimary32768")).int16Argument(), Failure);
    EXPECT_DOUBLE_EQ(
        context("SetRealPreset", QStringLiteral("SetRealPreset 1.5E2")).numericArgument(), 150.0);
}

TEST_F(Arguments, SplitAtTheFirstCommaOfTheLine)
{
    const CommandContext save = context("SaveRprt", QStringLiteral("SaveRprtPeakFind,a,b.txt"));
    EXPECT_EQ(save.beforeFirstComma(), "PeakFind");
    EXPECT_EQ(save.afterFirstComma(), "a,b.txt");
    const CommandContext empty = context("SaveRprt", QStringLiteral("SaveRprt,x"));
    EXPECT_EQ(empty.beforeFirstComma(), "");

    const CommandContext noComma = context("SaveRprt", QStringLiteral("SaveRprtPeakFind"));
    EXPECT_THROW(noComma.beforeFirstComma(), Failure);
    EXPECT_EQ(noComma.afterFirstComma(), "SaveRprtPeakFind") << "the whole line";
    const CommandContext early = context("GetRprtName", QStringLiteral("GetRprtName,x"));
    EXPECT_THROW(early.beforeFirstComma(), Failure) << "a comma before the argument";
}

TEST_F(Arguments, FileNamesArePaddedOrCutTo255Characters)
{
    const QString padded = CommandContext::fileNameField(QStringLiteral("a.txt"));
    EXPECT_EQ(padded.size(), 255);
    EXPECT_TRUE(padded.startsWith("a.txt "));
    EXPECT_EQ(padded.trimmed(), "a.txt");
    EXPECT_EQ(CommandContext::fileNameField(QString(300, QLatin1Char('x'))),
              QString(255, QLatin1Char('x')));
}

} // namespace
} // namespace lumen::sequa::test
