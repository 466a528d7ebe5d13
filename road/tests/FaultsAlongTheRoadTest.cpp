// What a lab meets on a bad day: the host bridge dies mid-run, the archive
// cannot be opened, the report is missing, the ROI log cannot be written.
// Each must end in a clear status without losing what was already done.
#include "road/tests/LabFolder.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <sys/types.h>

namespace {

const QStringList kArchivingLoop = {
    QStringLiteral("ConnectLMN"),
    QStringLiteral("SetPrimary 1"),
    QStringLiteral("PresetsOff"),
    QStringLiteral("SetLivePreset 300"),
    QStringLiteral("PresetsOn"),
    QStringLiteral("DoNumPass 20"),
    QStringLiteral("LoopBeg"),
    QStringLiteral("AutoID"),
    QStringLiteral("EraseSpectrum"),
    QStringLiteral("StartAcquire"),
    QStringLiteral("WaitPreset"),
    QStringLiteral("AnalyzeRapidScan"),
    QStringLiteral("WaitExtProg Ledgerly APPEND"),
    QStringLiteral("LoopEnd"),
};

} // namespace

TEST(FaultsAlongTheRoad, HostBridgeKilledMidRunStopsTheRunAndKeepsEveryRecord)
{
    LabFolder lab;
    lab.writeScript(QStringLiteral("batch.lsf"), kArchivingLoop);
    QProcessEnvironment env = lab.environment();

    QProcess bridge;
    const int port = LabFolder::startHostBridge(bridge, env);
    ASSERT_GT(port, 0) << "hostsim did not start listening";
    env.insert(QStringLiteral("LUMEN_HOST"), QStringLiteral("tcp://127.0.0.1:%1").arg(port));
    env.insert(QStringLiteral("LUMEN_HOST_TIMEOUT"), QStringLiteral("3"));

    const auto sequa = lab.start(QStringLiteral("Sequa"), {QStringLiteral("batch.lsf")}, env);
    ASSERT_TRUE(sequa->waitForStarted(10000));

    // Let the first sample reach the archive, then take the host away.
    QElapsedTimer waited;
    waited.start();
    int archivedBeforeFault = 0;
    while (waited.elapsed() < 90000 && sequa->state() == QProcess::Running) {
        archivedBeforeFault = std::max(archivedBeforeFault, lab.recordCount());
        if (archivedBeforeFault >= 1)
            break;
        QThread::msleep(100);
    }
    ASSERT_GE(archivedBeforeFault, 1)
        << qPrintable(QString::fromLocal8Bit(sequa->readAllStandardError()));
    bridge.kill();
    bridge.waitForFinished(5000);

    // The run must stop after the host went away.
    const ProgramRun stopped = LabFolder::finish(*sequa, 60000);
    const QString &err = stopped.err;
    EXPECT_EQ(stopped.status, 1) << "stopped";
    EXPECT_TRUE(err.contains(QStringLiteral("No Connection"))) << qPrintable(err);
    EXPECT_TRUE(lab.lastJournal().contains(QStringLiteral("Exit status: 1")))
        << qPrintable(lab.lastJournal());
    EXPECT_TRUE(lab.temporaryFilesLeft().isEmpty())
        << qPrintable(lab.temporaryFilesLeft().join(u' '));
    EXPECT_GE(lab.recordCount(), archivedBeforeFault);
    EXPECT_LT(lab.recordCount(), 20);
}

