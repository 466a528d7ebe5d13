// A run holds its host and claims the run it resumes, against other processes.
#include "common/testsupport/SizeLimit.h"
#include "sequa/core/CreateHostAppObject.h"
#include "sequa/core/resume/ResumePlan.h"
#include "sequa/core/run/HostHold.h"
#include "sequa/core/run/ResumeClaim.h"
#include "sequa/core/run/RunJournal.h"
#include "sequa/tests/PlayerTestBench.h"
#include "simhost/testsupport/ServedHost.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace lumen::sequa::test {
namespace {

const QString kHolder = QStringLiteral(
    "Sequa run of journal /lab/journal/a.txt (process 1, started 2026-12-08 22:00:00)");

/** Another process holding the host until it is killed, as a crash would end it. */
class OtherProcessHold
{
public:
    OtherProcessHold()
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            HostHold hold(kHolder);
            [[maybe_unused]] const auto n = ::write(ready[1], "h", 1);
            ::pause();
            ::_exit(0);
        }
        char c = 0;
        [[maybe_unused]] const auto n = ::read(ready[0], &c, 1);
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~OtherProcessHold() { crash(); }
    void crash()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

class HeldHostTest : public PlayerTestBench
{
protected:
    HeldHostTest() : m_oldRoot(qgetenv("LUMEN_ROOT"))
    {
        qputenv("LUMEN_ROOT", file(QStringLiteral("root")).toLocal8Bit());
        qunsetenv("LUMEN_HOST");
    }
    ~HeldHostTest() override
    {
        qunsetenv(HostHold::kLentVariable);
        if (m_oldRoot.isNull())
            qunsetenv("LUMEN_ROOT");
        else
            qputenv("LUMEN_ROOT", m_oldRoot);
    }
    /** A journal of `entries`, each an entry's text. */
    QString journal(const QString &name, const QStringList &entries)
    {
        QByteArray bytes;
        for (const QString &entry : entries)
            bytes += "22:00:00 " + entry.toLatin1() + "\r\n";
        writeFile(name, bytes);
        return file(name);
    }
    QString refusalOf(const std::function<void()> &step)
    {
        try {
            step();
        } catch (const Failure &failure) {
            return failure.description();
        }
        return QString();
    }

