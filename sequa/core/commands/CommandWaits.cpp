#include "sequa/core/commands/CommandWaits.h"

#include "common/core/Clock.h"
#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Operator.h"
#include "common/core/ProcessLauncher.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/commands/ProgramStatus.h"
#include "sequa/core/commands/RunProvenance.h"
#include "sequa/core/run/DayStopwatch.h"
#include "sequa/core/run/HostHold.h"
#include "sequa/core/run/QualityGate.h"
#include "sequa/core/run/RunJournal.h"
#include "sequa/core/run/RunPause.h"
#include "sequa/core/run/RunRecord.h"

#include <cmath>

namespace lumen::sequa {

namespace {

const QString kOk = QStringLiteral("OK");
const QString kReachedPreset = QStringLiteral("Reached Preset");
// What the host answers while no acquisition runs and no preset was reached.
const QString kNotAcquiring = QStringLiteral("Stopped");
// A poll is also due once the time of day has moved on this many times the
// poll interval: then no timer drives TickCount and the wait would hang.
constexpr double kStalledTimerFactor = 4.0;

/** Waiting and the frames for the length of one wait. */
class WaitFrame
{
public:
    explicit WaitFrame(MainModel &model) : m_model(model)
    {
        m_model.setWaiting(true);
        m_model.EnableCommandFrames(false);
    }
    ~WaitFrame()
    {
        m_model.setWaiting(false);
        m_model.runProgress().waitEnded();
        // In immediate use ExecuteCommandLine enables the frames afterwards.
        if (m_model.playing())
            m_model.EnableCommandFrames(true);
    }
    WaitFrame(const WaitFrame &) = delete;
    WaitFrame &operator=(const WaitFrame &) = delete;

private:
    MainModel &m_model;
};

std::int32_t wholeSecondsOfDay()
{
    return static_cast<std::int32_t>(roundHalfEven(currentClock().secondsSinceMidnight()));
}

} // namespace

const QString CommandWaits::kPresetFailure =
    QStringLiteral("Wait Preset could not get acquisition status");

CommandWaits::CommandWaits(CommandRunner &runner, MainModel &model)
    : m_runner(runner), m_model(model)
{
}

bool CommandWaits::pollDue(std::int32_t mark, std::int32_t ticks, double secondsSinceMark) const
{
    const double stalledAfter = kStalledTimerFactor * (ticks + 1) * MainModel::kTickMs / 1000.0;
    return m_model.ticksSince(mark) > ticks || secondsSinceMark >= stalledAfter;
}

void CommandWaits::waitOnTimeOfDay(double seconds)
{
    DayStopwatch stopwatch;
    while (stopwatch.elapsed() < seconds && !stopped())
        pumpEventsWhileWaiting();
}

bool CommandWaits::stopped() const
{
    return m_model.runRecord().stopRequested();
}

QString CommandWaits::stoppedReply() const
{
    return QStringLiteral("Wait ended: ") + m_model.runRecord().stopReason();
}

QString CommandWaits::WaitForSeconds(std::int32_t seconds)
{
    WaitFrame frame(m_model);
    // 64-bit sums: a huge count of seconds must not overflow the end mark.
    qint64 start = wholeSecondsOfDay();
    qint64 highest = start;
    qint64 end = start + seconds;
    qint64 now = start;
    while (now < end) {
        if (stopped())
            return stoppedReply();
        m_model.runProgress().showSecondsLeft(end - now);
        // The countdown holds with the run and goes on with what it had left.
        if (m_model.playing() && RunPause(m_model.runRecord(), m_model.runProgress()).hold()) {
            const qint64 left = end - now;
            start = highest = now = wholeSecondsOfDay();
            end = now + left;
            continue;
        }
        pumpEventsWhileWaiting();
        now = wholeSecondsOfDay();
        if (now > highest)
            highest = now;
        if (now < start) { // midnight has passed: what is left counts from now on
            end -= highest;
            start = now;
            highest = now;
        }
    }
    return kOk;
}

QString CommandWaits::WaitForPreset()
{
    bool failed = false;
    {
        WaitFrame frame(m_model);
        m_model.runProgress().presetWaitStarted();
        std::int32_t mark = m_model.tickCount();
        DayStopwatch sincePoll;
        int idlePollsInARow = 0;
        for (;;) {
            if (stopped())
                return stoppedReply();
            if (pollDue(mark, kPresetPollTicks, sincePoll.elapsed())) {
                if (m_runner.ExecuteCommandLine(QStringLiteral("GetAcqStatus"), false)) {
                    failed = true;
                    break;
                }
                if (m_model.hasHostAppObject())
                    m_model.runProgress().readPresetElapsed(m_model.hostAppObject());
                if (m_model.statusText() == kReachedPreset)
                    break;
                // Nothing acquires, so the preset can never be reached; in the
                // window the operator can still start it or end the wait.
                idlePollsInARow =
                    trimBlanks(m_model.statusText()) == kNotAcquiring ? idlePollsInARow + 1 : 0;
                if (idlePollsInARow >= kPresetIdlePolls && m_model.runRecord().unattended())
                    return QStringLiteral(
                               "Error: WaitPreset gave up: no acquisition ran in %1 polls "
                               "in a row")
                        .arg(kPresetIdlePolls);
                mark = m_model.tickCount();
                sincePoll.restart();
            }
            pumpEventsWhileWaiting();
        }
        if (!failed)
            waitOnTimeOfDay(kPresetTailSeconds);
    }
    if (failed) {
        currentOperator().messageBox(kPresetFailure, kProgramTitle, MessageButtons::Ok);
        return kPresetFailure;
    }
    return kOk;
}

QString CommandWaits::WaitForInput(std::int16_t input, std::int16_t state)
{
    // Any other state could never be seen, and the wait would never end.
    if (state != 0 && state != 1)
        throw Failure(QStringLiteral("WaitInput state must be 0 or 1, not %1").arg(state));
    const QString poll = QStringLiteral("GetExtIn") + numberToText(input);
    const QString wanted = state == 1 ? QStringLiteral("1") : QStringLiteral("0");
    WaitFrame frame(m_model);
    std::int32_t mark = m_model.tickCount();
    DayStopwatch sincePoll;
    int failuresInARow = 0;
    for (;;) {
        if (stopped())
            return stoppedReply();
        if (pollDue(mark, kInputPollTicks, sincePoll.elapsed())) {
            // A failing poll is shown like any error and the wait goes on,
            // unless the host is gone or nobody is there to end the wait.
            const bool failed = m_runner.ExecuteCommandLine(poll, false);
            if (m_model.statusText() == kNoConnection)
                return kNoConnection;
            failuresInARow = failed ? failuresInARow + 1 : 0;
            if (failuresInARow >= kInputPollFailures && m_model.runRecord().unattended())
                return QStringLiteral("Error: WaitInput gave up after %1 failed polls in a row")
                    .arg(kInputPollFailures);
            if (trimBlanks(m_model.statusText()) == wanted)
                break;
            mark = m_model.tickCount();
            sincePoll.restart();
        }
        pumpEventsWhileWaiting();
    }
    return kOk;
}

QString CommandWaits::RunProgramAndWait(const QString &commandLine)
{
    ProcessLauncher &launcher = currentLauncher();
    const QualityGate gate = QualityGate::fromEnvironment();
    RunProvenance::exportFor(m_model);
    const qint64 pid = [&] {
        const HostLending lent(true);
        return launcher.start(commandLine, true);
    }();
    waitOnTimeOfDay(kProgramSettleSeconds);
    // Also a program that ended during the settle: its status still counts.
    const ProcessEnd end = launcher.waitForEnd(pid, [this] { return stopped(); });
    RunRecord &record = m_model.runRecord();
    if (!end.ended && ProgramStatus::failed(commandLine, end) && m_model.playing())
        record.noteFailedProgram(m_model.currentLine());
    if (RunJournal *journal = record.journal())
        journal->write(QStringLiteral("Line %1: the program \"%2\" ended: %3")
                           .arg(m_model.currentLine())
                           .arg(commandLine, ProgramStatus::describe(commandLine, end)));
    const QString reply = end.ended || stopped() ? stoppedReply() : kOk;
    // The run stops before its next line; the line's own reply stays as designed.
    if (!end.ended && end.how == ProcessEnd::How::Exited && gate.stops(end.code) &&
        m_model.playing())
        record.requestQualityStop(QualityGate::reason(commandLine, end.code));
    return reply;
}

} // namespace lumen::sequa
