#include "sequa/core/SequaTexts.h"
#include "sequa/tests/SequaTestBench.h"

namespace lumen::sequa::test {
namespace {

class StartUp : public SequaTestBench
{
protected:
    /** testconnect answers "OK" only once the clock has moved on by `seconds`. */
    void hostReadyAfter(double seconds)
    {
        const QDateTime ready = m_clock.now().addMSecs(qint64(seconds * 1000));
        m_host->testconnect = [this, ready] {
            return m_clock.now() >= ready ? QStringLiteral("OK") : QStringLiteral("Starting");
        };
    }
};

TEST_F(StartUp, FillsTheAnalysisTypesAndLeavesLoading)
{
    bool loadingDuring = false;
    m_host->testconnect = [&] {
        loadingDuring = model().loading();
        return QStringLiteral("OK");
    };
    EXPECT_EQ(m_program->startUp(QString()), SequaProgram::StartUpOutcome::ShowWindow);
    EXPECT_TRUE(loadingDuring);
    EXPECT_FALSE(model().loading());
    EXPECT_EQ(model().analysisTypes(), kAnalysisTypes);
    EXPECT_EQ(model().analysisTypeIndex(), -1);
    EXPECT_EQ(m_identifiers, QStringList{"LmnPro.clsLmn"});
}

TEST_F(StartUp, WithImmediateTestModeOffTheLibraryBoxShowsOk)
{
    model().setUseLibEff(true);
    m_program->startUp(QString());
    EXPECT_EQ(model().statusText(), "Connected to Lumen");
    EXPECT_EQ(model().libraryText(), "OK");
    EXPECT_FALSE(model().useLibEff());
    EXPECT_TRUE(m_host->calls.isEmpty());
    EXPECT_TRUE(model().scriptText().isEmpty()) << "start-up records nothing";
}

TEST_F(StartUp, WithImmediateTestModeOnReadsPrimaryLibraryAndEfficiencies)
{
    model().setDoNow(true);
    m_program->startUp(QString());
    EXPECT_EQ(m_host->calls, QStringList({"setprimary(1)", "GetLibrary", "GetUseLibEff"}));
    EXPECT_EQ(model().libraryText(), "NATURAL.LIB");
    EXPECT_TRUE(model().useLibEff());
    EXPECT_EQ(model().statusText(), "Connected to Lumen");
}

TEST_F(StartUp, WaitsForAHostThatAnswersOnlyAfterTenSeconds)
{
    hostReadyAfter(10.0);
    const QDateTime start = m_clock.now();
    m_program->startUp(QString());
    EXPECT_EQ(model().statusText(), "Connected to Lumen");
    EXPECT_GE(secondsSince(start), 10.0);
    EXPECT_LT(secondsSince(start), 11.0);
}

TEST_F(StartUp, GivesUpAfterFifteenSeconds)
{
    hostReadyAfter(16.0);
    const QDateTime start = m_clock.now();
    m_program->startUp(QString());
    EXPECT_EQ(model().statusText(), "No Connection");
    EXPECT_GE(secondsSince(start), 15.0);
    EXPECT_LT(secondsSince(start), 16.0);
}

TEST_F(StartUp, TheFifteenSecondsDoNotStretchOverMidnight)
{
    m_clock.set(QDateTime(QDate(2026, 1, 15), QTime(23, 59, 55)));
    m_host->testconnect = [] { return QStringLiteral("Starting"); };
    const QDateTime start = m_clock.now();
    m_program->startUp(QString());
    EXPECT_EQ(model().statusText(), "No Connection");
    EXPECT_GE(secondsSince(start), 15.0);
    EXPECT_LT(secondsSince(start), 16.0);
}

TEST_F(StartUp, RepeatsTheLibraryQueriesForTwentySecondsWhenNoNameComesBack)
{
    model().setDoNow(true);
    m_host->library = QString();
    const QDateTime start = m_clock.now();
    m_program->startUp(QString());
    EXPECT_GE(secondsSince(start), 20.0);
    EXPECT_LT(secondsSince(start), 21.0);
    EXPECT_GT(m_host->calls.count("GetLibrary"), 1);
    EXPECT_EQ(m_host->calls.mid(0, 3),
              QStringList({"setprimary(1)", "GetLibrary", "GetUseLibEff"}));
    EXPECT_EQ(model().statusText(), "Connected to Lumen");
}

TEST_F(StartUp, AHostThatCannotBeCreatedLeavesAnErrorInTheStatus)
{
    m_hostFails = true;
    EXPECT_EQ(m_program->startUp(QString()), SequaProgram::StartUpOutcome::ShowWindow);
    EXPECT_EQ(model().statusText(), "Error: Cannot reach the host");
    EXPECT_FALSE(model().loading());
    EXPECT_EQ(model().analysisTypes(), kAnalysisTypes);
}

TEST_F(StartUp, AnOverflowingEfficiencyFlagEndsStartUpWithAnError)
{
    model().setDoNow(true);
    m_host->useLibEff = QStringLiteral("OK99999");
    m_program->startUp(QString());
    EXPECT_EQ(model().statusText(), "Error: Overflow");
    EXPECT_FALSE(model().loading());
}

TEST_F(StartUp, TheUnattendedHookRunsOnlyWithACommandLine)
{
    QStringList seen;
    const bool endProgram = false;
    m_program->setUnattendedStart([&](SequaProgram &program, const QString &commandLine) {
        seen.append(commandLine);
        EXPECT_TRUE(program.model().loading());
        EXPECT_FALSE(program.model().hasHostAppObject()) << "the hook runs before the host exists";
        return endProgram;
    });
    m_program->startUp(QStringLiteral("my script.lsf"));
    EXPECT_EQ(seen, QStringList{"my script.lsf"});
    EXPECT_EQ(model().statusText(), "Connected to Lumen") << "a failed run goes on with start-up";

    m_program->startUp(QString());
    EXPECT_EQ(seen.size(), 1);

    SequaProgram other([](const QString &) { return std::unique_ptr<HostApp>(); });
    other.setUnattendedStart([&](SequaProgram &, const QString &) { return true; });
    EXPECT_EQ(other.startUp(QStringLiteral("a.lsf")), SequaProgram::StartUpOutcome::EndProgram);
    EXPECT_FALSE(other.model().loading());
}

class ConnectMenu : public SequaTestBench
{
};

TEST_F(ConnectMenu, ChecksTheItemAndRecordsConnectLmn)
{
    m_program->connectMenu();
    EXPECT_TRUE(model().connectMenuChecked());
    EXPECT_EQ(model().statusText(), "Connected to Lumen");
    EXPECT_EQ(model().scriptText(), "ConnectLMN\r\n");
}

TEST_F(ConnectMenu, RemovesTheCheckMarkWhenTheHostDoesNotAnswerOrCannotBeMade)
{
    m_program->connectMenu();
    m_host->testconnect = [] { return QStringLiteral("Gone"); };
    m_program->connectMenu();
    EXPECT_FALSE(model().connectMenuChecked());
    EXPECT_EQ(model().statusText(), "No Connection");

    m_program->connectMenu();
    m_hostFails = true;
    m_host->testconnect = [] { return QStringLiteral("OK"); };
    m_program->connectMenu();
    EXPECT_FALSE(model().connectMenuChecked());
    EXPECT_EQ(model().statusText(), "No Connection");
    EXPECT_EQ(model().scriptText(), "ConnectLMN\r\n");
}

} // namespace
} // namespace lumen::sequa::test
