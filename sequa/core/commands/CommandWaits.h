#pragma once

#include <QString>
#include <cstdint>

namespace lumen::sequa {

class CommandRunner;
class MainModel;

/**
 * The waits of the wait commands and of WaitExtProg. Each pumps window
 * events while it waits, so the timer, repaints, the message panel and the
 * script buttons keep working. WaitForSeconds, WaitForPreset and
 * WaitForInput set Waiting and disable the command frames meanwhile.
 */
class CommandWaits
{
public:
    /** Ticks that must pass between two acquisition-status polls: more than 4. */
    static constexpr std::int32_t kPresetPollTicks = 4;
    /** Seconds WaitForPreset goes on waiting once the preset is reached. */
    static constexpr double kPresetTailSeconds = 2.0;
    /** Ticks that must pass between two input polls: more than 1. */
    static constexpr std::int32_t kInputPollTicks = 1;
    /** Seconds RunProgramAndWait lets a started program settle before waiting for its end. */
    static constexpr double kProgramSettleSeconds = 5.0;

    /** Failed polls in a row after which WaitInput gives up in an unattended run. */
    static constexpr int kInputPollFailures = 10;
    /** Polls in a row answered "no acquisition runs" after which WaitPreset gives up unattended. */
    static constexpr int kPresetIdlePolls = 10;

    static const QString kPresetFailure;

    CommandWaits(CommandRunner &runner, MainModel &model);

    /**
     * Waits on the time of day in whole seconds, across midnight. A pause of
     * the run holds the countdown, which then goes on with what it had left.
     */
    QString WaitForSeconds(std::int32_t seconds);
    /**
     * Polls GetAcqStatus until it shows "Reached Preset", then waits 2 s more.
     * An unattended run gives up after ten polls in a row that say no
     * acquisition runs ("Stopped"), with an "Error: " reply.
     */
    QString WaitForPreset();
    /**
     * Polls "GetExtIn" + input until the status box shows the state (0 or 1).
     * A poll answered "No Connection" ends the wait with that reply (the run
     * then stops); an unattended run also gives up after ten failed polls in a row.
     */
    QString WaitForInput(std::int16_t input, std::int16_t state);
    /**
     * Starts the program minimised, lets it settle 5 seconds, then waits for
     * its end. The window keeps answering meanwhile: events are pumped. How
     * the program ended goes into the run's journal, and a failure into the
     * run's record. A stop ends the settle and the program at once and gives
     * "Wait ended: " + the reason; otherwise "OK".
     */
    QString RunProgramAndWait(const QString &commandLine);

private:
    /** True once more than `ticks` ticks passed since `mark`, or the timer seems stalled. */
    bool pollDue(std::int32_t mark, std::int32_t ticks, double secondsSinceMark) const;
    /** Waits on the time of day; ends at once when the run is stopped. */
    void waitOnTimeOfDay(double seconds);
    bool stopped() const;
    QString stoppedReply() const;

    CommandRunner &m_runner;
    MainModel &m_model;
};

} // namespace lumen::sequa
