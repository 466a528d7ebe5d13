// Unattended runs a lab can believe: waits that end, scripts that are taken
// whole or refused, outside files that never hang a run, and the journal.
#include "common/core/FixedText.h"
#include "common/core/HeadlessOperator.h"
#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/SizeLimit.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/files/DataFiles.h"
#include "sequa/core/recorder/ScriptButtons.h"
#include "sequa/core/recorder/ScriptFile.h"
#include "sequa/core/start/UnattendedStart.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/tests/PlayerTestBench.h"

#include <QAction>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <functional>
#include <sys/stat.h>
#include <system_error>

namespace lumen::sequa::test {
namespace {

class TrustedRunTest : public PlayerTestBench
{
protected:
    /** Plays the script file as an unattended start of this program does. */
    UnattendedStart startWith(const QString &path)
    {
        UnattendedStart start;
        start(*m_program, path);
        return start;
    }

    /** A FIFO, a device and a folder: none of them is a script or value file. */
    QStringList notRegularFiles()
    {
        const QString fifo = file(QStringLiteral("fifo"));
        EXPECT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        QDir(m_folder.path()).mkdir(QStringLiteral("folder"));
        return {fifo, QStringLiteral("/dev/zero"), file(QStringLiteral("folder"))};
    }
};

TEST_F(TrustedRunTest, WaitInputEndsOnNoConnectionOrAfterTenFailedPollsUnattended)
{
    m_recording->replies[QStringLiteral("GetExtInput")] = QStringLiteral("Input is broken");
    model().runRecord().setUnattended(true);
    EXPECT_EQ(reply(QStringLiteral("WaitInput 2,1")),
              "Error: WaitInput gave up after 10 failed polls in a row");
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("GetExtInput")).size(), 10);

    useSimulatedHost(1024, QStringLiteral("gone-after=3"));
    EXPECT_TRUE(play({"WaitInput 1,1", "StartAcquire"})) << "the run stops";
    EXPECT_EQ(model().statusText(), "No Connection");
}

TEST_F(TrustedRunTest, WaitPresetWithNothingAcquiringGivesUpAfterTenPollsOnlyUnattended)
{
    // In the window the operator may still start the acquisition: the wait goes on.
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Stopped");
    m_recording->onCall = [&](const HostCall &call) {
        if (call.method == "GetAcquireStatus" &&
            m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size() == 15)
            m_recording->replies[QStringLiteral("GetAcquireStatus")] =
                QStringLiteral("Reached Preset");
    };
    EXPECT_EQ(reply(QStringLiteral("WaitPreset")), "OK");

    m_recording->onCall = nullptr;
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Stopped");
    model().runRecord().setUnattended(true);
    const int before = m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size();
    EXPECT_EQ(reply(QStringLiteral("WaitPreset")),
              "Error: WaitPreset gave up: no acquisition ran in 10 polls in a row");
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size() - before, 10);

    // The simulated host: never started, and stopped before its preset.
    for (const QStringList &calls : {QStringList{}, QStringList{"StartAcquire", "StopAcquire"}}) {
        useSimulatedHost(1024);
        model().runRecord().setUnattended(true);
        for (const QString &line : calls)
            EXPECT_EQ(reply(line), "OK") << line.toStdString();
        EXPECT_TRUE(reply(QStringLiteral("WaitPreset")).startsWith("Error: WaitPreset gave up"));
    }
}

TEST_F(TrustedRunTest, AStoppedRunEndsEveryWaitAtOnce)
{
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Acquiring");
    m_recording->replies[QStringLiteral("GetExtInput")] = QStringLiteral("OK0");
    qint64 elapsed = 0;
    alsoOnAdvance([&](qint64 ms) {
        elapsed += ms;
        if (elapsed > 3000)
            model().runRecord().requestStop(QStringLiteral("interrupted by SIGTERM"));
    });
    for (const char *wait : {"WaitSeconds 3600", "WaitPreset", "WaitInput 1,1"}) {
        elapsed = 0;
        EXPECT_TRUE(play({QString::fromLatin1(wait), "StartAcquire"})) << wait;
        EXPECT_LT(elapsed, 60000) << wait;
        EXPECT_TRUE(m_recording->callsOf(QStringLiteral("StartAcquire")).isEmpty()) << wait;
        EXPECT_EQ(model().runRecord().exitStatus(true), RunRecord::kStopped);
        EXPECT_TRUE(temporaryFiles().isEmpty());
    }
    EXPECT_TRUE(journalText().contains("interrupted by SIGTERM")) << journalText().toStdString();
}

