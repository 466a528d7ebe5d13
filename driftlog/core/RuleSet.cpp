#include "driftlog/core/RuleSet.h"

#include "common/core/Failure.h"

#include <QRegularExpression>
#include <QStringList>

namespace lumen::driftlog {

namespace {
constexpr ControlRule kChoosable[] = {
    ControlRule::Beyond3s,   ControlRule::Beyond2s, ControlRule::Two2s, ControlRule::Range4s,
    ControlRule::TenOneSide, ControlRule::Ewma,     ControlRule::Cusum};
} // namespace

RuleSet RuleSet::all()
{
    RuleSet set;
    for (ControlRule r : kChoosable)
        set.m_bits |= bit(r);
    return set;
}

RuleSet RuleSet::parse(const QString &text)
{
    RuleSet set;
    const QStringList words =
        text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        bool known = false;
        for (ControlRule r : kChoosable) {
            if (word.compare(ruleName(r), Qt::CaseInsensitive) == 0) {
                set.m_bits |= bit(r);
                known = true;
            }
        }
        if (!known)
            throw lumen::Failure(
                QStringLiteral("unknown rule \"%1\" (known: 1-3s 1-2s 2-2s R-4s 10-x ewma cusum)")
                    .arg(word));
    }
    if (words.isEmpty())
        throw lumen::Failure(QStringLiteral("no rule named"));
    return set;
}

} // namespace lumen::driftlog
