// A night that survives interruption: the demo's sample batch killed with
// SIGKILL at moments drawn from a fixed seed, each night continued with
// `Sequa --resume` of its journal, in process and over the TCP bridge; and
// the journals that --resume must refuse.
#include "road/tests/LabFolder.h"
#include "spectra/AnsReader.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <random>

namespace {

// The sample batch's LoopBeg and LoopEnd lines (examples/sample_batch.lsf).
constexpr int kLoopBegLine = 16;
constexpr int kLoopEndLine = 27;

constexpr qint64 kBridgeNightMs = 19000;

#if defined(__SANITIZE_ADDRESS__)
// Each night is several program starts; under the sanitizers a few moments do.
constexpr int kMoments = 3;
constexpr int kBridgeMoments = 1;
#else
constexpr int kMoments = 20;
constexpr int kBridgeMoments = 2;
#endif

/** The results of one column of "SamRecords" that are current (superseded by none). */
QStringList currentIds(const LabFolder &lab)
{
    QStringList ids;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("resume-check"));
        db.setDatabaseName(lab.database());
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT \"ID Text\" FROM \"SamRecords\" WHERE \"Superseded By\" "
                                  "IS NULL ORDER BY \"ID Text\""));
            while (q.next())
                ids << q.value(0).toString().trimmed();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("resume-check"));
    return ids;
}

/**
 * The passes of the sample loop whose LoopEnd completed, in the order of the
 * chain's journals: each is the pass of the checkpoint before its LoopEnd line.
 */
QList<int> completedPasses(const LabFolder &lab, const QStringList &chain)
{
    static const QRegularExpression pass(
        QStringLiteral("Checkpoint: line \\d+; loops %1:(\\d+)/").arg(kLoopBegLine));
    const QString loopEnd = QStringLiteral(" Line %1: LoopEnd -> OK").arg(kLoopEndLine);
    QList<int> passes;
    for (const QString &journal : chain) {
        int current = 0;
        for (const QString &entry : lab.textLines(journal)) {
            if (const auto m = pass.match(entry); m.hasMatch())
                current = m.captured(1).toInt();
            else if (entry.endsWith(loopEnd))
                passes << current;
        }
    }
    return passes;
}

class NightResume : public ::testing::Test
{
protected:
    /**
     * Kills the batch `moments` times at moments drawn from a fixed seed
     * over the length of an uninterrupted night, resuming each; `viaBridge`
     * plays on `hostsim --listen`, which lives on while Sequa is killed.
     */
    void killAndResume(int moments, bool viaBridge)
    {
        std::mt19937 draw(28);
        // Over the bridge Sequa's waits run on the real clock: the settles
        // alone (2 s after each preset, 5 s at each program start) make a
        // night of more than 21 s, so no run is needed to know its length.
        const qint64 night = viaBridge ? kBridgeNightMs : nightLength();
        ASSERT_GT(night, 0);
        std::uniform_int_distribution<qint64> at(night / 20, night * 19 / 20);
        // The first night's resume is killed too, early: a resumed run resumes.
        resumedNight({at(draw), night / 10}, viaBridge);
        for (int i = 1; i < moments; ++i)
            resumedNight({at(draw)}, viaBridge);
    }

    QProcessEnvironment nightEnvironment(LabFolder &lab, QProcess &bridge, bool viaBridge)
    {
        QProcessEnvironment env = lab.environment();
        env.insert(QStringLiteral("LUMEN_ANSWERS"),
                   lab.example(QStringLiteral("demo_answers.txt")));
        env.insert(QStringLiteral("LUMEN_HOST_SPEED"), QStringLiteral("3000"));
        if (viaBridge) {
            const int port = LabFolder::startHostBridge(bridge, env);
            EXPECT_GT(port, 0) << "hostsim did not start listening";
            env.insert(QStringLiteral("LUMEN_HOST"),
                       QStringLiteral("tcp://127.0.0.1:%1").arg(port));
        }
        return env;
    }

