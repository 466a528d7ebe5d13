// The built program playing a script file unattended, without a display, on
// the simulated host in its own process.
#include "sequa/tests/SequaRunFolder.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QThread>
#include <QTime>
#include <csignal>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

class ScriptProgramRun : public lumen::sequa::test::SequaRunFolder
{
protected:
    ScriptProgramRun() { QDir(m_folder.path()).mkpath(QStringLiteral("root")); }

    /** Runs the copy with the script, without a display; fills m_exitCode and m_err. */
    void runScript(const QString &name, const QString &faults = QString())
    {
        finish(*startScript(name.isEmpty() ? QStringList() : QStringList{path(name)}, faults));
    }

    void finish(QProcess &process)
    {
        const lumen::test::ProgramRun ran = lumen::test::ProgramFolder::finish(process, 120000);
        m_exitCode = ran.status;
        m_err = ran.err;
    }

    std::unique_ptr<QProcess> startScript(const QStringList &args,
                                          const QString &faults = QString())
    {
        QProcessEnvironment env = m_folder.environment();
        env.insert(QStringLiteral("LUMEN_ROOT"), path(QStringLiteral("root")));
        env.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
        env.insert(QStringLiteral("LUMEN_HOST_SPEED"), QStringLiteral("1000"));
        env.insert(QStringLiteral("LUMEN_HOST_SEED"), QStringLiteral("11"));
        env.insert(QStringLiteral("LUMEN_HOST_CHANNELS"), QStringLiteral("2048"));
        if (!faults.isEmpty())
            env.insert(QStringLiteral("LUMEN_HOST_FAULTS"), faults);
        for (auto it = m_env.cbegin(); it != m_env.cend(); ++it)
            env.insert(it.key(), it.value());
        return m_folder.start(QString(), args, env);
    }

    QMap<QString, QString> m_env;

