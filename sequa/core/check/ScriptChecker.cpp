#include "sequa/core/check/ScriptChecker.h"

#include "sequa/core/check/ScriptArgumentCheck.h"
#include "sequa/core/check/ScriptFlowCheck.h"
#include "sequa/core/check/ScriptTextCheck.h"

#include <algorithm>

namespace lumen::sequa {

ScriptChecker::Result ScriptChecker::check(const QByteArray &bytes, const ScriptCheckPlaces &places)
{
    ScriptTextCheck::Result text = ScriptTextCheck::check(bytes);
    const ScriptArgumentCheck arguments(places);
    ScriptFindings flow = ScriptFlowCheck::check(text.lines, arguments);

    Result result{text.lines, std::move(text.findings)};
    result.findings.insert(result.findings.end(), flow.begin(), flow.end());
    std::stable_sort(
        result.findings.begin(), result.findings.end(),
        [](const ScriptFinding &a, const ScriptFinding &b) { return a.line < b.line; });
    return result;
}

} // namespace lumen::sequa