    /** From the journal's first line to the end of an uninterrupted night. */
    qint64 nightLength()
    {
        LabFolder lab;
        QProcess bridge;
        const QProcessEnvironment env = nightEnvironment(lab, bridge, false);
        const auto sequa =
            lab.start(QStringLiteral("Sequa"), {QStringLiteral("sample_batch.lsf")}, env);
        EXPECT_FALSE(lab.awaitNewJournal({}, *sequa).isEmpty());
        QElapsedTimer timer;
        timer.start();
        const bool ended = sequa->waitForFinished(LabFolder::kRunTimeoutMs);
        EXPECT_TRUE(ended && sequa->exitStatus() == QProcess::NormalExit && sequa->exitCode() == 0)
            << qPrintable(QString::fromLocal8Bit(sequa->readAllStandardError()));
        return ended && sequa->exitCode() == 0 ? timer.elapsed() : 0;
    }

    /**
     * Plays the night, killing it after the first moment, its resume after
     * the next, and so on; then resumes it to its end.
     */
    void resumedNight(const QList<qint64> &kills, bool viaBridge)
    {
        QStringList moments;
        for (const qint64 ms : kills)
            moments << QString::number(ms);
        SCOPED_TRACE(("killed after " + moments.join(", then ") + " ms").toStdString());
        LabFolder lab;
        QProcess bridge;
        const QProcessEnvironment env = nightEnvironment(lab, bridge, viaBridge);
        // Journals are named by the host's clock, which starts anew each run:
        // the chain is followed run by run. Each moment counts from the
        // journal's first line, before which nothing plays, so that a slow
        // program start on a loaded machine moves no kill out of the night.
        QStringList chain;
        const auto args = [&] {
            return chain.isEmpty() ? QStringList{QStringLiteral("sample_batch.lsf")}
                                   : QStringList{QStringLiteral("--resume"), chain.last()};
        };
        bool ended = false;
        for (const qint64 killAfterMs : kills) {
            const auto sequa = lab.start(QStringLiteral("Sequa"), args(), env);
            ASSERT_TRUE(sequa->waitForStarted(10000));
            const QString journal = lab.awaitNewJournal(chain, *sequa);
            ASSERT_FALSE(journal.isEmpty())
                << "no journal before anything plays: "
                << qPrintable(QString::fromLocal8Bit(sequa->readAllStandardError()));
            chain << journal;
            if (sequa->waitForFinished(int(killAfterMs))) {
                // The night outran its kill: then it ended whole on its own.
                ASSERT_EQ(sequa->exitStatus(), QProcess::NormalExit);
                ASSERT_EQ(sequa->exitCode(), 0)
                    << qPrintable(QString::fromLocal8Bit(sequa->readAllStandardError()));
                ended = true;
                break;
            }
            sequa->kill();
            sequa->waitForFinished(10000);
        }
        if (!ended) {
            const QStringList known = lab.journals();
            const ProgramRun resumed = lab.run(QStringLiteral("Sequa"), args(), env);
            QStringList added = lab.journals();
            for (const QString &old : known)
                added.removeOne(old);
            ASSERT_EQ(added.size(), 1);
            chain << added.first();
            ASSERT_EQ(resumed.status, 0) << qPrintable(resumed.err + lab.text(chain.last()));
        }
        // A program the killed run had started may still be archiving.
        QThread::msleep(300);

        EXPECT_EQ(currentIds(lab),
                  (QStringList{QStringLiteral("SOIL-001"), QStringLiteral("SOIL-002"),
                               QStringLiteral("SOIL-003")}));
        qint64 spectrumSize = -1;
        for (const char *name : {"SOIL001", "SOIL002", "SOIL003"}) {
            QFile file(lab.lumen(QStringLiteral("Data/%1.Ans").arg(QLatin1String(name))));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
            const QByteArray bytes = file.readAll();
            EXPECT_NO_THROW(lumen::AnsReader::read(bytes)) << name;
            EXPECT_TRUE(spectrumSize < 0 || bytes.size() == spectrumSize) << name;
            spectrumSize = bytes.size();
        }
        EXPECT_EQ(completedPasses(lab, chain), (QList<int>{1, 2, 3}))
            << "every pass completed once across the chain";
        for (qsizetype i = 1; i < chain.size(); ++i) {
            const QString text = lab.text(chain[i]);
            EXPECT_TRUE(text.contains(QStringLiteral("Resumes: ") + chain[i - 1]));
            EXPECT_TRUE(text.contains(QStringLiteral("Chain: ") + chain[0]));
            EXPECT_TRUE(
                lab.text(chain[i - 1]).contains(QStringLiteral("Continued by: ") + chain[i]));
        }
        bridge.kill();
        bridge.waitForFinished(5000);
    }
};

