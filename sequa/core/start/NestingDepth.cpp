#include "sequa/core/start/NestingDepth.h"

#include <QByteArray>
#include <QtGlobal>

namespace lumen::sequa {

NestingDepth::Entry NestingDepth::enter()
{
    const QByteArray text = qgetenv(kVariable).trimmed();
    int depth = 0;
    if (!text.isEmpty()) {
        bool ok = false;
        depth = text.toInt(&ok);
        if (!ok || depth < 0)
            return Entry::Unreadable;
    }
    if (depth >= kMaxLevels)
        return Entry::TooDeep;
    qputenv(kVariable, QByteArray::number(depth + 1));
    return Entry::Entered;
}

QString NestingDepth::refusal(Entry entry)
{
    if (entry == Entry::Unreadable)
        return QStringLiteral("%1 cannot be read as a number of levels: \"%2\"")
            .arg(QLatin1String(kVariable), QString::fromLocal8Bit(qgetenv(kVariable)));
    return QStringLiteral("started %1 levels deep by Sequa scripts (%2)")
        .arg(kMaxLevels)
        .arg(QLatin1String(kVariable));
}

} // namespace lumen::sequa
