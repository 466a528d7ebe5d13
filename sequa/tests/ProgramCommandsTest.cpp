#include "common/core/ProcessLauncher.h"
#include "sequa/tests/CommandsTestBench.h"

namespace lumen::sequa::test {
namespace {

/** Records the programs started; each runs for `runningPolls` isRunning questions. */
class RecordingLauncher : public ProcessLauncher
{
public:
    struct Start
    {
        QString commandLine;
        bool minimized;
    };
    QList<Start> starts;
    QList<qint64> waitedFor;
    bool fails = false;
    bool running = true;

    qint64 start(const QString &commandLine, bool minimized) override
    {
        if (fails)
            throw Failure(QStringLiteral("File not found: ") +
                          splitCommandLine(commandLine).value(0));
        starts.append({commandLine, minimized});
        return 4000 + starts.size();
    }
    ProcessEnd waitForEnd(qint64 pid, const std::function<bool()> &) override
    {
        waitedFor.append(pid);
        return {ProcessEnd::How::Exited, 0};
    }
    bool isRunning(qint64) const override { return running; }
};

class ProgramCommandsTest : public CommandsTestBench
{
protected:
    ProgramCommandsTest() { setCurrentLauncher(&m_launcher); }
    ~ProgramCommandsTest() override { setCurrentLauncher(nullptr); }

    RecordingLauncher m_launcher;
};

TEST_F(ProgramCommandsTest, BlankCommandLinesAreToldAndOnlyCallExtProgFails)
{
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("CallExtProg   "), false));
    EXPECT_EQ(model().statusText(), "Command line is blank!!!");
    EXPECT_FALSE(runner().ExecuteCommandLine(QStringLiteral("WaitExtProg"), false));
    EXPECT_FALSE(runner().ExecuteCommandLine(QStringLiteral("KillFile "), false));
    EXPECT_EQ(m_operator.messages(),
              QStringList({"Command line is blank!!!",
                           "ERROR:   Command line is blank!!!\r\nCOMMAND: CallExtProg",
                           "Command line is blank!!!", "Command line is blank!!!"}));
    EXPECT_TRUE(m_launcher.starts.isEmpty());
}

TEST_F(ProgramCommandsTest, CallExtProgStartsInANormalWindowAndGoesOn)
{
    EXPECT_EQ(run(QStringLiteral("CallExtProg  Ledgerly APPEND ")), "OK");
    ASSERT_EQ(m_launcher.starts.size(), 1);
    EXPECT_EQ(m_launcher.starts[0].commandLine, "Ledgerly APPEND");
    EXPECT_FALSE(m_launcher.starts[0].minimized);
    EXPECT_TRUE(m_launcher.waitedFor.isEmpty());

    m_launcher.fails = true;
    EXPECT_EQ(run(QStringLiteral("CallExtProg nothere")), "Error: File not found: nothere");
}

TEST_F(ProgramCommandsTest, WaitExtProgStartsMinimisedSettlesThenWaitsForTheEnd)
{
    const QDateTime start = m_clock.now();
    EXPECT_EQ(run(QStringLiteral("WaitExtProg Driftlog GAIN")), "OK");
    ASSERT_EQ(m_launcher.starts.size(), 1);
    EXPECT_TRUE(m_launcher.starts[0].minimized);
    EXPECT_GE(secondsSince(start), 5.0);
    EXPECT_LT(secondsSince(start), 5.5);
    EXPECT_EQ(m_launcher.waitedFor, QList<qint64>{4001});

    m_launcher.running = false; // ended during the first five seconds: only its status is asked
    EXPECT_EQ(run(QStringLiteral("WaitExtProg Driftlog KEV")), "OK");
    EXPECT_EQ(m_launcher.waitedFor.size(), 2);
}

TEST_F(ProgramCommandsTest, WaitExtProgReturnsOnlyAfterARealProgramEnded)
{
    setCurrentLauncher(nullptr);
    const QString done = file(QStringLiteral("done.txt"));
    EXPECT_EQ(run(QStringLiteral("WaitExtProg /bin/sh -c \"sleep 0.3; echo end > ") + done +
                  QStringLiteral("\"")),
              "OK");
    EXPECT_TRUE(QFile::exists(done));
}

TEST_F(ProgramCommandsTest, KillFileDeletesWhatThePatternNamesAndIgnoresTheRest)
{
    QDir dir(m_folder.path());
    for (const char *name : {"a.txt", "c.dat", "run1", "keep.txt.bak"})
        writeFile(QString::fromLatin1(name), "x");
    dir.mkdir(QStringLiteral("sub.txt"));

    EXPECT_EQ(run(QStringLiteral("KillFile ") + file(QStringLiteral("*.txt"))), "OK");
    EXPECT_EQ(dir.entryList(QDir::Files, QDir::Name),
              QStringList({"c.dat", "keep.txt.bak", "run1"}));
    EXPECT_TRUE(dir.exists(QStringLiteral("sub.txt"))) << "folders are never deleted";

    EXPECT_EQ(run(QStringLiteral("KillFile c.dat")), "OK") << "in the program folder";
    EXPECT_EQ(run(QStringLiteral("KillFile c.dat")), "OK") << "nothing left to delete";
    EXPECT_EQ(run(QStringLiteral("KillFile ru?1")), "OK");
    EXPECT_EQ(dir.entryList(QDir::Files), QStringList{"keep.txt.bak"});
    EXPECT_EQ(run(QStringLiteral("KillFile /no/such/folder/*.*")), "OK");
    EXPECT_EQ(run(QStringLiteral("KillFile *.*")), "OK");
    EXPECT_TRUE(dir.entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(m_operator.messages().isEmpty());
}

TEST_F(ProgramCommandsTest, KillFileDeletesExactlyWhatThePathNames)
{
    struct Case
    {
        const char *pattern;
        QStringList left; ///< of the files below
    };
    const QStringList files = {"a[1].txt", "a1.txt", ".hidden.txt", "B.TXT", "ab"};
    const Case cases[] = {
        {"a[1].txt", {".hidden.txt", "B.TXT", "a1.txt", "ab"}}, // brackets are plain characters
        {"a?.txt", {".hidden.txt", "B.TXT", "a[1].txt", "ab"}},
        {"*.txt", {".hidden.txt", "B.TXT", "ab"}}, // hidden only for a dot pattern; case kept
        {".*", {"B.TXT", "a1.txt", "a[1].txt", "ab"}},
        {"b.txt", {".hidden.txt", "B.TXT", "a1.txt", "a[1].txt", "ab"}},
        {"a*", {".hidden.txt", "B.TXT"}},
        {"*.*", {".hidden.txt"}},
    };
    QDir dir(m_folder.path());
    for (const Case &c : cases) {
        for (const QString &name : files)
            writeFile(name, "x");
        EXPECT_EQ(run(QStringLiteral("KillFile ") + QString::fromLatin1(c.pattern)), "OK");
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden, QDir::Name), c.left) << c.pattern;
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
            dir.remove(name);
    }
}

} // namespace
} // namespace lumen::sequa::test
