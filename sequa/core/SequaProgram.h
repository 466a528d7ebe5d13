#pragma once

#include "sequa/core/MainModel.h"
#include "sequa/core/QuarterSecondTimer.h"
#include "sequa/core/commands/CommandRunner.h"

#include <QString>
#include <functional>

namespace lumen::sequa {

/**
 * The program behind the main window: its state, command execution, the
 * timer, start-up and the Connect menu. The window and an unattended run both
 * sit on top of it.
 */
class SequaProgram
{
public:
    enum class StartUpOutcome
    {
        ShowWindow,
        EndProgram
    };
    /** Runs a script named on the command line; returns true when the program should end. */
    using UnattendedStart = std::function<bool(SequaProgram &program, const QString &commandLine)>;

    /** Seconds start-up keeps asking testconnect before giving up. */
    static constexpr double kConnectWaitSeconds = 15.0;
    /** Seconds start-up repeats its library queries when no library name came back. */
    static constexpr double kLibraryRetrySeconds = 20.0;

    explicit SequaProgram(MainModel::HostFactory hostFactory);

    MainModel &model() { return m_model; }
    CommandRunner &runner() { return m_runner; }
    QuarterSecondTimer &timer() { return m_timer; }

    /** The hook for a script named on the command line (none: start-up goes on). */
    void setUnattendedStart(UnattendedStart hook) { m_unattendedStart = std::move(hook); }

    /**
     * Start-up of the main window: the unattended start when `commandLine` is
     * not empty, the analysis types, HostAppObject, waiting up to 15 seconds
     * for testconnect, then the primary spectrum, library and library
     * efficiency flag.
     */
    StartUpOutcome startUp(const QString &commandLine);

    /** The Connect menu item "Lumen ": connect, check mark, record "ConnectLMN". */
    void connectMenu();

private:
    void connectAtStartUp();
    void readLibrarySettings();

    MainModel m_model;
    CommandRunner m_runner;
    QuarterSecondTimer m_timer;
    UnattendedStart m_unattendedStart;
};

} // namespace lumen::sequa
