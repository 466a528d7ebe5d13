#include "simhost/HostFaults.h"

#include "common/core/Failure.h"

namespace lumen {

HostFaults HostFaults::parse(const QString &text)
{
    HostFaults faults;
    for (const QString &rawItem : text.split(u';', Qt::SkipEmptyParts)) {
        const QString item = rawItem.trimmed();
        if (item.isEmpty())
            continue;
        const qsizetype eq = item.indexOf(u'=');
        const QString key = (eq < 0 ? item : item.left(eq)).trimmed().toLower();
        const QString value = eq < 0 ? QString() : item.mid(eq + 1);
        bool ok = true;
        if (key == QLatin1String("connect-never")) {
            faults.connectNever = true;
        } else if (key == QLatin1String("connect-after")) {
            faults.connectAfterSeconds = value.trimmed().toDouble(&ok);
        } else if (key == QLatin1String("gone-after")) {
            faults.goneAfterCalls = value.trimmed().toInt(&ok);
        } else if (key == QLatin1String("error") || key == QLatin1String("slow")) {
            const qsizetype colon = value.indexOf(u':');
            ok = colon > 0;
            if (ok) {
                const QString method = value.left(colon).trimmed();
                const QString rest = value.mid(colon + 1);
                if (key == QLatin1String("error"))
                    faults.errorReplies.insert(method, rest);
                else
                    faults.slowReplies.insert(method, rest.trimmed().toInt(&ok));
            }
        } else {
            ok = false;
        }
        if (!ok)
            throw Failure(QStringLiteral("Unknown host fault: ") + item);
    }
    return faults;
}

} // namespace lumen