TEST_F(TrustedRunTest, AProgramThatFailsEndsTheRunWithThreeAndTheJournalNamesItsLine)
{
    // The reply stays "OK" as designed; only the run's status and journal tell.
    ScriptPlayer player(model(), runner());
    player.PlayScript(QStringLiteral("StartAcquire\r\nWaitExtProg sh -c \"exit 4\"\r\n"
                                     "WaitExtProg sh -c \"kill -9 $$\"\r\nWaitExtProg true\r\n"
                                     "WaitExtProg /bin/sh -c \"exit 3\""));
    EXPECT_EQ(player.exitStatus(), RunRecord::kLinesFailed);
    const QString journal = journalText();
    for (const char *entry :
         {"Line 2: the program \"sh -c \"exit 4\"\" ended: exit status 4",
          "ended: signal 9 (SIGKILL)", "Line 2: WaitExtProg sh -c \"exit 4\" -> OK",
          "Line 4: the program \"true\" ended: exit status 0",
          "3 program(s) ended with a failure (line 2, 3, 5)", "Exit status: 3"})
        EXPECT_TRUE(journal.contains(QString::fromLatin1(entry))) << entry << "\n"
                                                                  << journal.toStdString();
}

TEST_F(TrustedRunTest, ExitDuringARunClosesTheRunOut)
{
    RxMainWindow window(*m_program);
    auto *exit = window.findChild<QAction *>(QStringLiteral("mnuExit"));
    ASSERT_NE(exit, nullptr);
    qint64 elapsed = 0;
    alsoOnAdvance([&](qint64 ms) {
        if ((elapsed += ms) > 2000 && !model().runRecord().stopRequested())
            exit->trigger();
    });
    EXPECT_TRUE(play({"WaitSeconds 3600", "StartAcquire"}));
    EXPECT_TRUE(m_recording->callsOf(QStringLiteral("StartAcquire")).isEmpty());
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_TRUE(journalText().contains("stopped by the operator")) << journalText().toStdString();
}

TEST_F(TrustedRunTest, AScriptLongerThanTheBoxIsRefusedBeforeAnyLinePlays)
{
    QByteArray content = "ConnectLMN\r\n";
    for (int i = 0; i < 400; ++i)
        content += "StartAcquire" + QByteArray(88, ' ') + "\r\n";
    writeFile(QStringLiteral("long.lsf"), content);
    const UnattendedStart start = startWith(file(QStringLiteral("long.lsf")));
    EXPECT_EQ(start.outcome(), UnattendedStart::Outcome::Refused);
    EXPECT_EQ(start.exitStatus(), RunRecord::kNotPlayed);
    EXPECT_TRUE(start.reason().contains("ends at line 315")) << start.reason().toStdString();
    EXPECT_TRUE(m_recording->methods().isEmpty());
}

TEST_F(TrustedRunTest, AByteOrderMarkIsNoTextAndANulLineIsAnError)
{
    const char script[] = "\xEF\xBB\xBFStartAcquire\r\nSaveSpectrumA.Ans\0B\r\n";
    writeFile(QStringLiteral("bom.lsf"), QByteArray(script, sizeof script - 1));
    const UnattendedStart start = startWith(file(QStringLiteral("bom.lsf")));
    EXPECT_EQ(start.exitStatus(), RunRecord::kLinesFailed);
    EXPECT_EQ(m_recording->methods(), QStringList{"StartAcquire"}) << "no save under a cut name";
    EXPECT_TRUE(logLines().value(0).startsWith("ERROR:   Error: "))
        << logLines().join('\n').toStdString();

    writeFile(QStringLiteral("Id.txt"), QByteArray("S-1\0.Ans\r\n", 10));
    EXPECT_TRUE(reply(QStringLiteral("GetID Id.txt")).startsWith("Error: "));
    EXPECT_TRUE(m_recording->callsOf(QStringLiteral("SetSpectrumID")).isEmpty());
}

