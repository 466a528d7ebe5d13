#include "driftlog/core/StabilityLog.h"

#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/TextFile.h"

#include <QFileInfo>
#include <cmath>

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

namespace {
bool startsSeries(const DriftPoint &p)
{
    return p.minutes == 0 && p.drift == 0.0;
}
} // namespace

std::optional<DriftPoint> StabilityLog::parseLine(const QString &line)
{
    const QString trimmed = lumen::trimBlanks(line);
    const qsizetype gap = trimmed.indexOf(QLatin1Char(' '));
    if (gap < 0)
        return std::nullopt;
    const QStringView first = QStringView(trimmed).left(gap);
    const QStringView second = QStringView(trimmed).mid(gap + 1);
    if (!lumen::isNumberText(first) || !lumen::isNumberText(second))
        return std::nullopt;
    const double minutes = lumen::numericValue(first);
    const double drift = lumen::numericValue(second);
    // No real drift comes near the bound; it keeps the chart's sums and
    // squares finite whatever a damaged log holds.
    constexpr double kLargestDrift = 1e9;
    if (!(minutes >= -2147483648.0 && minutes <= 2147483647.0) ||
        !(std::fabs(drift) <= kLargestDrift))
        return std::nullopt;
    return DriftPoint{qint32(minutes), drift};
}

DriftSeries StabilityLog::lastSeries() const
{
    if (!QFileInfo::exists(m_path))
        return {};
    DriftSeries series;
    for (const QString &line : lumen::textfile::readLines(m_path)) {
        const auto point = parseLine(line);
        if (!point)
            continue;
        if (startsSeries(*point))
            series.clear();
        else
            series << *point;
    }
    return series;
}

void StabilityLog::startSeries() const
{
    const QString first = lineText(QStringLiteral("0"), QStringLiteral("0"));
    // Appended even to an empty log: two first runs at once must not replace
    // each other's lines, as a rewrite of the file would.
    if (!isEmpty()) {
        const QStringList lines = lumen::textfile::readLines(m_path);
        const auto last = lines.isEmpty() ? std::nullopt : parseLine(lines.last());
        if (last && startsSeries(*last))
            return;
    }
    lumen::textfile::appendLines(m_path, {first});
}

void StabilityLog::appendLine(const QString &elapsed, const QString &drift) const
{
    lumen::textfile::appendLines(m_path, {lineText(elapsed, drift)});
}

} // namespace lumen::driftlog
