#include "driftlog/core/QcLog.h"

#include "common/core/CsvText.h"
#include "common/core/NumberText.h"
#include "common/core/TextFile.h"

#include <QFileInfo>
#include <QStringList>
#include <cmath>

namespace lumen::driftlog {

namespace {
constexpr int kFirstLayoutFields = 10;
constexpr int kFields = 15;

QString firstLayoutHeader()
{
    return QStringLiteral("date_time,minutes,centre_keV,drift_percent,drift_keV,fwhm_keV,"
                          "net_area,live_time_s,count_rate_cps,decay_corrected_rate_cps");
}

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
    return firstLayoutHeader() + QStringLiteral(",run,run_pass,run_line,report_sha256,replaced_by");
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
                             optionalNumber(r.correctedRate),
                             lumen::csvtext::field(r.origin.run),
                             lumen::csvtext::field(r.origin.pass),
                             r.origin.line > 0 ? QString::number(r.origin.line) : QString(),
                             r.reportSha256,
                             lumen::csvtext::field(r.supersededBy)};
    return fields.join(QLatin1Char(','));
}

std::optional<QcRecord> QcLog::parseRow(const QString &line)
{
    const auto fields = lumen::csvtext::fields(line);
    if (!fields || (fields->size() != kFields && fields->size() != kFirstLayoutFields))
        return std::nullopt;
    const QStringList &f = *fields;
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
    if (f.size() == kFields) {
        r.origin.run = f[10];
        r.origin.pass = f[11];
        const auto runLine = fieldValue(f[12], &bad);
        if (bad ||
            (runLine && (*runLine < 1 || *runLine > 1e9 || *runLine != std::floor(*runLine))))
            return std::nullopt;
        r.origin.line = runLine ? int(*runLine) : 0;
        r.reportSha256 = f[13];
        r.supersededBy = f[14];
    }
    r.minutes = qint32(*minutes);
    r.centre = *centre;
    r.driftPercent = *percent;
    r.driftKeV = float(*keV);
    return r;
}

QList<QcRecord> QcLog::records() const
{
    QList<QcRecord> all;
    if (!QFileInfo::exists(m_path))
        return all;
    for (const QString &line : lumen::textfile::readLines(m_path)) {
        if (const auto record = parseRow(line))
            all << *record;
    }
    return all;
}

void QcLog::append(const QcRecord &record) const
{
    const QFileInfo info(m_path);
    if (info.exists() && info.isFile() && info.size() > 0) {
        const QStringList lines = lumen::textfile::readLines(m_path);
        if (!lines.isEmpty() && lines.first() == firstLayoutHeader()) {
            rewrite(nullptr, record);
            return;
        }
        lumen::textfile::appendLines(m_path, {rowText(record)});
        return;
    }
    lumen::textfile::appendLines(m_path, {header(), rowText(record)});
}

void QcLog::replace(const QcRecord &earlier, const QcRecord &record) const
{
    rewrite(&earlier, record);
}

void QcLog::rewrite(const QcRecord *earlier, const QcRecord &record) const
{
    // Lines that are no record of either layout stay as they are.
    QStringList lines;
    if (QFileInfo::exists(m_path))
        lines = lumen::textfile::readLines(m_path);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        lines << header();
    else if (lines.first() == firstLayoutHeader())
        lines.first() = header();
    int replacedAt = -1;
    for (int i = 1; i < lines.size(); ++i) {
        auto row = parseRow(lines[i]);
        if (!row)
            continue;
        if (earlier && row->live() && row->minutes == earlier->minutes &&
            row->origin.sameMeasurement(earlier->origin))
            replacedAt = i;
        lines[i] = rowText(*row); // the first layout gains the new columns, empty
    }
    if (replacedAt > 0) {
        auto row = parseRow(lines[replacedAt]);
        row->supersededBy = record.dateTime;
        lines[replacedAt] = rowText(*row);
    }
    lines << rowText(record);
    lumen::textfile::writeLines(m_path, lines);
}

QcLog::Series QcLog::lastSeries() const
{
    Series series;
    for (const QcRecord &record : records()) {
        if (record.minutes == 0) {
            series = Series();
            series.reference = record;
        } else if (!record.live()) {
            series.replacedMinutes << record.minutes;
        } else {
            series.points << record;
        }
    }
    return series;
}

std::optional<QcRecord> QcLog::sameMeasurement(const QcRecord &record) const
{
    for (const QcRecord &r : records()) {
        if (!r.live())
            continue;
        const bool sameReport =
            !record.reportSha256.isEmpty() && r.reportSha256 == record.reportSha256;
        const bool sameMoment =
            !record.dateTime.isEmpty() && r.dateTime == record.dateTime &&
            lumen::shortDoubleText(r.centre) == lumen::shortDoubleText(record.centre);
        if (sameReport || sameMoment)
            return r;
    }
    return std::nullopt;
}

} // namespace lumen::driftlog