TEST(NightResumeRefusals, AJournalThatCannotBeContinuedIsRefusedWithStatusTwo)
{
    LabFolder lab;
    lab.writeScript(QStringLiteral("short.lsf"),
                    {QStringLiteral("ConnectLMN"), QStringLiteral("SetLivePreset 10")});
    ASSERT_EQ(lab.run(QStringLiteral("Sequa"), {QStringLiteral("short.lsf")}).status, 0);
    const QString done = lab.journals().first();
    QFile script(lab.lab(QStringLiteral("short.lsf")));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    const QString sha = QString::fromLatin1(
        QCryptographicHash::hash(script.readAll(), QCryptographicHash::Sha256).toHex());
    const auto journal = [&](const QString &name, const QStringList &entries) {
        QFile file(lab.lab(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        for (const QString &entry : entries)
            file.write(("08:00:00 " + entry + "\r\n").toLatin1());
        return file.fileName();
    };
    const QStringList head{QStringLiteral("Run started 2026-12-07 08:00:00, unattended"),
                           QStringLiteral("Script: ") + lab.lab(QStringLiteral("short.lsf")),
                           QStringLiteral("SHA-256: ") + sha};
    const QString killed = journal(
        QStringLiteral("killed.txt"),
        head + QStringList{QStringLiteral("Checkpoint: line 1; loops -; answers 0; failed 0/0")});
    const QString resumedOnce = journal(QStringLiteral("resumed-once.txt"), head);
    journal(QStringLiteral("journal/2026-12-07_090000.txt"),
            head + QStringList{QStringLiteral("Resumes: ") + resumedOnce});

    struct Case
    {
        const char *what;
        QString journal;
        const char *reason;
    };
    const Case cases[] = {
        {"no journal", lab.lab(QStringLiteral("short.lsf")), "no journal of a Sequa run"},
        {"a run that ended with 0", done, "played to the end of the script (status 0)"},
        {"a run that ended with 3",
         journal(QStringLiteral("three.txt"), head + QStringList{QStringLiteral("Exit status: 3")}),
         "(status 3)"},
        {"a changed script",
         journal(QStringLiteral("changed.txt"),
                 {head[0], head[1], QStringLiteral("SHA-256: ") + QString(64, u'0')}),
         "changed since the run"},
        {"a journal another one resumes", resumedOnce, "resumed already by"},
        {"a missing file", lab.lab(QStringLiteral("none.txt")), "File not found"},
    };
    for (const Case &c : cases) {
        const QStringList before = lab.journals();
        const ProgramRun refused =
            lab.run(QStringLiteral("Sequa"), {QStringLiteral("--resume"), c.journal});
        EXPECT_EQ(refused.status, 2) << c.what;
        EXPECT_TRUE(refused.err.contains(QLatin1String(c.reason)))
            << c.what << qPrintable(refused.err);
        QStringList added = lab.journals();
        for (const QString &old : before)
            added.removeOne(old);
        ASSERT_EQ(added.size(), 1) << c.what << ": a refusal journal";
        EXPECT_TRUE(lab.text(added[0]).contains(QStringLiteral("Resume of: ") + c.journal))
            << c.what;
    }

    // A run still playing is no run to continue.
    lab.writeScript(QStringLiteral("long.lsf"),
                    {QStringLiteral("ConnectLMN"), QStringLiteral("WaitSeconds 100000")});
    const QStringList before = lab.journals();
    const auto playing = lab.start(QStringLiteral("Sequa"), {QStringLiteral("long.lsf")});
    const QString playingJournal = lab.awaitNewJournal(before, *playing);
    ASSERT_FALSE(playingJournal.isEmpty());
    const ProgramRun stillPlaying =
        lab.run(QStringLiteral("Sequa"), {QStringLiteral("--resume"), playingJournal});
    EXPECT_EQ(stillPlaying.status, 2);
    EXPECT_TRUE(stillPlaying.err.contains(QStringLiteral("still playing")))
        << qPrintable(stillPlaying.err);
    playing->kill();
    playing->waitForFinished(10000);

    // A killed run is told where it would go on, with nothing written; it
    // then continues, once: the second resume of it is refused.
    const ProgramRun checked = lab.run(
        QStringLiteral("Sequa"), {QStringLiteral("--check"), QStringLiteral("--resume"), killed});
    EXPECT_EQ(checked.status, 0) << qPrintable(checked.err);
    EXPECT_TRUE(checked.out.contains(QStringLiteral("would continue at line 2\n")))
        << qPrintable(checked.out);
    EXPECT_TRUE(checked.out.contains(QStringLiteral("estimated time left 0:00:0")))
        << qPrintable(checked.out);
    EXPECT_FALSE(lab.text(killed).contains(QStringLiteral("Continued by")));
    EXPECT_EQ(lab.run(QStringLiteral("Sequa"), {QStringLiteral("--resume"), killed}).status, 0);
    const ProgramRun again = lab.run(QStringLiteral("Sequa"), {QStringLiteral("--resume"), killed});
    EXPECT_EQ(again.status, 2);
    EXPECT_TRUE(again.err.contains(QStringLiteral("resumed already by"))) << qPrintable(again.err);
}

TEST(NightResumeRefusals, ACheckpointThatDoesNotFitTheScriptIsRefusedByResumeAndCheck)
{
    LabFolder lab;
    const QStringList script{"ConnectLMN",      "DoNumPass 2", "LoopBeg",
                             "SetLivePreset 1", "DoNumPass 3", "LoopBeg",
                             "SetLivePreset 2", "LoopEnd",     "LoopEnd"};
    lab.writeScript(QStringLiteral("nested.lsf"), script);
    const QString sha = QString::fromLatin1(
        QCryptographicHash::hash(script.join(QStringLiteral("\r\n")).toLatin1() + "\r\n",
                                 QCryptographicHash::Sha256)
            .toHex());
    struct Case
    {
        const char *checkpoint;
        const char *reason;
    };
    const Case cases[] = {
        {"line 999; loops -", "its line 999 is no line of the script, which has 9"},
        {"line 4; loops 2:1/2@0/0/0", "loop open at line 2, which is no LoopBeg"},
        {"line 7; loops 3:1/2@0/0/0", "inside the loops at line 3, 6, the checkpoint holds open "
                                      "those at line 3"},
        {"line 7; loops 6:1/3@0/0/0", "holds open those at line 6"},
        {"line 4; loops 3:2/9@0/0/0", "loop at line 3 has 9 passes, where the script's "
                                      "DoNumPass gives 2"},
        {"line 7; loops 3:2/2@0/0/0,6:1/4@0/0/0", "loop at line 6 has 4 passes"},
    };
    for (const Case &c : cases) {
        QFile journal(lab.lab(QStringLiteral("edited.txt")));
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
        journal.write("08:00:00 Run started 2026-12-07 08:00:00, unattended\r\n08:00:00 Script: " +
                      lab.lab(QStringLiteral("nested.lsf")).toLatin1() +
                      "\r\n08:00:00 SHA-256: " + sha.toLatin1() +
                      "\r\n08:00:01 Checkpoint: " + c.checkpoint + "; answers 0; failed 0/0\r\n");
        journal.close();
        const ProgramRun resumed =
            lab.run(QStringLiteral("Sequa"), {QStringLiteral("--resume"), journal.fileName()});
        EXPECT_EQ(resumed.status, 2) << c.checkpoint;
        const ProgramRun checked =
            lab.run(QStringLiteral("Sequa"),
                    {QStringLiteral("--check"), QStringLiteral("--resume"), journal.fileName()});
        EXPECT_EQ(checked.status, 1) << c.checkpoint;
        for (const ProgramRun &run : {resumed, checked})
            EXPECT_TRUE(
                run.err.contains(QStringLiteral("its checkpoint does not fit the script")) &&
                run.err.contains(QLatin1String(c.reason)))
                << c.checkpoint << qPrintable(run.err);
    }
}

TEST(NightResumeFullDisk, PassesWhoseSavesFailedInAResumeArePlayedAgainByRedoFailed)
{
    LabFolder lab;
    QProcessEnvironment env = lab.environment();
    env.insert(QStringLiteral("LUMEN_ANSWERS"), lab.example(QStringLiteral("demo_answers.txt")));
    // The night was killed after its set-up asked for the number of samples.
    QFile script(lab.lab(QStringLiteral("sample_batch.lsf")));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    QFile killed(lab.lab(QStringLiteral("killed.txt")));
    ASSERT_TRUE(killed.open(QIODevice::WriteOnly));
    killed.write("08:00:00 Run started 2026-12-07 08:00:00, unattended\r\n08:00:00 Script: " +
                 script.fileName().toLatin1() + "\r\n08:00:00 SHA-256: " +
                 QCryptographicHash::hash(script.readAll(), QCryptographicHash::Sha256).toHex() +
                 "\r\n08:00:01 Checkpoint: line 15; loops -; answers 1; failed 0/0\r\n");
    killed.close();
    // Files may not grow past 16 KB, as on a full disk: spectra and the archive
    // fail to be written, the journal and the reports still fit.
    QFile fullDisk(lab.lab(QStringLiteral("fulldisk.sh")));
    ASSERT_TRUE(fullDisk.open(QIODevice::WriteOnly));
    fullDisk.write(
        "#!/bin/sh\ntrap '' XFSZ\nulimit -f 32\nexec \"$(dirname \"$0\")/Sequa\" \"$@\"\n");
    fullDisk.setPermissions(fullDisk.permissions() | QFileDevice::ExeOwner);
    fullDisk.close();
    const ProgramRun resumed = lab.run(QStringLiteral("fulldisk.sh"),
                                       {QStringLiteral("--resume"), killed.fileName()}, env);
    ASSERT_EQ(resumed.status, 3) << qPrintable(resumed.err);
    EXPECT_TRUE(currentIds(lab).isEmpty());
    const QString journal = lab.journals().last();
    EXPECT_EQ(lab.text(journal).count(QStringLiteral("Failed pass: ")), 3)
        << qPrintable(lab.text(journal));

    // Space again: the passes are played once more, and nothing else.
    const ProgramRun redone =
        lab.run(QStringLiteral("Sequa"),
                {QStringLiteral("--resume"), journal, QStringLiteral("--redo-failed")}, env);
    EXPECT_EQ(redone.status, 0) << qPrintable(redone.err);
    EXPECT_EQ(currentIds(lab), (QStringList{QStringLiteral("SOIL-001"), QStringLiteral("SOIL-002"),
                                            QStringLiteral("SOIL-003")}));
    EXPECT_EQ(lab.recordCount(), 3);
    for (const char *name : {"SOIL001", "SOIL002", "SOIL003"}) {
        QFile spectrum(lab.lumen(QStringLiteral("Data/%1.Ans").arg(QLatin1String(name))));
        ASSERT_TRUE(spectrum.open(QIODevice::ReadOnly)) << name;
        EXPECT_NO_THROW(lumen::AnsReader::read(spectrum.readAll())) << name;
    }
}

TEST_F(NightResume, KilledAtRandomMomentsEveryNightEndsWholeAfterItsResume)
{
    killAndResume(kMoments, false);
}

TEST_F(NightResume, KilledAtRandomMomentsOverTheBridgeWhileTheHostLivesOn)
{
    killAndResume(kBridgeMoments, true);
}

} // namespace
