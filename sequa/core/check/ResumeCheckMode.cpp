#include "sequa/core/check/ResumeCheckMode.h"

#include "common/core/Failure.h"
#include "common/core/Paths.h"
#include "sequa/core/check/RunEstimate.h"
#include "sequa/core/check/ScriptCheckReport.h"
#include "sequa/core/check/ScriptChecker.h"
#include "sequa/core/check/TrialFindings.h"
#include "sequa/core/recorder/ScriptFile.h"
#include "sequa/core/resume/CheckpointFit.h"
#include "sequa/core/resume/EntryPhase.h"
#include "sequa/core/resume/ResumePlan.h"
#include "sequa/core/run/ClockText.h"
#include "sequa/core/run/ResumeClaim.h"
#include "sequa/core/run/RunJournal.h"

namespace lumen::sequa {

namespace {
/** As --resume refuses a run continued already, from this journal or a copy of it. */
void requireUnclaimed(const QString &journal)
{
    try {
        ResumeClaim::requireUnclaimed(ResumeClaim::sharedFolder(),
                                      ResumeClaim::identityOfFile(journal));
    } catch (const Failure &failure) {
        throw Failure(QStringLiteral("cannot resume %1: %2").arg(journal, failure.description()));
    }
}
} // namespace

int ResumeCheckMode::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2 || args.value(1).isEmpty()) {
        err << "Usage: Sequa --check --resume JOURNAL" << Qt::endl;
        return 2;
    }
    const QString journal = args[1];
    const ScriptCheckPlaces places = ScriptCheckPlaces::ofThisInstallation();
    ResumePlan plan;
    try {
        plan =
            ResumePlan::prepare(journal, joinPath(places.programFolder, RunJournal::kFolderName));
        CheckpointFit::require(plan, journal, ScriptFile::lines(plan.scriptBytes));
        requireUnclaimed(journal);
    } catch (const Failure &failure) {
        err << "Sequa: " << failure.description() << Qt::endl;
        return 1;
    }
    const ScriptChecker::Result checked = ScriptChecker::check(plan.scriptBytes, places);

    const RunEstimate estimate =
        RunEstimate::ofScript(checked.lines, places, ScriptCheckReport::answersGivenAhead(err),
                              CheckClock::Limits(), plan.checkpoint ? &*plan.checkpoint : nullptr);
    // What the resumed run's trial play fails counts as --check counts it.
    const ScriptFindings findings =
        TrialFindings::merged(checked.lines, estimate, checked.findings);
    for (const ScriptFinding &finding : findings)
        out << finding.format(plan.script) << '\n';
    out << journal << ": would continue at "
        << (plan.checkpoint ? EntryPhase::describe(*plan.checkpoint)
                            : QStringLiteral("line 1 (no line was completed)"))
        << '\n';
    out << "estimated time left " << (estimate.complete ? "" : "more than ")
        << clockText(estimate.seconds) << Qt::endl;
    return hasErrors(findings) ? 1 : 0;
}

} // namespace lumen::sequa
