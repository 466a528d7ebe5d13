#include "sequa/core/check/ScriptFinding.h"

#include <algorithm>

namespace lumen::sequa {

QString ScriptFinding::format(const QString &scriptName) const
{
    const QString where = line > 0 ? QStringLiteral("%1:%2").arg(scriptName).arg(line) : scriptName;
    const QString kind =
        severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
    return where + QStringLiteral(": ") + kind + QStringLiteral(": ") + text;
}

bool hasErrors(const ScriptFindings &findings)
{
    return std::any_of(findings.begin(), findings.end(), [](const ScriptFinding &f) {
        return f.severity == ScriptFinding::Severity::Error;
    });
}

} // namespace lumen::sequa