TEST(FaultsAlongTheRoad, ArchiveThatCannotBeOpenedIsLeftAsItWas)
{
    LabFolder lab;
    // Something that is no database sits where the archive should be.
    const QByteArray notADatabase("This file belongs to someone else and must survive.\r\n");
    {
        QFile file(lab.database());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(notADatabase);
    }
    lab.writeScript(QStringLiteral("one.lsf"),
                    {QStringLiteral("ConnectLMN"), QStringLiteral("SetLivePreset 60"),
                     QStringLiteral("PresetsOn"), QStringLiteral("EraseSpectrum"),
                     QStringLiteral("StartAcquire"), QStringLiteral("WaitPreset"),
                     QStringLiteral("AnalyzeRapidScan"),
                     QStringLiteral("WaitExtProg Ledgerly APPEND"),
                     QStringLiteral("GetNumberChannels")});

    // The script goes on past the archiver's failure, which the run's status tells.
    const ProgramRun played = lab.run(QStringLiteral("Sequa"), {QStringLiteral("one.lsf")});
    EXPECT_EQ(played.status, 3) << qPrintable(played.err);
    EXPECT_TRUE(QFile::exists(lab.lab(QStringLiteral("Lnumchan.txt"))));

    // Called directly, the archiver says it failed.
    const ProgramRun archived = lab.run(QStringLiteral("Ledgerly"), {QStringLiteral("APPEND")});
    EXPECT_EQ(archived.status, 4) << "append failed";
    EXPECT_FALSE(archived.err.isEmpty());

    QFile file(lab.database());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), notADatabase);
}

TEST(FaultsAlongTheRoad, MissingReportArchivesNothingAndSaysSo)
{
    LabFolder lab;
    lab.writeScript(QStringLiteral("one.lsf"),
                    {QStringLiteral("ConnectLMN"), QStringLiteral("SetLivePreset 60"),
                     QStringLiteral("PresetsOn"), QStringLiteral("StartAcquire"),
                     QStringLiteral("WaitPreset"), QStringLiteral("AnalyzeRapidScan"),
                     QStringLiteral("WaitExtProg Ledgerly APPEND")});
    ASSERT_EQ(lab.run(QStringLiteral("Sequa"), {QStringLiteral("one.lsf")}).status, 0);
    ASSERT_EQ(lab.recordCount(), 1);

    QFile::remove(lab.lumen(QStringLiteral("Temp/RESULTS.TXT")));
    const ProgramRun archived = lab.run(QStringLiteral("Ledgerly"), {QStringLiteral("APPEND")});
    EXPECT_EQ(archived.status, 3) << "no report";
    EXPECT_TRUE(archived.err.contains(QStringLiteral("RESULTS.TXT"))) << qPrintable(archived.err);
    EXPECT_EQ(lab.recordCount(), 1);
}

TEST(FaultsAlongTheRoad, RoiLogThatCannotBeWrittenIsAnErrorAndTheRunGoesOn)
{
    LabFolder lab;
    // A folder where the day's log file should be: no one can write that file.
    // The host's clock fixes the day, whatever the real date.
    const QDate today(2026, 12, 7);
    ASSERT_TRUE(QDir(lab.lab()).mkdir(LabFolder::roiLogName(today)));
    lab.writeScript(QStringLiteral("log.lsf"),
                    {QStringLiteral("ConnectLMN"), QStringLiteral("StartAcquire"),
                     QStringLiteral("LogROIs 6"), QStringLiteral("GetNumberChannels")});

    QProcessEnvironment env = lab.environment();
    env.insert(QStringLiteral("LUMEN_HOST_START"), QStringLiteral("2026-12-07 08:00:00"));
    const ProgramRun played = lab.run(QStringLiteral("Sequa"), {QStringLiteral("log.lsf")}, env);
    EXPECT_EQ(played.status, 3) << "ran to its end with an error line: " << qPrintable(played.err);
    EXPECT_TRUE(played.err.contains(QStringLiteral("Error: "))) << qPrintable(played.err);
    EXPECT_TRUE(QFile::exists(lab.lab(QStringLiteral("Lnumchan.txt"))));
    EXPECT_TRUE(lab.temporaryFilesLeft().isEmpty());
}

