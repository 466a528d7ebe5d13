#include "driftlog/core/Verdict.h"

#include "common/core/NumberText.h"

namespace lumen::driftlog {

namespace {
QString number(double value)
{
    return lumen::formatNumber(value, u"#0.0###");
}

QString ruleList(const QList<ControlRule> &rules)
{
    QStringList names;
    for (ControlRule r : rules)
        names << ruleName(r);
    return names.join(QStringLiteral(", "));
}
} // namespace

QString Verdict::headline() const
{
    switch (level) {
    case Level::NoLimitsYet:
        return QStringLiteral("no limits yet");
    case Level::InControl:
        return QStringLiteral("in control");
    case Level::Warning:
        return QStringLiteral("warning: ") + ruleList(rules);
    case Level::Action:
        return QStringLiteral("action: ") + ruleList(rules);
    }
    return QString();
}

QString Verdict::text() const
{
    QStringList parts;
    if (limits) {
        parts << QStringLiteral("mean %1 %2").arg(number(limits->mean), unit)
              << QStringLiteral("warning %1 to %2")
                     .arg(number(limits->warningLow()), number(limits->warningHigh()))
              << QStringLiteral("action %1 to %2")
                     .arg(number(limits->actionLow()), number(limits->actionHigh()));
    } else {
        parts << QStringLiteral("%1 of %2 baseline points")
                     .arg(baselinePoints)
                     .arg(ControlLimits::kBaselinePoints);
    }
    if (tolerance)
        parts << QStringLiteral("tolerance \u00b1%1 %2").arg(number(*tolerance), unit);
    return headline() + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace lumen::driftlog
