#pragma once

#include "sequa/core/commands/CommandRegistry.h"

#include <QHash>
#include <QString>
#include <functional>

namespace lumen::sequa {

class MainModel;

/**
 * Command execution: DispatchCommand turns one line into one CommandReply,
 * ExecuteCommandLine runs a line, shows its outcome and records it. Every
 * built command group is registered on construction.
 */
class CommandRunner
{
public:
    explicit CommandRunner(MainModel &model);

    /**
     * Runs the line, shows the outcome (status box; errors in a message box,
     * or while playing in the message panel for at least 16 ticks and in the
     * run log; a beep), appends the trimmed line to the script when `record`
     * is set, and returns true when the reply was an error. `line` is
     * replaced by its trimmed form.
     */
    bool ExecuteCommandLine(QString &line, bool record);
    /** Convenience for callers that hold the line in a temporary. */
    bool ExecuteCommandLine(const QString &line, bool record);

    /**
     * Executes one command and returns its reply. With Immediate Test Mode
     * off nothing runs and the reply is "OK". `line` is replaced by its
     * trimmed form once the connection check has passed. A line during
     * which a stop signal came (StopFlag) and that did not answer "OK" was
     * cut short: it stops the run and answers "Wait ended: " + the reason.
     */
    QString DispatchCommand(QString &line);

    /** True when a reply means success: its first two characters are "OK". */
    static bool isSuccess(const QString &reply);

    /**
     * Lines of the playing script (by number) that hold characters outside
     * Windows-1252, with those characters described: each is answered with an error
     * instead of running, since its text would reach files and fields changed.
     */
    void setLinesOutsideCodePage(QHash<qint16, QString> lines)
    {
        m_outsideCodePage = std::move(lines);
    }

    /** Told the reply of every line a playing script runs, by line number (the trial play). */
    using LineAnswered = std::function<void(qint16 line, const QString &reply)>;
    void setLineAnswered(LineAnswered told) { m_lineAnswered = std::move(told); }

    MainModel &model() { return m_model; }
    CommandRegistry &registry() { return m_registry; }

    /**
     * The run of another process that holds the host, when the model's runs
     * are exclusive and none of its own plays; empty when none does.
     */
    QString hostHeldElsewhere() const;

private:
    QString dispatchLine(QString &line);
    QString runMatched(QString &line);

    MainModel &m_model;
    CommandRegistry m_registry;
    QHash<qint16, QString> m_outsideCodePage;
    LineAnswered m_lineAnswered;
};

} // namespace lumen::sequa