TEST_F(TrustedRunTest, AByteOrderMarkMeansUtf8AndItsLinesOutsideWindows1252Fail)
{
    const QByteArray mark("\xEF\xBB\xBF");
    struct Case
    {
        QByteArray bytes;
        const char *id; ///< UTF-8; empty: the line fails and reaches no host
    };
    const QList<Case> cases = {
        {mark + "SetSpectrumID Boden \xC3\x9C-3\r\n", "Boden \xC3\x9C-3"},
        {"SetSpectrumID Boden \xDC-3\r\n", "Boden \xC3\x9C-3"},
        {"SetSpectrumID Boden \xC3\x9C-3\r\n", "Boden \xC3\x83\xC5\x93-3"}, // as designed
        {mark + "SetSpectrumID Boden \xCE\xA9\r\n", ""},
    };
    for (const Case &k : cases) {
        m_recording->calls.clear();
        writeFile(QStringLiteral("id.lsf"), k.bytes + "Beep\r\n");
        const UnattendedStart start = startWith(file(QStringLiteral("id.lsf")));
        const QString id = QString::fromUtf8(k.id);
        EXPECT_EQ(start.exitStatus(),
                  id.isEmpty() ? RunRecord::kLinesFailed : RunRecord::kCompleted)
            << k.id;
        const QStringList ids = argsOf(QStringLiteral("SetSpectrumID"));
        EXPECT_EQ(ids.size(), id.isEmpty() ? 0 : 1) << k.id;
        EXPECT_EQ(ids.value(0).trimmed(), id) << k.id;
    }
    EXPECT_TRUE(logLines().join('\n').contains(
        QString::fromUtf8("Error: the line holds \"\u03A9\" (U+03A9), which Windows-1252")))
        << logLines().join('\n').toStdString();
}

TEST_F(TrustedRunTest, ACancelledInputBoxIsJournaledAsCancelledNotAsAnEmptyAnswer)
{
    m_operator.queueInput(QStringLiteral(""));
    play({"AskID", "AskID"}); // the second box finds no answer: cancelled
    const QString journal = journalText();
    EXPECT_TRUE(journal.contains("Input box \"Enter spectrum ID:\" answered \"\""))
        << journal.toStdString();
    EXPECT_TRUE(journal.contains("Input box \"Enter spectrum ID:\" cancelled"))
        << journal.toStdString();
}

TEST_F(TrustedRunTest, AnUnattendedRunThatRunsOutOfAnswersEndsWithThree)
{
    writeFile(QStringLiteral("answers.txt"), "S-1\r\n");
    qputenv("LUMEN_ANSWERS", QFile::encodeName(file(QStringLiteral("answers.txt"))));
    HeadlessOperator headless;
    qunsetenv("LUMEN_ANSWERS");
    setCurrentOperator(&headless);
    writeFile(QStringLiteral("ask.lsf"), "AskID\r\nAskID\r\nStartAcquire\r\nAskID\r\n");
    const UnattendedStart start = startWith(file(QStringLiteral("ask.lsf")));
    setCurrentOperator(&m_operator);
    EXPECT_EQ(start.exitStatus(), RunRecord::kLinesFailed);
    const QString journal = journalText();
    for (const char *entry : {"Input box \"Enter spectrum ID:\" answered \"S-1\"",
                              "cancelled: the answers ran out at answer 2 of the run",
                              "the answers ran out at answer 2: 2 box(es) cancelled"})
        EXPECT_TRUE(journal.contains(QLatin1String(entry))) << entry << qPrintable(journal);
}

