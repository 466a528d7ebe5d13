#include "sequa/core/check/ResumeCheckMode.h"

#include "common/core/Failure.h"
#include "common/core/Paths.h"
#include "common/core/TextFile.h"
#include "sequa/core/check/RunEstimate.h"
#include "sequa/core/check/ScriptChecker.h"
#include "sequa/core/check/TrialFindings.h"
#include "sequa/core/resume/EntryPhase.h"
#include "sequa/core/resume/ResumePlan.h"
#include "sequa/core/run/ClockText.h"
#include "sequa/core/run/RunJournal.h"

#include <algorithm>

namespace lumen::sequa {

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
    } catch (const Failure &failure) {
        err << "Sequa: " << failure.description() << Qt::endl;
        return 1;
    }
    const ScriptChecker::Result checked = ScriptChecker::check(plan.scriptBytes, places);

    QStringList answers;
    if (const QString path = qEnvironmentVariable("LUMEN_ANSWERS"); !path.isEmpty()) {
        try {
            answers = textfile::readLines(path);
        } catch (const Failure &failure) {
            err << "Sequa: LUMEN_ANSWERS: " << failure.description() << Qt::endl;
        }
    }
    const RunEstimate estimate =
        RunEstimate::ofScript(checked.lines, places, answers, CheckClock::Limits(),
                              plan.checkpoint ? &*plan.checkpoint : nullptr);
    // What the resumed run's trial play fails counts as --check counts it.
    ScriptFindings findings = checked.findings;
    const ScriptFindings played = TrialFindings::of(checked.lines, estimate, checked.findings);
    findings.insert(findings.end(), played.begin(), played.end());
    std::stable_sort(
        findings.begin(), findings.end(),
        [](const ScriptFinding &a, const ScriptFinding &b) { return a.line < b.line; });
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