    QStringList leftInTmp() const
    {
        return QDir(path(QStringLiteral("tmp"))).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    int m_exitCode = -2;
    QString m_err;
};

TEST_F(ScriptProgramRun, MeasuresThreeSamplesInALoopAndEndsWithStatusZero)
{
    writeScript(QStringLiteral("measure.lsf"),
                {"; three samples, each to a 20 s live-time preset", "ConnectLMN",
                 "SelectLibSTANDARD.LIB", "PresetsOn", "SetLivePreset 20", "DoNumPass 3", "LoopBeg",
                 "EraseSpectrum", "AutoID", "StartAcquire", "WaitPreset", "AnalyzePeakIdent",
                 "SaveRprtPeakIdent,REPORT.TXT", "AutoSaveSpcSPEC", "LOGROIS 2", "LoopEnd"});
    runScript(QStringLiteral("measure.lsf"));
    EXPECT_EQ(m_exitCode, 0) << m_err.toStdString();
    EXPECT_FALSE(m_err.contains(QStringLiteral("ERROR:"))) << m_err.toStdString();

    const QDir data(path(QStringLiteral("root/Data")));
    const QStringList spectra = data.entryList({QStringLiteral("SPEC*")}, QDir::Files);
    EXPECT_EQ(spectra.size(), 3) << data.entryList().join(' ').toStdString();
    EXPECT_TRUE(data.exists(QStringLiteral("REPORT.TXT")));

    const QStringList roiLogs =
        QDir(m_folder.path()).entryList({QStringLiteral("ROI_Data_*.txt")}, QDir::Files);
    ASSERT_EQ(roiLogs.size(), 1) << QDir(m_folder.path()).entryList().join(' ').toStdString();
    QFile log(path(roiLogs[0]));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    int filled = 0;
    for (const QByteArray &line : lines)
        filled += line.trimmed().isEmpty() ? 0 : 1;
    EXPECT_GE(filled, 6) << "two ROIs on each of three passes";
    EXPECT_TRUE(leftInTmp().isEmpty()) << leftInTmp().join(' ').toStdString();
}

TEST_F(ScriptProgramRun, AHostThatGoesAwayMidRunEndsWithNonZeroStatusAndNoTemporaryFile)
{
    writeScript(QStringLiteral("gone.lsf"),
                {"ConnectLMN", "DoNumPass 50", "LoopBeg", "EraseSpectrum", "StartAcquire",
                 "StopAcquire", "LoopEnd"});
    runScript(QStringLiteral("gone.lsf"), QStringLiteral("gone-after=19"));
    EXPECT_EQ(m_exitCode, 1) << "stopped by No Connection";
    EXPECT_TRUE(m_err.contains(QStringLiteral("No Connection"))) << m_err.toStdString();
    EXPECT_TRUE(leftInTmp().isEmpty()) << leftInTmp().join(' ').toStdString();
}

TEST_F(ScriptProgramRun, AnUnreadableScriptWithoutADisplayEndsWithNonZeroStatus)
{
    runScript(QStringLiteral("missing.lsf"));
    EXPECT_EQ(m_exitCode, 2) << "nothing played";
    EXPECT_TRUE(m_err.contains(QStringLiteral("missing.lsf"))) << m_err.toStdString();
}

TEST_F(ScriptProgramRun, TheExitStatusSaysWhatTheRunDid)
{
    struct Case
    {
        QStringList script; ///< empty: no argument at all
        QMap<QString, QString> env;
        int status;
        const char *said; ///< on standard error
    };
    const Case cases[] = {
        {{"ConnectLMN", "StartAcquire", "StopAcquire"}, {}, 0, ""},
        {{"ConnectLMN", "NoSuchCommand"}, {}, 3, "1 line(s) gave an error"},
        {{"; only a comment"}, {}, 1, "ever reaching the host"},
        {{"ConnectLMN", "LoopBeg"}, {}, 1, "did not run to its end"},
        {{"ConnectLMN", "StartAcquire"},
         {{"LUMEN_HOST", "tcp://127.0.0.1:1"}, {"LUMEN_HOST_TIMEOUT", "2"}},
         1,
         "No Connection"},
        {{"ConnectLMN"}, {{"LUMEN_HOST", "tcp:/lab-host"}}, 2, "LUMEN_HOST"},
        {{"ConnectLMN"}, {{"LUMEN_HOST_TIMEOUT", "ten"}}, 2, "LUMEN_HOST_TIMEOUT: ten"},
        {{"ConnectLMN"}, {{"LUMEN_HOST_SPEED", "fast"}}, 2, "LUMEN_HOST_SPEED: fast"},
        {{"ConnectLMN"}, {{"LUMEN_SEQUA_DEPTH", "8"}}, 2, "8 levels deep"},
        {{"ConnectLMN"}, {{"LUMEN_SEQUA_DEPTH", "abc"}}, 2, "cannot be read as a number"},
        {{}, {}, 2, "no display"},
    };
    for (const Case &c : cases) {
        m_env = c.env;
        if (c.script.isEmpty()) {
            runScript(QString());
        } else {
            writeScript(QStringLiteral("case.lsf"), c.script);
            runScript(QStringLiteral("case.lsf"));
        }
        const std::string what = c.script.join(" / ").toStdString();
        EXPECT_EQ(m_exitCode, c.status) << what << "\n" << m_err.toStdString();
        EXPECT_TRUE(m_err.contains(QString::fromLatin1(c.said))) << what << "\n"
                                                                 << m_err.toStdString();
        if (c.status == 2) {
            EXPECT_FALSE(m_err.contains("COMMAND:")) << "nothing played: " << what;
        }
    }
    EXPECT_TRUE(leftInTmp().isEmpty()) << leftInTmp().join(' ').toStdString();
    // A refused start is accounted for too.
    QString journaled;
    for (const QString &journal : journals())
        journaled += textOf(journal);
    for (const char *refusal : {"nothing was played: started 8 levels deep",
                                "nothing was played: LUMEN_SEQUA_DEPTH "
                                "cannot be read as a number of levels: \"abc\""})
        EXPECT_TRUE(journaled.contains(QLatin1String(refusal))) << journaled.toStdString();
}

TEST_F(ScriptProgramRun, TheJournalKeepsWhatRanAndOutlivesTheRun)
{
    writeScript(QStringLiteral("journal.lsf"), {"ConnectLMN", "StartAcquire", "Bogus"});
    runScript(QStringLiteral("journal.lsf"));
    runScript(QStringLiteral("journal.lsf"));
    const QStringList paths = journals();
    ASSERT_EQ(paths.size(), 2) << "one per run, even within one second";
    const QString text = textOf(paths[1]);
    QFile script(path(QStringLiteral("journal.lsf")));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    const QByteArray sha = QCryptographicHash::hash(script.readAll(), QCryptographicHash::Sha256);
    for (const QString &expected :
         {QStringLiteral("Run started "), QStringLiteral("Script: ") + path("journal.lsf"),
          QStringLiteral("SHA-256: ") + QString::fromLatin1(sha.toHex()),
          QStringLiteral("Host: simulated host, seed 11, speed 1000"),
          QStringLiteral("Line 2: StartAcquire -> OK"),
          QStringLiteral("Line 3: Bogus -> Command not recognized - Bogus at line  3"),
          QStringLiteral("Exit status: 3"), QStringLiteral("Run ended ")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n"
                                             << text.toStdString();
}

TEST_F(ScriptProgramRun, ASignalClosesTheRunOutAsNoConnectionDoes)
{
    writeScript(QStringLiteral("long.lsf"), {"ConnectLMN", "WaitSeconds 600"});
    m_env = {{"LUMEN_HOST_SPEED", "1"}};
    const auto process = startScript({path(QStringLiteral("long.lsf"))});
    ASSERT_TRUE(process->waitForStarted());
    // The run is under way once its journal shows the connect line.
    for (int i = 0; i < 200 && !textOf(journals().value(0)).contains("Line 1:"); ++i)
        QThread::msleep(50);
    process->terminate(); // SIGTERM
    finish(*process);
    EXPECT_EQ(m_exitCode, 1) << m_err.toStdString();
    EXPECT_TRUE(textOf(journals().value(0)).contains("interrupted by SIGTERM"))
        << textOf(journals().value(0)).toStdString();
    EXPECT_TRUE(leftInTmp().isEmpty()) << "play file and run log removed";
}

TEST_F(ScriptProgramRun, SigUsr1PausesTheRunSigUsr2ResumesItAndAStopSignalEndsItPaused)
{
    // Host seconds of the journal's time stamp ("HH:MM:SS Line 2: ...").
    const auto secondOf = [](const QString &journal, const QString &entry) {
        const qsizetype at = journal.indexOf(entry);
        return at < 9
                   ? -1
                   : QTime::fromString(journal.mid(at - 9, 8), "HH:mm:ss").msecsSinceStartOfDay() /
                         1000;
    };
    const auto waitFor = [this](const QString &entry) {
        for (int i = 0; i < 400 && !textOf(journals().value(0)).contains(entry); ++i)
            QThread::msleep(25);
        return textOf(journals().value(0)).contains(entry);
    };
    // 5000 host seconds are 5 real ones at the fixture's speed.
    writeScript(QStringLiteral("pause.lsf"), {"ConnectLMN", "WaitSeconds 5000", "StartAcquire"});
    for (const bool resume : {true, false}) {
        SCOPED_TRACE(resume ? "resumed" : "terminated");
        QDir(path(QStringLiteral("journal"))).removeRecursively();
        const auto process = startScript({path(QStringLiteral("pause.lsf"))});
        ASSERT_TRUE(waitFor(QStringLiteral("Line 1:")));
        ::kill(pid_t(process->processId()), SIGUSR1);
        ASSERT_TRUE(waitFor(QStringLiteral("Paused by SIGUSR1 at line ")));
        QThread::msleep(1000);
        EXPECT_FALSE(textOf(journals().value(0)).contains("Line 2:")) << "the countdown holds";
        ::kill(pid_t(process->processId()), resume ? SIGUSR2 : SIGTERM);
        finish(*process);
        const QString journal = textOf(journals().value(0));
        if (!resume) {
            EXPECT_EQ(m_exitCode, 1) << m_err.toStdString();
            EXPECT_TRUE(journal.contains("interrupted by SIGTERM")) << journal.toStdString();
            EXPECT_TRUE(leftInTmp().isEmpty());
            continue;
        }
        EXPECT_EQ(m_exitCode, 0) << m_err.toStdString();
        EXPECT_TRUE(journal.contains("Resumed by SIGUSR2 after ")) << journal.toStdString();
        // The wait lasted its 5000 s and the (at least 1000 s) it was held.
        const int waited =
            (secondOf(journal, "Line 2:") - secondOf(journal, "Line 1:") + 86400) % 86400;
        EXPECT_GE(waited, 5900) << journal.toStdString();
    }
}

} // namespace

#endif
