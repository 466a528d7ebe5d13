#include "sequa/core/start/UnattendedStart.h"

#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "sequa/core/HostSettings.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/play/ScriptPlayer.h"
#include "sequa/core/recorder/ScriptFile.h"
#include "sequa/core/run/QualityGate.h"
#include "sequa/core/run/RunJournal.h"

#include <functional>

namespace lumen::sequa {

bool UnattendedStart::refuse(SequaProgram &program, Outcome outcome, const QString &path,
                             const QString &reason)
{
    m_outcome = outcome;
    m_reason = reason;
    m_exitStatus = RunRecord::kNotPlayed;
    // A refused run is a run too: the lab sees in the journal why nothing happened.
    try {
        const QDateTime now = currentClock().now();
        RunJournal journal(program.model().programFolder(), now);
        journal.write(QStringLiteral("Run refused ") +
                      now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                      QStringLiteral(", unattended"));
        journal.write(QStringLiteral("Script: ") + path);
        journal.write(QStringLiteral("Error: ") + reason);
        journal.write(QStringLiteral("Outcome: nothing was played"));
        journal.write(QStringLiteral("Exit status: %1").arg(m_exitStatus));
        m_journalPath = journal.path();
    } catch (const Failure &) {
        // Nothing ran; the reason still reaches the caller.
    }
    return m_endOnFailure;
}

int UnattendedStart::windowExitStatus(int windowStatus) const
{
    if (windowStatus != 0 || m_outcome == Outcome::NotStarted)
        return windowStatus;
    return m_exitStatus;
}

bool UnattendedStart::operator()(SequaProgram &program, const QString &commandLine)
{
    MainModel &model = program.model();
    model.setDoNow(true);

    QByteArray bytes;
    try {
        // The whole command line is the file name, unchanged.
        bytes = ScriptFile::read(commandLine);
    } catch (const Failure &failure) {
        return refuse(program, Outcome::Unreadable, commandLine, failure.description());
    }
    try {
        HostSettings::check();
        QualityGate::fromEnvironment();
    } catch (const Failure &failure) {
        return refuse(program, Outcome::Refused, commandLine, failure.description());
    }
    const ScriptFile::Boxed boxed = ScriptFile::intoBox(ScriptFile::lines(bytes));
    if (boxed.cut) {
        // Playing the part that fits and calling it success would hide the rest.
        return refuse(program, Outcome::Refused, commandLine,
                      QStringLiteral("the script is longer than the script box holds (%1 "
                                     "characters): the box ends at line %2")
                          .arg(MainModel::kScriptCapacity)
                          .arg(boxed.linesTaken));
    }
    model.setScriptText(boxed.text);

    ScriptPlayer player(model, program.runner());
    player.setSource(commandLine, bytes);
    model.runRecord().setUnattended(true);
    const bool failed = player.PlayScript(model.scriptText());
    // Runs from the window that may open now have an operator again.
    model.runRecord().setUnattended(false);
    m_exitStatus = player.exitStatus();
    m_journalPath = player.journalPath();
    m_outcome = failed ? Outcome::Failed : Outcome::Succeeded;
    // Whoever stopped the run wants it over, not the window after another
    // wait for the host.
    return !failed || m_endOnFailure || model.runRecord().stopRequested();
}

int UnattendedStart::run(SequaProgram &program, const QString &commandLine, QTextStream &err)
{
    UnattendedStart start(true);
    program.setUnattendedStart(std::ref(start));
    program.model().setRunLogEcho(&err);
    program.startUp(commandLine);
    program.model().setRunLogEcho(nullptr);
    program.setUnattendedStart({});

    const QString journal = start.journalPath().isEmpty()
                                ? QString()
                                : QStringLiteral(" (journal: %1)").arg(start.journalPath());
    switch (start.outcome()) {
    case Outcome::Succeeded:
        if (start.exitStatus() != RunRecord::kCompleted)
            err << "Sequa: the script " << commandLine << ": "
                << program.model().runRecord().outcomeText(false) << journal << Qt::endl;
        return start.exitStatus();
    case Outcome::Failed:
        err << "Sequa: the script " << commandLine
            << " did not run to its end: " << program.model().runRecord().outcomeText(true)
            << journal << Qt::endl;
        return start.exitStatus();
    case Outcome::Unreadable:
        err << "Sequa: cannot read the script " << start.reason() << journal << Qt::endl;
        return RunRecord::kNotPlayed;
    case Outcome::Refused:
        err << "Sequa: the script " << commandLine
            << " is refused, nothing was played: " << start.reason() << journal << Qt::endl;
        return RunRecord::kNotPlayed;
    case Outcome::NotStarted:
        break;
    }
    err << "Sequa: no script named" << Qt::endl;
    return RunRecord::kNotPlayed;
}

} // namespace lumen::sequa