    QByteArray m_oldRoot;
};

TEST_F(HeldHostTest, AnotherProcessHoldsTheHostUntilItEnds)
{
    auto other = std::make_unique<OtherProcessHold>();
    EXPECT_EQ(HostHold::heldBy(), kHolder);
    EXPECT_EQ(refusalOf([] { HostHold mine(QStringLiteral("me")); }),
              "The host is held by " + kHolder);

    model().setExclusiveRuns(true);
    EXPECT_EQ(run(QStringLiteral("Beep")), "No Connection") << "an immediate command";
    EXPECT_TRUE(m_operator.messages().value(0).endsWith("REASON:  The host is held by " + kHolder));
    m_program->connectMenu();
    EXPECT_FALSE(model().connectMenuChecked());
    EXPECT_EQ(model().noConnectionReason(), "The host is held by " + kHolder);
    ScriptPlayer refused(model(), runner());
    EXPECT_TRUE(refused.PlayScript(QStringLiteral("Beep")));
    EXPECT_EQ(refused.exitStatus(), RunRecord::kNotPlayed);
    EXPECT_TRUE(journalText().contains("Error: The host is held by " + kHolder));
    EXPECT_FALSE(journalText().contains("Line 1"));

    qputenv(HostHold::kLentVariable, kHolder.toUtf8());
    EXPECT_EQ(refusalOf([] { HostHold child(kHolder); }), "") << "lent to a run it waits for";
    qunsetenv(HostHold::kLentVariable);

    other->crash();
    EXPECT_EQ(HostHold::heldBy(), "");
    EXPECT_EQ(refusalOf([] { HostHold mine(QStringLiteral("me")); }), "");
    EXPECT_EQ(run(QStringLiteral("Beep")), "OK");
}

TEST_F(HeldHostTest, AWindowRunOverABridgeIsNotRefusedByTheWindowsOwnConnection)
{
    SimulatedHostSettings settings;
    settings.reportPath = file(QStringLiteral("RESULTS.TXT"));
    settings.dataFolder = settings.printFolder = file(QStringLiteral("data"));
    lumen::test::ServedHost bridge(settings);
    qputenv("LUMEN_HOST",
            QStringLiteral("tcp://127.0.0.1:%1").arg(bridge.startServing()).toLatin1());
    model().setHostFactory(&createHostAppObject);
    model().setExclusiveRuns(true);
    model().createHostAppObject();
    ASSERT_EQ(model().hostAppObject().testconnect(), "OK") << "the window connected at start-up";
    ScriptPlayer player(model(), runner());
    EXPECT_FALSE(player.PlayScript(QStringLiteral("Beep")));
    EXPECT_EQ(player.exitStatus(), RunRecord::kCompleted) << journalText().toStdString();
    qunsetenv("LUMEN_HOST");
}

TEST_F(HeldHostTest, ARunIsClaimedOnceWhateverItsJournalIsCalled)
{
    const QString claims = file(QStringLiteral("claims"));
    const QString played = journal(QStringLiteral("b.txt"), {"Run started", "Exit status: 1"});
    const QString refused = journal(QStringLiteral("c.txt"), {"Run started", "Exit status: 2"});
    const QString killed = journal(QStringLiteral("d.txt"), {"Run started", "Line 1: Beep -> OK"});
    struct Case
    {
        QString claimant;
        QString refusal; ///< empty: the claim is taken
    } cases[] = {
        {refused, ""},
        {refused, ""}, // the same journal claiming again
        {played, ""},  // the claim of a run that played nothing is free
        {killed, "it was continued already by " + played},
        {file(QStringLiteral("e.txt")), "it was continued already by " + played},
    };
    for (const Case &c : cases)
        EXPECT_EQ(
            refusalOf([&] { ResumeClaim::claim(claims, QStringLiteral("run-1"), c.claimant); }),
            c.refusal)
            << c.claimant.toStdString();
    EXPECT_EQ(refusalOf([&] { ResumeClaim::claim(claims, QStringLiteral("run-2"), killed); }), "");
    EXPECT_EQ(refusalOf([&] { ResumeClaim::claim(claims, QStringLiteral("run-2"), played); }),
              "it was continued already by " + killed)
        << "a killed continuation still continues the run";
}

TEST_F(HeldHostTest, ARunsIdentityIsItsIdEntryOrItsOpening)
{
    const QByteArray head =
        "22:00:00 Run started 2026-12-08 22:00:00\r\n22:00:00 Script: /a.lsf\r\n"
        "22:00:00 SHA-256: 00\r\n";
    const QByteArray later = "22:00:05 Line 1: Beep -> OK\r\n";
    EXPECT_EQ(ResumeClaim::identityOf(head), ResumeClaim::identityOf(head + later));
    EXPECT_NE(ResumeClaim::identityOf(head),
              ResumeClaim::identityOf(QByteArray(head).replace("22:00:00\r\n", "22:00:01\r\n")));
    EXPECT_EQ(ResumeClaim::identityOf(head + "22:00:00 Run id: 1f-2e\r\n" + later), "1f-2e");
    EXPECT_NE(ResumeClaim::newIdentity(), ResumeClaim::newIdentity());
}

TEST_F(HeldHostTest, JournalNamesSortInTheOrderRunsBegan)
{
    const QDateTime second(QDate(2026, 12, 8), QTime(22, 0, 0));
    QStringList made;
    for (int i = 0; i < 3; ++i)
        made.append(QFileInfo(RunJournal(m_folder.path(), second).path()).fileName());
    // A simulated host's clock set back: its run still comes after the others.
    writeFile(QStringLiteral("journal/2030-01-01_000000.txt"), "");
    made.append(QStringLiteral("2030-01-01_000000.txt"));
    made.append(QFileInfo(RunJournal(m_folder.path(), second).path()).fileName());
    QStringList sorted = made;
    sorted.sort();
    EXPECT_EQ(sorted, made);
    EXPECT_EQ(made.value(0), "2026-12-08_220000.txt");
}

TEST_F(HeldHostTest, AJournalThatCannotBeWrittenPlaysNothing)
{
    const QString status = lumen::test::underSizeLimit(0, [&] {
        ScriptPlayer player(model(), runner());
        player.PlayScript(QStringLiteral("Beep"));
        throw Failure(QString::number(player.exitStatus()));
    });
    EXPECT_EQ(status, "2") << "nothing was played";
}

TEST_F(HeldHostTest, ARefusedRunsJournalIsToldAsRefused)
{
    const QString folder = file(QStringLiteral("journal"));
    RunJournal::writeRefusal(m_folder.path(), QStringLiteral("/a.lsf"), QStringLiteral("why"), 2);
    const QString writtenRefusal = QDir(folder).entryInfoList(QDir::Files).value(0).filePath();
    const QString heldHost = journal(
        QStringLiteral("held.txt"),
        {"Run started 2026-12-08 22:00:00, unattended", "Script: /a.lsf", "SHA-256: 00",
         "Error: The host is held by " + kHolder, "Outcome: nothing was played", "Exit status: 2"});
    for (const QString &refused : {writtenRefusal, heldHost})
        EXPECT_TRUE(refusalOf([&] {
                        ResumePlan::prepare(refused, folder);
                    }).endsWith("its run was refused and played nothing; play the script itself"))
            << refused.toStdString();
}

TEST_F(HeldHostTest, APlayingRunKeepsABridgesHoldAndJournalsWhyItLostTheHost)
{
    struct KeptHost : lumen::test::TestHost
    {
        int keepAlives = 0;
        void keepAlive() override { ++keepAlives; }
    };
    auto host = std::make_shared<KeptHost>();
    model().setHostFactory([host](const QString &) { return host; });
    model().createHostAppObject();
    for (const bool playing : {false, true}) {
        model().setPlaying(playing);
        for (int i = 0; i < MainModel::kKeepAliveTicks; ++i)
            model().onTick();
    }
    model().setPlaying(false);
    EXPECT_EQ(host->keepAlives, 1) << "once a minute, and only while a run plays";

    host->connectReply = [] { return QStringLiteral("No connection: the bridge at h:1 refused"); };
    EXPECT_TRUE(play({"Beep"}));
    EXPECT_TRUE(journalText().contains("No Connection: No connection: the bridge at h:1 refused"))
        << journalText().toStdString();
}

} // namespace
} // namespace lumen::sequa::test
