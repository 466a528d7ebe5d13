#include "sequa/tests/CommandsTestBench.h"

namespace lumen::sequa::test {
namespace {

class WaitCommandsTest : public CommandsTestBench
{
protected:
    QStringList argsOfInputs() const
    {
        QStringList inputs;
        for (const HostCall &call : m_recording->callsOf(QStringLiteral("GetExtInput")))
            inputs.append(call.args);
        return inputs;
    }
};

TEST_F(WaitCommandsTest, WaitSecondsZeroOrLessReturnsAtOnce)
{
    const QDateTime start = m_clock.now();
    EXPECT_EQ(run(QStringLiteral("WaitSeconds 0")), "OK");
    EXPECT_EQ(run(QStringLiteral("WaitSeconds-3")), "OK");
    EXPECT_LT(secondsSince(start), 0.2);
    EXPECT_FALSE(model().waiting());
    EXPECT_TRUE(model().commandFramesEnabled());
}

TEST_F(WaitCommandsTest, WaitSecondsAcrossMidnightStillWaitsItsLength)
{
    m_clock.set(QDateTime(QDate(2026, 1, 15), QTime(23, 59, 57, 600)));
    const QDateTime start = m_clock.now();
    EXPECT_EQ(run(QStringLiteral("WaitSeconds 5")), "OK");
    EXPECT_GE(secondsSince(start), 4.0);
    EXPECT_LE(secondsSince(start), 6.5);

    m_clock.set(QDateTime(QDate(2026, 1, 16), QTime(10, 0, 0)));
    const QDateTime day = m_clock.now();
    run(QStringLiteral("WaitSeconds 3"));
    EXPECT_NEAR(secondsSince(day), 3.0, 0.5) << "whole seconds of the day, rounded";
}

TEST_F(WaitCommandsTest, WaitPresetReachedAtTheFirstPollAddsTheTwoSecondTail)
{
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Reached Preset");
    bool waitingDuringPoll = false;
    bool framesDuringPoll = true;
    m_recording->onCall = [&](const HostCall &) {
        waitingDuringPoll = model().waiting();
        framesDuringPoll = model().commandFramesEnabled();
    };
    const QDateTime start = m_clock.now();
    EXPECT_EQ(run(QStringLiteral("WaitPreset")), "OK");
    EXPECT_NEAR(secondsSince(start), 1.25 + 2.0, 0.3);
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size(), 1);
    EXPECT_TRUE(waitingDuringPoll);
    EXPECT_FALSE(framesDuringPoll);
    EXPECT_FALSE(model().waiting());
    EXPECT_TRUE(model().commandFramesEnabled());
}

TEST_F(WaitCommandsTest, WaitPresetPollsTheSimulatedHostUntilThePreset)
{
    SimulatedHost &host = useSimulatedHost(1024);
    run(QStringLiteral("SetRealPreset 3"));
    run(QStringLiteral("PresetsOn"));
    run(QStringLiteral("StartAcquire"));
    alsoOnAdvance([&](qint64 ms) { host.advanceClock(ms / 1000.0); });
    const QDateTime start = m_clock.now();
    EXPECT_EQ(run(QStringLiteral("WaitPreset")), "OK");
    EXPECT_GE(secondsSince(start), 3.0 + 2.0);
    EXPECT_LE(secondsSince(start), 3.0 + 1.3 + 2.1);
    EXPECT_EQ(run(QStringLiteral("GetAcqStatus")), "Reached Preset");
}

TEST_F(WaitCommandsTest, WaitPresetEndsAtTheFirstFailedPoll)
{
    m_recording->onCall = [](const HostCall &call) {
        if (call.method == "GetAcquireStatus")
            throw Failure(QStringLiteral("The host application is not running"));
    };
    EXPECT_TRUE(runner().ExecuteCommandLine(QStringLiteral("WaitPreset"), false));
    EXPECT_EQ(model().statusText(), "Wait Preset could not get acquisition status");
    EXPECT_EQ(m_operator.messages(),
              QStringList({"ERROR:   Error: The host application is not running\r\n"
                           "COMMAND: GetAcqStatus",
                           "Wait Preset could not get acquisition status",
                           "ERROR:   Wait Preset could not get acquisition status\r\n"
                           "COMMAND: WaitPreset"}));
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size(), 1);
    EXPECT_FALSE(model().waiting());
}

TEST_F(WaitCommandsTest, WaitInputPollsEveryTwoTicksUntilTheState)
{
    m_recording->replyQueue[QStringLiteral("GetExtInput")] = {
        QStringLiteral("No input"), QStringLiteral("OK0"), QStringLiteral("OK 1 ")};
    QList<qint32> ticks;
    m_recording->onCall = [&](const HostCall &) { ticks.append(model().tickCount()); };
    EXPECT_EQ(run(QStringLiteral("WaitInput 2,1")), "OK");
    ASSERT_EQ(ticks.size(), 3);
    EXPECT_EQ(ticks[1] - ticks[0], 2);
    EXPECT_EQ(ticks[2] - ticks[1], 2);
    EXPECT_EQ(argsOfInputs(), QStringList({"2", "2", "2"}));
    // A failing poll is shown with the line that was polled, and the wait went on.
    EXPECT_EQ(m_operator.messages(), QStringList{"ERROR:   No input\r\nCOMMAND: GetExtIn 2"});
}

TEST_F(WaitCommandsTest, WaitInputForStateZeroAgainstTheSimulatedHost)
{
    SimulatedHost &host = useSimulatedHost(1024);
    host.setExternalInput(1, true);
    int advances = 0;
    alsoOnAdvance([&](qint64) {
        if (++advances == 40)
            host.setExternalInput(1, false);
    });
    EXPECT_EQ(run(QStringLiteral("WaitInput1,0")), "OK");
    EXPECT_GE(advances, 40);
    EXPECT_LE(advances, 52);
}

TEST_F(WaitCommandsTest, WaitInputRefusesAStateItCouldNeverSee)
{
    EXPECT_EQ(reply(QStringLiteral("WaitInput 1,2")),
              "Error: WaitInput state must be 0 or 1, not 2");
    EXPECT_TRUE(m_recording->calls.isEmpty());
    EXPECT_FALSE(model().waiting());
}

TEST_F(WaitCommandsTest, ShowMsgShowsThePanelForSixTicksAndWaitDlgAsks)
{
    QStringList panel;
    QObject::connect(&model(), &MainModel::messagePanelChanged, [&] {
        panel.append(model().messagePanelShown() ? model().messagePanelText() : "<hidden>");
    });
    const qint32 startTick = model().tickCount();
    EXPECT_EQ(run(QStringLiteral("ShowMsg Sample in place")), "OK");
    EXPECT_GE(model().ticksSince(startTick), 6);
    EXPECT_LE(model().ticksSince(startTick), 7);
    EXPECT_EQ(panel, QStringList({" Sample in place", "<hidden>"}));

    EXPECT_EQ(run(QStringLiteral("ShowMsg")), "OK") << "an empty panel";
    EXPECT_EQ(panel.mid(2), QStringList({"", "<hidden>"}));

    EXPECT_EQ(run(QStringLiteral("WaitDlgChange the sample")), "OK");
    ASSERT_FALSE(m_operator.prompts().isEmpty());
    EXPECT_EQ(m_operator.prompts().last().text, "Change the sample");
    EXPECT_EQ(m_operator.prompts().last().title, "Sequa");
}

} // namespace
} // namespace lumen::sequa::test
