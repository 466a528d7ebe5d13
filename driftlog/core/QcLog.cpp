#include "driftlog/core/QcLog.h"

#include "common/core/CsvText.h"
#include "common/core/NumberText.h"
#include "common/core/TextFile.h"

#include <QFileInfo>
#include <QStringList>
#include <cmath>

namespace lumen::driftlog {

namespace {
constexpr int kFields = 10;

QString number(double value)
{
    return QString::number(value, 'g', 7);
}

QString optionalNumber(const std::optional<double> &value)
{
    return value ? number(*value) : QString();
}

std::optional<double> fieldValue(const QString &field, bool *bad)
{
    if (field.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e12) {
        *bad = true;
        return std::nullopt;
    }
    return v;
}
} // namespace

QString QcLog::header()
{
    return QStringLiteral("date_time,minutes,centre_keV,drift_percent,drift_keV,fwhm_keV,"
                          "net_area,live_time_s,count_rate_cps,decay_corrected_rate_cps");
}

QString QcLog::rowText(const QcRecord &r)
{
    const QStringList fields{lumen::csvtext::field(r.dateTime),
                             QString::number(r.minutes),
                             lumen::shortDoubleText(r.centre),
                             number(r.driftPercent),
                             lumen::shortSingleText(r.driftKeV),
                             optionalNumber(r.fwhm),
                             optionalNumber(r.netArea),
                             optionalNumber(r.liveTime),
                             optionalNumber(r.rate),
                             optionalNumber(r.correctedRate)};
    return fields.join(QLatin1Char(','));
}

std::optional<QcRecord> QcLog::parseRow(const QString &line)
{
    // The program writes no quoted field; a line that needs one is not its own.
    const QStringList f = line.split(QLatin1Char(','));
    if (f.size() != kFields || f[0].contains(QLatin1Char('"')))
        return std::nullopt;
    bool bad = false;
    QcRecord r;
    r.dateTime = f[0];
    const auto minutes = fieldValue(f[1], &bad);
    const auto centre = fieldValue(f[2], &bad);
    const auto percent = fieldValue(f[3], &bad);
    const auto keV = fieldValue(f[4], &bad);
    r.fwhm = fieldValue(f[5], &bad);
    r.netArea = fieldValue(f[6], &bad);
    r.liveTime = fieldValue(f[7], &bad);
    r.rate = fieldValue(f[8], &bad);
    r.correctedRate = fieldValue(f[9], &bad);
    if (bad || !minutes || !centre || !percent || !keV || *minutes != std::floor(*minutes) ||
        std::fabs(*minutes) > 2147483647.0)
        return std::nullopt;
    r.minutes = qint32(*minutes);
    r.centre = *centre;
    r.driftPercent = *percent;
    r.driftKeV = float(*keV);
    return r;
}

void QcLog::append(const QcRecord &record) const
{
    const QFileInfo info(m_path);
    QStringList lines;
    if (!info.exists() || (info.isFile() && info.size() == 0))
        lines << header();
    lines << rowText(record);
    lumen::textfile::appendLines(m_path, lines);
}

QcLog::Series QcLog::lastSeries() const
{
    Series series;
    if (!QFileInfo::exists(m_path))
        return series;
    for (const QString &line : lumen::textfile::readLines(m_path)) {
        const auto record = parseRow(line);
        if (!record)
            continue;
        if (record->minutes == 0) {
            series.reference = record;
            series.points.clear();
        } else {
            series.points << *record;
        }
    }
    return series;
}

} // namespace lumen::driftlog
