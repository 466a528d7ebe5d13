#include "driftlog/core/StabilityLog.h"

#include "common/core/TextFile.h"

#include <QFileInfo>

namespace lumen::driftlog {

qint64 StabilityLog::size() const
{
    const QFileInfo info(m_path);
    return info.isFile() ? info.size() : 0;
}

QString StabilityLog::lineText(const QString &first, const QString &second)
{
    // A first value that already reaches the column still gets one blank,
    // so the two values never run together.
    QString line = first;
    if (line.size() < kSecondColumn - 1)
        line = line.leftJustified(kSecondColumn - 1, QLatin1Char(' '));
    else
        line += QLatin1Char(' ');
    return line + second;
}

void StabilityLog::startSeries() const
{
    const QString first = lineText(QStringLiteral("0"), QStringLiteral("0"));
    if (isEmpty())
        lumen::textfile::writeLines(m_path, {first});
    else
        lumen::textfile::appendLines(m_path, {first});
}

void StabilityLog::appendLine(const QString &elapsed, const QString &drift) const
{
    lumen::textfile::appendLines(m_path, {lineText(elapsed, drift)});
}

} // namespace lumen::driftlog
