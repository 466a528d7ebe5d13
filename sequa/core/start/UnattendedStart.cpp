#include "sequa/core/start/UnattendedStart.h"

#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "sequa/core/HostSettings.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/play/ScriptPlayer.h"
#include "sequa/core/recorder/ScriptFile.h"
#include "sequa/core/resume/CheckpointFit.h"
#include "sequa/core/resume/ResumePlan.h"
#include "sequa/core/run/QualityGate.h"
#include "sequa/core/run/RunJournal.h"

#include <functional>
#include <optional>

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
        // Never "Resumes:": a refused resume continued nothing, and must not
        // stop the journal from being resumed once the reason is dealt with.
        journal.write((resuming() ? QStringLiteral("Resume of: ") : QStringLiteral("Script: ")) +
                      path);
        journal.write(QStringLiteral("Error: ") + reason);
        journal.write(QStringLiteral("Outcome: nothing was played"));
        journal.write(QStringLiteral("Exit status: %1").arg(m_exitStatus));
        m_journalPath = journal.path();
    } catch (const Failure &) {
        // Nothing ran; the reason still reaches the caller.
    }
    return m_endOnFailure;
}

bool UnattendedStart::keepGate(const ResumePlan &plan)
{
    const bool unset = qEnvironmentVariableIsEmpty(QualityGate::kVariable);
    if (unset && !plan.qualityGate.isEmpty())
        qputenv(QualityGate::kVariable, plan.qualityGate.toLatin1());
    if (!plan.gateStop.isEmpty())
        standardError() << "Sequa: " << plan.journal << ": " << plan.gateStop
                        << "; the resume plays under the quality gate "
                        << qEnvironmentVariable(QualityGate::kVariable) << Qt::endl;
    return unset && !plan.qualityGate.isEmpty();
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
    std::optional<ResumePlan> plan;
    m_script = commandLine;
    if (resuming()) {
        try {
            plan = ResumePlan::prepare(m_resumeJournal,
                                       joinPath(model.programFolder(), RunJournal::kFolderName),
                                       m_redoFailed);
            CheckpointFit::require(*plan, m_resumeJournal, ScriptFile::lines(plan->scriptBytes));
        } catch (const Failure &failure) {
            return refuse(program, Outcome::Refused, m_resumeJournal, failure.description());
        }
        m_script = plan->script;
        bytes = plan->scriptBytes;
    } else {
        try {
            // The whole command line is the file name, unchanged.
            bytes = ScriptFile::read(commandLine);
        } catch (const Failure &failure) {
            return refuse(program, Outcome::Unreadable, commandLine, failure.description());
        }
    }
    try {
        HostSettings::check();
        QualityGate::fromEnvironment();
    } catch (const Failure &failure) {
        return refuse(program, Outcome::Refused, m_script, failure.description());
    }
    const ScriptFile::Boxed boxed = ScriptFile::intoBox(ScriptFile::lines(bytes));
    if (boxed.cut) {
        // Playing the part that fits and calling it success would hide the rest.
        return refuse(program, Outcome::Refused, m_script,
                      QStringLiteral("the script is longer than the script box holds (%1 "
                                     "characters): the box ends at line %2")
                          .arg(MainModel::kScriptCapacity)
                          .arg(boxed.linesTaken));
    }
    model.setScriptText(boxed.text);

    ScriptPlayer player(model, program.runner());
    player.setSource(m_script, bytes);
    if (plan)
        player.setResume(*plan);
    const bool gateKept = plan && keepGate(*plan);
    model.runRecord().setUnattended(true);
    const bool failed = player.PlayScript(model.scriptText());
    if (gateKept)
        qunsetenv(QualityGate::kVariable);
    // Runs from the window that may open now have an operator again.
    model.runRecord().setUnattended(false);
    m_exitStatus = player.exitStatus();
    m_journalPath = player.journalPath();
    m_outcome = failed ? Outcome::Failed : Outcome::Succeeded;
    if (!player.refusal().isEmpty()) {
        m_outcome = Outcome::Refused;
        m_reason = player.refusal();
    }
    // Whoever stopped the run wants it over, not the window after another
    // wait for the host.
    return !failed || m_endOnFailure || model.runRecord().stopRequested();
}

int UnattendedStart::run(SequaProgram &program, const QString &commandLine, QTextStream &err,
                         const QString &resumeJournal, bool redoFailed)
{
    UnattendedStart start(true);
    start.resumeFrom(resumeJournal);
    start.setRedoFailed(redoFailed);
    program.setUnattendedStart(std::ref(start));
    program.model().setRunLogEcho(&err);
    program.startUp(commandLine);
    program.model().setRunLogEcho(nullptr);
    program.setUnattendedStart({});

    const QString journal = start.journalPath().isEmpty()
                                ? QString()
                                : QStringLiteral(" (journal: %1)").arg(start.journalPath());
    const QString script = start.m_script.isEmpty() ? commandLine : start.m_script;
    switch (start.outcome()) {
    case Outcome::Succeeded:
        if (start.exitStatus() != RunRecord::kCompleted)
            err << "Sequa: the script " << script << ": "
                << program.model().runRecord().outcomeText(false) << journal << Qt::endl;
        return start.exitStatus();
    case Outcome::Failed:
        err << "Sequa: the script " << script
            << " did not run to its end: " << program.model().runRecord().outcomeText(true)
            << journal << Qt::endl;
        return start.exitStatus();
    case Outcome::Unreadable:
        err << "Sequa: cannot read the script " << start.reason() << journal << Qt::endl;
        return RunRecord::kNotPlayed;
    case Outcome::Refused:
        if (start.resuming() && script == commandLine) {
            err << "Sequa: " << start.reason() << "; nothing was played" << journal << Qt::endl;
            return RunRecord::kNotPlayed;
        }
        err << "Sequa: the script " << script
            << " is refused, nothing was played: " << start.reason() << journal << Qt::endl;
        return RunRecord::kNotPlayed;
    case Outcome::NotStarted:
        break;
    }
    err << "Sequa: no script named" << Qt::endl;
    return RunRecord::kNotPlayed;
}

} // namespace lumen::sequa
