#include "sequa/core/check/ScriptCheckMode.h"

#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "common/core/TextFile.h"
#include "sequa/core/check/RunEstimate.h"
#include "sequa/core/check/ScriptChecker.h"
#include "sequa/core/check/TrialFindings.h"
#include "sequa/core/run/ClockText.h"

namespace lumen::sequa {

QStringList ScriptCheckMode::answersGivenAhead(QTextStream &err)
{
    const QString path = qEnvironmentVariable("LUMEN_ANSWERS");
    if (path.isEmpty())
        return {};
    try {
        return textfile::readLines(path);
    } catch (const Failure &failure) {
        err << "Sequa: LUMEN_ANSWERS: " << failure.description()
            << " (the trial play takes each box's default)" << Qt::endl;
        return {};
    }
}

int ScriptCheckMode::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2 || args.value(1).isEmpty()) {
        err << "Usage: Sequa --check SCRIPT.lsf" << Qt::endl;
        return 2;
    }
    const QString name = args[1];
    QByteArray bytes;
    try {
        bytes = outsidefile::read(name, outsidefile::kTextCap);
    } catch (const Failure &failure) {
        err << name << ": error: cannot read the script: " << failure.description() << Qt::endl;
        return 1;
    }

    const ScriptCheckPlaces places = ScriptCheckPlaces::ofThisInstallation();
    const ScriptChecker::Result checked = ScriptChecker::check(bytes, places);
    const RunEstimate estimate =
        RunEstimate::ofScript(checked.lines, places, answersGivenAhead(err));
    const ScriptFindings findings =
        TrialFindings::merged(checked.lines, estimate, checked.findings);
    for (const ScriptFinding &finding : findings)
        out << finding.format(name) << '\n';

    if (!estimate.complete)
        out << ScriptFinding{estimate.stoppedAtLine, ScriptFinding::Severity::Warning,
                             QStringLiteral("the trial play gave up here: ") + estimate.stopReason}
                   .format(name)
            << '\n';
    out << "estimated run time " << (estimate.complete ? "" : "more than ")
        << clockText(estimate.seconds);
    if (estimate.programsCounted == 1)
        out << " (1 external program start counted at its settle only)";
    else if (estimate.programsCounted > 1)
        out << " (" << estimate.programsCounted
            << " external program starts counted at their settle only)";
    out << Qt::endl;
    return hasErrors(findings) ? 1 : 0;
}

} // namespace lumen::sequa
