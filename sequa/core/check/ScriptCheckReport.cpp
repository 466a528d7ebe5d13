#include "sequa/core/check/ScriptCheckReport.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"
#include "common/core/TextFile.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/check/RunEstimate.h"
#include "sequa/core/check/ScriptChecker.h"
#include "sequa/core/check/TrialFindings.h"
#include "sequa/core/run/ClockText.h"

namespace lumen::sequa {

ScriptCheckReport ScriptCheckReport::ofScript(const QByteArray &bytes,
                                              const ScriptCheckPlaces &places,
                                              const QStringList &answers)
{
    const ScriptChecker::Result checked = ScriptChecker::check(bytes, places);
    const RunEstimate estimate = RunEstimate::ofScript(checked.lines, places, answers);
    ScriptCheckReport report;
    report.findings = TrialFindings::merged(checked.lines, estimate, checked.findings);
    if (!estimate.complete)
        report.findings.push_back(
            {estimate.stoppedAtLine, ScriptFinding::Severity::Warning,
             QStringLiteral("the trial play gave up here: ") + estimate.stopReason});

    report.estimate = QStringLiteral("estimated run time ") +
                      (estimate.complete ? QString() : QStringLiteral("more than ")) +
                      clockText(estimate.seconds);
    if (estimate.programsCounted == 1)
        report.estimate += QStringLiteral(" (1 external program start counted at its settle only)");
    else if (estimate.programsCounted > 1)
        report.estimate +=
            QStringLiteral(" (%1 external program starts counted at their settle only)")
                .arg(estimate.programsCounted);
    return report;
}

QStringList ScriptCheckReport::answersGivenAhead(QTextStream &err)
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

ScriptCheckReport ScriptCheckReport::ofScriptBox(const MainModel &model)
{
    ScriptCheckPlaces places = ScriptCheckPlaces::ofThisInstallation();
    places.programFolder = model.programFolder();
    // An unreadable answers file leaves each box's default, as --check does;
    // the window has no standard error to say so on.
    QString unsaid;
    QTextStream ignored(&unsaid);
    return ofScript(toCp1252(model.scriptText() + QStringLiteral("\r\n")), places,
                    answersGivenAhead(ignored));
}

} // namespace lumen::sequa