TEST_F(TrustedRunTest, ControlCharactersInANameOrLineNeverSplitAJournalEntry)
{
    const QString forged = QStringLiteral("evil\n00:00:00 Exit status: 0.lsf");
    const char script[] = "StartAcquire\r\nSaveSpectrumA\0B\r\n";
    writeFile(forged, QByteArray(script, sizeof script - 1));
    startWith(file(forged));
    const QString journal = journalText();
    EXPECT_TRUE(journal.contains(QStringLiteral("evil\\x0a00:00:00 Exit status: 0.lsf")));
    EXPECT_TRUE(journal.contains(QStringLiteral("SaveSpectrumA\\x00B")));
    const QRegularExpression entry(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d \\S"));
    for (const QString &line : journal.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        EXPECT_TRUE(entry.match(line).hasMatch() && !line.contains(u'\n')) << line.toStdString();
    const QRegularExpression exitEntry(QStringLiteral("^\\S+ Exit status: "),
                                       QRegularExpression::MultilineOption);
    EXPECT_EQ(journal.count(exitEntry), 1) << journal.toStdString();
}

TEST_F(TrustedRunTest, NoJournalNoRunAndAJournalLostMidRunEndsIt)
{
    // Root ignores permissions: a file where the journal folder goes stops it.
    writeFile(QStringLiteral("journal"), "not a folder");
    ScriptPlayer refused(model(), runner());
    EXPECT_TRUE(refused.PlayScript(QStringLiteral("StartAcquire")));
    EXPECT_EQ(refused.exitStatus(), RunRecord::kNotPlayed);
    EXPECT_TRUE(m_recording->methods().isEmpty());
    EXPECT_TRUE(m_operator.messages().value(0).contains(file(QStringLiteral("journal"))));
    EXPECT_TRUE(m_operator.messages().value(0).endsWith(
        QString::fromStdString(": " + std::make_error_code(std::errc::not_a_directory).message())))
        << "the system's reason: " << m_operator.messages().value(0).toStdString();

    QFile::remove(file(QStringLiteral("journal")));
    alsoOnAdvance([&](qint64) {
        const QDir dir(file(QStringLiteral("journal")));
        for (const QString &name : dir.entryList(QDir::Files)) {
            QFile::remove(dir.filePath(name));
            dir.mkdir(name); // the next entry cannot be appended
        }
    });
    ScriptPlayer lost(model(), runner());
    EXPECT_TRUE(lost.PlayScript(QStringLiteral("WaitSeconds 2\r\nStartAcquire")));
    EXPECT_EQ(lost.exitStatus(), RunRecord::kStopped);
    EXPECT_TRUE(m_recording->callsOf(QStringLiteral("StartAcquire")).isEmpty());
}

TEST_F(TrustedRunTest, TheNextRunRemovesTheFilesOfARunKilledOutright)
{
    QProcess ended;
    ended.start(QStringLiteral("true"));
    ASSERT_TRUE(ended.waitForStarted(5000));
    const QString dead = QString::number(ended.processId());
    ASSERT_EQ(lumen::test::ProgramFolder::finish(ended, 5000).status, 0);
    const QDir tmp(m_tmp.path());
    for (const QString &name : {"SDE" + dead + "-aB3dE1.tmp", "SLG" + dead + "-aB3dE2.tmp",
                                QStringLiteral("SDE1-aB3dE3.tmp")}) {
        QFile left(tmp.filePath(name));
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    }
    play({"StartAcquire"});
    EXPECT_EQ(temporaryFiles(), QStringList{"SDE1-aB3dE3.tmp"}) << "a live process keeps its files";
}

TEST_F(TrustedRunTest, ScriptsAndValueFilesMustBeRegularFiles)
{
    for (const QString &path : notRegularFiles()) {
        const UnattendedStart start = startWith(path);
        EXPECT_EQ(start.outcome(), UnattendedStart::Outcome::Unreadable) << path.toStdString();
        EXPECT_EQ(start.exitStatus(), RunRecord::kNotPlayed);

        model().setScriptText(QStringLiteral("kept\r\n"));
        m_operator.queueFile(path);
        ScriptButtons(model(), runner()).load();
        EXPECT_EQ(model().scriptText(), "kept\r\n") << path.toStdString();
        EXPECT_FALSE(m_operator.messages().isEmpty()) << "the operator is told";

        EXPECT_TRUE(reply(QStringLiteral("GetID ") + path).startsWith("Error: "))
            << path.toStdString();
    }
    EXPECT_TRUE(m_recording->methods().isEmpty());
}

TEST_F(TrustedRunTest, TheJournalHoldsTheOperatorsAnswers)
{
    m_operator.queueInput(QStringLiteral("S-17"));
    EXPECT_FALSE(play({"AskID"}));
    EXPECT_TRUE(journalText().contains("answered \"S-17\"")) << journalText().toStdString();
    EXPECT_TRUE(journalText().contains("Line 1: AskID -> OK"));
}

TEST_F(TrustedRunTest, AFullDiskLeavesNoHalfRowInTheRoiLog)
{
    run(QStringLiteral("LOGROIS 1"));
    const QString log = file(DataFiles::roiLogFileName(m_clock.today()));
    const QByteArray before = bytesOf(QFileInfo(log).fileName());
    ASSERT_FALSE(before.isEmpty());
    lumen::test::underSizeLimit(rlim_t(before.size() + 30),
                                [&] { run(QStringLiteral("LOGROIS 6")); });
    EXPECT_EQ(bytesOf(QFileInfo(log).fileName()), before);
}

} // namespace
} // namespace lumen::sequa::test