TEST(FaultsAlongTheRoad, WithoutADisplayAndWithoutAnArgumentSequaAndTranspecEndAtOnce)
{
    LabFolder lab;
    for (const char *program : {"Sequa", "Transpec"}) {
        const ProgramRun started = lab.run(QString::fromLatin1(program), {});
        EXPECT_EQ(started.status, 2) << program;
        EXPECT_TRUE(started.err.contains(QStringLiteral("no display"))) << qPrintable(started.err);
    }
}

TEST(FaultsAlongTheRoad, ASignalEndsTheBridgeWithZeroAndARunInsideItsProgramAtOnce)
{
    for (int signo : {SIGTERM, SIGINT}) {
        QProcess bridge;
        ASSERT_GT(LabFolder::startHostBridge(bridge, LabFolder().environment()), 0);
        ::kill(pid_t(bridge.processId()), signo);
        ASSERT_TRUE(bridge.waitForFinished(10000));
        EXPECT_EQ(bridge.exitStatus(), QProcess::NormalExit) << signo;
        EXPECT_EQ(bridge.exitCode(), 0) << signo;
    }

    // A signal after the settle ends the waited-for program and the run at once.
    LabFolder lab;
    const QString marker = lab.lab(QStringLiteral("child.pid"));
    lab.writeScript(QStringLiteral("sleeper.lsf"),
                    {QStringLiteral("ConnectLMN"),
                     QStringLiteral("WaitExtProg sh -c \"echo $$ > ") + marker +
                         QStringLiteral("; exec sleep 1000\""),
                     QStringLiteral("GetNumberChannels")});
    const std::unique_ptr<QProcess> started =
        lab.start(QStringLiteral("Sequa"), {QStringLiteral("sleeper.lsf")}, lab.environment());
    QProcess &sequa = *started;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000 && !QFile::exists(marker))
        QThread::msleep(100);
    ASSERT_TRUE(QFile::exists(marker)) << "the program did not start";
    QThread::msleep(6000); // past the settle
    ::kill(pid_t(sequa.processId()), SIGTERM);
    waited.restart();
    ASSERT_TRUE(sequa.waitForFinished(15000)) << "the run waited for its program";
    EXPECT_LT(waited.elapsed(), 10000);
    EXPECT_EQ(sequa.exitCode(), 1);
    const QString journal = lab.lastJournal();
    EXPECT_TRUE(journal.contains(QStringLiteral("made to end by the stop"))) << qPrintable(journal);
    EXPECT_TRUE(journal.contains(QStringLiteral("-> Wait ended: interrupted by SIGTERM")))
        << qPrintable(journal);
    EXPECT_FALSE(journal.contains(QStringLiteral("GetNumberChannels")));
    const pid_t child = lab.text(marker).trimmed().toInt();
    ASSERT_GT(child, 0);
    EXPECT_NE(::kill(child, 0), 0) << "the program still runs";
}

TEST(FaultsAlongTheRoad, AReaderThatGoesAwayDoesNotEndTheRun)
{
    LabFolder lab;
    lab.writeScript(QStringLiteral("noisy.lsf"),
                    {QStringLiteral("ConnectLMN"), QStringLiteral("Nonsense one"),
                     QStringLiteral("WaitSeconds 1"), QStringLiteral("Nonsense two")});
    // As `Sequa ... 2>&1 | head` does once head has its lines; the shell
    // gives back Sequa's own status.
    QProcess shell;
    shell.setWorkingDirectory(lab.lab());
    shell.setProcessEnvironment(lab.environment());
    shell.start(QStringLiteral("bash"),
                {QStringLiteral("-c"),
                 QStringLiteral("./Sequa noisy.lsf 2>&1 | head -c0; exit ${PIPESTATUS[0]}")});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), 3) << "141: ended by SIGPIPE";
    EXPECT_TRUE(lab.lastJournal().contains(QStringLiteral("Exit status: 3")));
    EXPECT_TRUE(lab.temporaryFilesLeft().isEmpty());
}
