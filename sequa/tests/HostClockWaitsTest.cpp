#include "common/core/ScaledClock.h"
#include "sequa/core/check/CountingLauncher.h"
#include "sequa/tests/CommandsTestBench.h"

namespace lumen::sequa::test {
namespace {

constexpr double kSpeed = 600.0;

/** The program on a host clock 600 times as fast as the fake clock, which stands for real time. */
class HostClockWaitsTest : public CommandsTestBench
{
protected:
    HostClockWaitsTest()
    {
        m_clock.setStepMs(1);
        setCurrentClock(&m_hostClock);
        m_program->timer().followClock(m_clock, kSpeed);
        setCurrentLauncher(&m_launcher);
    }
    ~HostClockWaitsTest() override
    {
        setCurrentLauncher(nullptr);
        setCurrentClock(&m_clock);
    }

    ScaledClock m_hostClock{m_clock, QDateTime(QDate(2026, 1, 15), QTime(9, 0, 0)), kSpeed};
    CountingLauncher m_launcher;
};

TEST_F(HostClockWaitsTest, EveryWaitLastsItsTimeOnTheHostClockAndASixHundredthOfItInRealTime)
{
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Reached Preset");
    const struct
    {
        const char *line;
        double hostSeconds;
    } waits[] = {
        {"WaitSeconds 60", 60.0},
        {"WaitPreset", 1.25 + 2.0}, // the first poll after more than four ticks, then the tail
        {"WaitExtProg Ledgerly APPEND", 5.0},
        {"ShowMsgdone", 1.5}, // more than five ticks
    };
    for (const auto &wait : waits) {
        const QDateTime hostStart = m_hostClock.now();
        const QDateTime realStart = m_clock.now();
        EXPECT_EQ(run(QString::fromLatin1(wait.line)), "OK") << wait.line;
        const double host = hostStart.msecsTo(m_hostClock.now()) / 1000.0;
        // A pump is 0.6 s of the host clock: two of them of slack.
        EXPECT_NEAR(host, wait.hostSeconds, 1.2) << wait.line;
        EXPECT_NEAR(secondsSince(realStart), host / kSpeed, 0.002) << wait.line;
    }
}

} // namespace
} // namespace lumen::sequa::test
