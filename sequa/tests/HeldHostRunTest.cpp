// Runs of the built program that meet over one host: one plays, one is
// refused; a run is continued once; CallExtProg's programs outlive the run.
#include "sequa/tests/SequaRunFolder.h"
#include "simhost/testsupport/ServedHost.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

using lumen::SimulatedHostSettings;
using lumen::test::ProgramFolder;
using lumen::test::ProgramRun;

class HeldHostRun : public lumen::sequa::test::SequaRunFolder
{
protected:
    HeldHostRun() { QDir(m_folder.path()).mkpath(QStringLiteral("elsewhere")); }

    /** Starts Sequa with `args`; the simulated host runs `speed` times real time. */
    std::unique_ptr<QProcess> start(const QStringList &args, const QString &speed) const
    {
        QProcessEnvironment env = m_folder.environment();
        env.insert(QStringLiteral("LUMEN_HOST_SPEED"), speed);
        for (auto it = m_env.cbegin(); it != m_env.cend(); ++it)
            env.insert(it.key(), it.value());
        return m_folder.start(QString(), args, env);
    }

    /** Waits until `file` holds `text` (a run under way); false when it never does. */
    static bool waitFor(const std::function<QString()> &file, const QString &text)
    {
        for (int i = 0; i < 400; ++i) {
            if (textOf(file()).contains(text))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    /** LUMEN_HOST of a simulated host served over TCP, as a bridge to a real one serves it. */
    QString bridge()
    {
        SimulatedHostSettings settings;
        settings.reportPath = path(QStringLiteral("RESULTS.TXT"));
        settings.dataFolder = settings.printFolder = path(QStringLiteral("tmp"));
        m_bridge = std::make_unique<lumen::test::ServedHost>(settings);
        return QStringLiteral("tcp://127.0.0.1:%1").arg(m_bridge->startServing());
    }

    QHash<QString, QString> m_env;
    std::unique_ptr<lumen::test::ServedHost> m_bridge;
};

TEST_F(HeldHostRun, ASecondRunOnTheHostIsRefusedNamingTheFirst)
{
    for (const QString &host : {QString(), bridge()}) {
        QDir(path(QStringLiteral("journal"))).removeRecursively();
        m_env = {{QStringLiteral("LUMEN_HOST"), host}};
        const auto first = start(
            {writeScript(QStringLiteral("long.lsf"), {"ConnectLMN", "WaitSeconds 600"})}, "1");
        ASSERT_TRUE(waitFor([this] { return journals().value(0); }, "Line 1:"));
        const QString held = QFileInfo(journals().value(0)).fileName();

        const auto second =
            start({writeScript(QStringLiteral("b.lsf"), {"ConnectLMN", "Beep"})}, "1");
        const ProgramRun refused = ProgramFolder::finish(*second);
        EXPECT_EQ(refused.status, 2) << qPrintable(refused.err);
        const QString holder = QStringLiteral("(process %1, started ").arg(first->processId());
        EXPECT_TRUE(refused.err.contains("The host is held by Sequa run of journal ") &&
                    refused.err.contains(held) && refused.err.contains(holder))
            << qPrintable(refused.err);
        const QString refusedJournal = textOf(journals().value(1));
        EXPECT_TRUE(refusedJournal.contains("Error: The host is held by"))
            << qPrintable(refusedJournal);
        EXPECT_FALSE(refusedJournal.contains("Line 1:"));

        first->terminate();
        EXPECT_EQ(ProgramFolder::finish(*first).status, 1);
    }
}

TEST_F(HeldHostRun, ARunLendsTheHostToTheSequaRunItWaitsFor)
{
    const QString inner = writeScript(QStringLiteral("inner.lsf"), {"ConnectLMN", "Beep"});
    const QString outer = writeScript(QStringLiteral("outer.lsf"),
                                      {"ConnectLMN", "WaitExtProg Sequa " + inner, "Beep"});
    for (const QString &host : {QString(), bridge()}) {
        QDir(path(QStringLiteral("journal"))).removeRecursively();
        m_env = {{QStringLiteral("LUMEN_HOST"), host}};
        const ProgramRun ran = ProgramFolder::finish(*start({outer}, "1000"));
        EXPECT_EQ(ran.status, 0) << qPrintable(ran.err);
        EXPECT_EQ(journals().size(), 2);
    }
}

TEST_F(HeldHostRun, AKilledRunIsContinuedOnceByTwoResumesOrACopy)
{
    const auto killed = start({writeScript(QStringLiteral("night.lsf"),
                                           {"ConnectLMN", "Beep", "WaitSeconds 600", "Beep"})},
                              "1");
    ASSERT_TRUE(waitFor([this] { return journals().value(0); }, "Line 2:"));
    killed->kill();
    killed->waitForFinished();
    const QString journal = journals().value(0);
    const QString copy = path(QStringLiteral("elsewhere/copy.txt"));
    ASSERT_TRUE(QFile::copy(journal, copy));

    const auto a = start({QStringLiteral("--resume"), journal}, "6000");
    const auto b = start({QStringLiteral("--resume"), journal}, "6000");
    const ProgramRun ranA = ProgramFolder::finish(*a);
    const ProgramRun ranB = ProgramFolder::finish(*b);
    ASSERT_EQ(QList<int>({std::min(ranA.status, ranB.status), std::max(ranA.status, ranB.status)}),
              QList<int>({0, 2}))
        << qPrintable(ranA.err + ranB.err);
    QString continuing;
    for (const QString &other : journals())
        if (textOf(other).contains("Exit status: 0"))
            continuing = QFileInfo(other).fileName();
    ASSERT_FALSE(continuing.isEmpty());
    const QString loser = ranA.status == 2 ? ranA.err : ranB.err;
    EXPECT_TRUE(loser.contains(continuing)) << qPrintable(loser);

    for (const QString &mode : {QStringLiteral("--resume"), QStringLiteral("--check")}) {
        const ProgramRun fromCopy = m_folder.run(
            mode == "--check" ? QStringList{mode, "--resume", copy} : QStringList{mode, copy});
        EXPECT_EQ(fromCopy.status, mode == "--check" ? 1 : 2) << qPrintable(fromCopy.err);
        EXPECT_TRUE(fromCopy.err.contains("it was continued already by") &&
                    fromCopy.err.contains(continuing))
            << qPrintable(fromCopy.err);
    }
}

TEST_F(HeldHostRun, CallExtProgsProgramOutlivesTheRun)
{
    const QString call =
        QStringLiteral("CallExtProg sh -c \"echo $$ > child.pid; exec sleep 120 >/dev/null 2>&1\"");
    struct Case
    {
        QString speed;
        QStringList after; ///< lines after the call
        int status;        ///< the run's exit status
    } cases[] = {{"1000", {}, 0}, {"1", {"WaitSeconds 600"}, 1}};
    for (const Case &c : cases) {
        QFile::remove(path(QStringLiteral("tmp/child.pid")));
        const auto run = start(
            {writeScript(QStringLiteral("call.lsf"), QStringList{"ConnectLMN", call} + c.after)},
            c.speed);
        ASSERT_TRUE(waitFor([this] { return path(QStringLiteral("tmp/child.pid")); }, "\n"));
        if (c.status == 1)
            run->terminate();
        EXPECT_EQ(ProgramFolder::finish(*run).status, c.status);
        const pid_t child = pid_t(textOf(path(QStringLiteral("tmp/child.pid"))).trimmed().toInt());
        ASSERT_GT(child, 0);
        EXPECT_EQ(::kill(child, 0), 0)
            << "the program ended with the run (status " << c.status << ")";
        ::kill(child, SIGKILL);
    }
}

} // namespace

#endif
