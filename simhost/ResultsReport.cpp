#include "simhost/ResultsReport.h"

#include "common/core/DateText.h"
#include "common/core/FixedText.h"

namespace lumen {

namespace {

// One identifier of the report's trigger words inside free text would make
// the readers take a wrong line for a header line, so free texts lose them.
QString defused(QString text)
{
    text.replace(QLatin1String("Date:"), QLatin1String("Date "));
    text.replace(QLatin1String("DT:"), QLatin1String("DT "));
    text.replace(QLatin1String("Activity ="), QLatin1String("Activity"));
    return text;
}

QString fixedRight(const QString &text, int width)
{
    return text.rightJustified(width, u' ', false);
}

QString stamp(const QDateTime &moment)
{
    return formatDateTime(moment, u"DD-MMM-YYYY HH:MM:SS");
}

} // namespace

QString ResultsReport::withThousands(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return value < 0 ? u'-' + digits : digits;
}

QStringList ResultsReport::lines() const
{
    QStringList out;
    out << QStringLiteral("                     GAMMA SPECTRUM ANALYSIS REPORT") << QString();
    out << QStringLiteral("ID: ") + defused(spectrumId);
    out << QStringLiteral("File: ") + fixedWidth(defused(spectrumName), 18) +
               QStringLiteral("Date: ") + stamp(start);
    out << QString::asprintf("LT: %11.2f s   RT: %11.2f s   DT: %7.2f%%", liveTime, realTime,
                             deadTime);
    out << QStringLiteral("Activities reported as of ") +
               (activityDate ? stamp(*activityDate) : QStringLiteral("Measurement Date"));
    out << QStringLiteral("Analysis: ") + fixedWidth(analysisType, 15) +
               QStringLiteral("Library: ") + libraryName;
    out << QString();

    for (const NuclideBlock &block : blocks) {
        out << fixedWidth(block.name, 10) + QStringLiteral("Activity = ") +
                   QString::asprintf("%10.3E ", block.activity) + fixedWidth(units, 9) +
                   QString::asprintf("+/-%6.1f%%", block.uncertainty);
        out << QStringLiteral(
            "Energy      FWHM         Bkg    Gross     Cont     Net   Activity    Unc%");
        out << QString(73, u'-');
        for (const PeakRow &row : block.rows) {
            out << QString::asprintf("%8.2f%8.2f", row.energy, row.fwhm) +
                       fixedRight(QString::number(row.background), 12) +
                       fixedRight(withThousands(row.gross), 9) +
                       fixedRight(withThousands(row.continuum), 9) +
                       fixedRight(withThousands(row.net), 9) +
                       QString::asprintf("%12.3E%7.1f", row.activity, row.uncertainty);
        }
        out << QString();
    }

    out << QString();
    out << QStringLiteral("                         PEAK SEARCH RESULTS");
    out << QStringLiteral("  Pk   Channel Energy    FWHM Net Area");
    int number = 0;
    for (const SearchRow &peak : peaks) {
        out << QString::asprintf("%4d%10.2f%8.2f%8.2f%11lld", ++number, peak.channel, peak.energy,
                                 peak.fwhm, static_cast<long long>(peak.net));
    }
    return out;
}

} // namespace lumen
