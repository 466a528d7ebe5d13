#include "sequa/core/start/UnattendedStart.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/tests/PlayerTestBench.h"

#include <functional>

namespace lumen::sequa::test {
namespace {

/** A second program, not yet connected, started with a script file on its command line. */
class UnattendedStartTest : public PlayerTestBench
{
protected:
    UnattendedStartTest()
        : m_started([this](const QString &) -> std::shared_ptr<HostApp> { return m_recording; })
    {
        m_started.timer().followClock(m_clock);
        m_started.model().setProgramFolder(m_folder.path());
    }

    QString script(const QByteArray &content)
    {
        writeFile(QStringLiteral("run.lsf"), content);
        return file(QStringLiteral("run.lsf"));
    }

    SequaProgram::StartUpOutcome startWith(const QString &commandLine)
    {
        m_started.setUnattendedStart(std::ref(m_start));
        return m_started.startUp(commandLine);
    }

    SequaProgram m_started;
    UnattendedStart m_start;
};

TEST_F(UnattendedStartTest, ASucceedingRunEndsTheProgram)
{
    const QString path = script("ConnectLMN\r\n;measure\r\nStartAcquire\r\n");
    EXPECT_EQ(startWith(path), SequaProgram::StartUpOutcome::EndProgram);
    EXPECT_EQ(m_start.outcome(), UnattendedStart::Outcome::Succeeded);
    EXPECT_TRUE(m_started.model().doNow());
    EXPECT_EQ(m_started.model().scriptText(), "ConnectLMN\r\n;measure\r\nStartAcquire\r\n");
    EXPECT_EQ(m_recording->methods(), (QStringList{"GetLibrary", "StartAcquire"}));
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(UnattendedStartTest, AFailedRunReturnsToStartUpWithImmediateModeChecked)
{
    const QString path = script("ConnectLMN\r\nLoopBeg\r\n");
    EXPECT_EQ(startWith(path), SequaProgram::StartUpOutcome::ShowWindow);
    EXPECT_EQ(m_start.outcome(), UnattendedStart::Outcome::Failed);
    EXPECT_EQ(m_operator.messages(), QStringList{"Loopbeg without LoopEnd"});
    EXPECT_TRUE(m_started.model().doNow());
    EXPECT_EQ(m_started.model().analysisTypes(), kAnalysisTypes) << "start-up went on";
    EXPECT_EQ(m_started.model().statusText(), "Connected to Lumen");
    // File > Exit later gives the run's status, as its journal says, not 0.
    EXPECT_EQ(m_start.windowExitStatus(0), RunRecord::kStopped);
    EXPECT_EQ(UnattendedStart().windowExitStatus(0), 0) << "no script was named";
}

TEST_F(UnattendedStartTest, AnUnreadableFileIsANormalStartUpWithImmediateModeChecked)
{
    EXPECT_EQ(startWith(file(QStringLiteral("no such.lsf"))),
              SequaProgram::StartUpOutcome::ShowWindow);
    EXPECT_EQ(m_start.outcome(), UnattendedStart::Outcome::Unreadable);
    EXPECT_TRUE(m_started.model().doNow());
    EXPECT_TRUE(m_started.model().scriptText().isEmpty());
    EXPECT_TRUE(m_operator.messages().isEmpty()) << "silently";
}

TEST_F(UnattendedStartTest, CommandsBeforeTheFirstConnectLineFailForWantOfAHost)
{
    QString err;
    QTextStream errStream(&err);
    const QString path = script("StartAcquire\r\nConnectLMN\r\nStopAcquire\r\n");
    EXPECT_EQ(UnattendedStart::run(m_started, path, errStream), 3)
        << "ran to its end with an error";
    errStream.flush();
    const QStringList lines = err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << err.toStdString();
    EXPECT_TRUE(lines[0].startsWith("ERROR:   Error: "));
    EXPECT_TRUE(lines[0].endsWith("      COMMAND: StartAcquire"));
    EXPECT_EQ(m_recording->methods(), (QStringList{"GetLibrary", "StopAcquire"}));
}

TEST_F(UnattendedStartTest, WithoutADisplayAFailedRunOrUnreadableFileEndsWithNonZeroStatus)
{
    QString err;
    QTextStream errStream(&err);
    EXPECT_EQ(UnattendedStart::run(m_started, script("ConnectLMN\r\nLoopBeg\r\n"), errStream), 1);
    EXPECT_TRUE(m_started.model().analysisTypes().isEmpty()) << "no start-up for a window";
    EXPECT_EQ(UnattendedStart::run(m_started, file(QStringLiteral("gone.lsf")), errStream), 2);
    errStream.flush();
    EXPECT_TRUE(err.contains("gone.lsf")) << err.toStdString();
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

} // namespace
} // namespace lumen::sequa::test
