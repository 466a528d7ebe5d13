#include "sequa/core/check/TrialFindings.h"

#include "common/core/FixedText.h"
#include "sequa/core/commands/CommandTable.h"
#include "sequa/core/play/ScriptPlayer.h"

#include <algorithm>
#include <optional>

namespace lumen::sequa {

namespace {

using Severity = ScriptFinding::Severity;

/** Commands whose outcome depends on what the trial play cannot see as a real run will. */
bool readsTheOutside(const QString &line)
{
    static const QStringList keywords = {
        // value files, which an earlier program may write
        QStringLiteral("GetLivePreset"), QStringLiteral("GetID"), QStringLiteral("GetQuantity"),
        QStringLiteral("GetDate"), QStringLiteral("GetTime"), QStringLiteral("GetUnits"),
        QStringLiteral("GetName"), QStringLiteral("GetDTName"), QStringLiteral("GetRprtName"),
        // the host's files: the trial host has none
        QStringLiteral("LoadROIs"), QStringLiteral("LoadConfig"),
        // the operator, outside inputs and programs
        QStringLiteral("AskLivePreset"), QStringLiteral("AskID"), QStringLiteral("AskQuantity"),
        QStringLiteral("AskDate"), QStringLiteral("AskTime"), QStringLiteral("AskUnits"),
        QStringLiteral("AskName"), QStringLiteral("WaitDlg"), QStringLiteral("WaitInput"),
        QStringLiteral("CallExtProg"), QStringLiteral("WaitExtProg"), QStringLiteral("KillFile")};
    if (!ScriptPlayer::isCommandLine(line) || CommandTable::isConnectLine(line))
        return false;
    const CommandRow *row = CommandTable::match(trimBlanks(line));
    return row && keywords.contains(row->keyword);
}

bool hasFinding(const ScriptFindings &findings, int line, std::optional<Severity> severity)
{
    return std::any_of(findings.begin(), findings.end(), [&](const ScriptFinding &f) {
        return f.line == line && (!severity || f.severity == *severity);
    });
}

} // namespace

ScriptFindings TrialFindings::of(const QStringList &lines, const RunEstimate &trial,
                                 const ScriptFindings &known)
{
    ScriptFindings findings;
    int uncertainSince = 0; // the first line failed for reasons outside the script
    for (const RunEstimate::LineFailure &failure : trial.failures) {
        if (hasFinding(known, failure.line, Severity::Error))
            continue;
        const bool outside = readsTheOutside(lines.value(failure.line - 1));
        if (outside && hasFinding(known, failure.line, std::nullopt))
            ; // the warning already there says what the line depends on
        else if (outside)
            findings.push_back({failure.line, Severity::Warning,
                                QStringLiteral("the trial play failed it, which cannot know "
                                               "what a real run reads here: ") +
                                    failure.reply});
        else if (uncertainSince > 0)
            findings.push_back(
                {failure.line, Severity::Warning,
                 QStringLiteral("the trial play failed it after line %1: ").arg(uncertainSince) +
                     failure.reply});
        else
            findings.push_back(
                {failure.line, Severity::Error,
                 QStringLiteral("the run fails it, as the trial play did: ") + failure.reply});
        if (outside && uncertainSince == 0)
            uncertainSince = failure.line;
    }
    return findings;
}

ScriptFindings TrialFindings::merged(const QStringList &lines, const RunEstimate &trial,
                                     const ScriptFindings &known)
{
    ScriptFindings findings = known;
    const ScriptFindings played = of(lines, trial, known);
    findings.insert(findings.end(), played.begin(), played.end());
    std::stable_sort(
        findings.begin(), findings.end(),
        [](const ScriptFinding &a, const ScriptFinding &b) { return a.line < b.line; });
    return findings;
}

} // namespace lumen::sequa
