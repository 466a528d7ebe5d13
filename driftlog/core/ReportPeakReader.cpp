#include "driftlog/core/ReportPeakReader.h"

#include "common/core/Cp1252.h"
#include "common/core/FixedText.h"
#include "common/core/OutsideFile.h"
#include "common/core/TextFile.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace lumen::driftlog {

namespace {
constexpr int kIdStart = 4; // 1-based, after "ID:"
constexpr int kIdWidth = 72;
constexpr int kCentreStart = 15; // 1-based columns 15-22 of the peak-search row
constexpr int kCentreWidth = 8;
constexpr int kFwhmStart = 23; // then the FWHM in columns 23-30
constexpr int kFwhmWidth = 8;
constexpr int kAreaStart = 31; // and the net area from column 31 on
constexpr int kTimeWidth = 8;  // "HH:MM:SS" at the end of the "File:" line

std::optional<QString> fieldOf(const QString &line, int start, int width)
{
    const QString text = lumen::trimBlanks(lumen::midText(line, start, width));
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}
} // namespace

void ReportPeakReader::splitFileLine(const QString &line, QString *date, QString *time)
{
    const int length = int(line.size());
    const int p = int(line.indexOf(QLatin1String("Date:"))) + 1; // 1-based, 0 when absent
    // The date runs from p + 6 (after "Date: ") to L - 9 (before " HH:MM:SS").
    const int dateLength = length - p - 14;
    *date = dateLength > 0 ? lumen::trimBlanks(lumen::midText(line, p + 6, dateLength)) : QString();
    *time = lumen::trimBlanks(QStringView(line).right(kTimeWidth));
}

ReportPeak ReportPeakReader::parseLines(const QStringList &lines)
{
    ReportPeak peak;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("ID:"))) {
            peak.id = lumen::midText(line, kIdStart, kIdWidth);
        } else if (line.startsWith(QLatin1String("File:"))) {
            QString date;
            QString time;
            splitFileLine(line, &date, &time);
            peak.date = date;
            peak.time = time;
            peak.dateMissing = !line.contains(QLatin1String("Date:"));
        } else if (line.startsWith(QLatin1String("LT:"))) {
            const QString rest = lumen::trimBlanks(QStringView(line).mid(3));
            const QString first = rest.section(QLatin1Char(' '), 0, 0);
            if (!first.isEmpty())
                peak.liveTime = first;
        }
    }
    if (!lines.isEmpty()) {
        const QString &last = lines.last();
        peak.centre = lumen::trimBlanks(lumen::midText(last, kCentreStart, kCentreWidth));
        peak.fwhm = fieldOf(last, kFwhmStart, kFwhmWidth);
        peak.netArea = fieldOf(last, kAreaStart, -1);
    }
    return peak;
}

ReportPeak ReportPeakReader::parse(QByteArrayView bytes)
{
    return parseLines(lumen::textfile::splitLines(lumen::fromCp1252(bytes)));
}

std::optional<ReportPeak> ReportPeakReader::readFile(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    const QByteArray bytes = lumen::outsidefile::read(path, lumen::outsidefile::kReportCap);
    if (bytes.isEmpty())
        return std::nullopt;
    ReportPeak peak = parse(bytes);
    peak.sha256 =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    return peak;
}

} // namespace lumen::driftlog
