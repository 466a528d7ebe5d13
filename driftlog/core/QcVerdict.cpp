#include "driftlog/core/QcVerdict.h"

#include <QStringList>
#include <algorithm>

namespace lumen::driftlog {

QString QcVerdict::headline() const
{
    QStringList actions;
    QStringList warnings;
    for (const Verdict &v : verdicts)
        for (ControlRule r : v.rules)
            (isActionRule(r) ? actions : warnings) << v.quantity + QLatin1Char(' ') + ruleName(r);
    QStringList parts;
    if (!actions.isEmpty())
        parts << QStringLiteral("action: ") + actions.join(QStringLiteral(", "));
    if (!warnings.isEmpty())
        parts << QStringLiteral("warning: ") + warnings.join(QStringLiteral(", "));
    if (!parts.isEmpty())
        return parts.join(QStringLiteral("; "));
    const bool anyLimits = std::any_of(verdicts.begin(), verdicts.end(), [](const Verdict &v) {
        return v.level != Verdict::Level::NoLimitsYet;
    });
    return anyLimits ? QStringLiteral("in control") : QStringLiteral("no limits yet");
}

int QcVerdict::exitStatus() const
{
    int status = 0;
    for (const Verdict &v : verdicts)
        status = std::max(status, v.exitStatus());
    return status;
}

const Verdict *QcVerdict::drift() const
{
    for (const Verdict &v : verdicts)
        if (v.quantity == QLatin1String("drift"))
            return &v;
    return nullptr;
}

} // namespace lumen::driftlog
