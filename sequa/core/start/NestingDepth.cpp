#include "sequa/core/start/NestingDepth.h"

#include <QByteArray>
#include <QtGlobal>

namespace lumen::sequa {

bool NestingDepth::enter()
{
    const QByteArray text = qgetenv(kVariable).trimmed();
    int depth = 0;
    if (!text.isEmpty()) {
        bool ok = false;
        depth = text.toInt(&ok);
        if (!ok || depth < 0)
            return false;
    }
    if (depth >= kMaxLevels)
        return false;
    qputenv(kVariable, QByteArray::number(depth + 1));
    return true;
}

} // namespace lumen::sequa
