#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::driftlog::test {

/**
 * A results report in the host's layout, holding what the drift logger reads:
 * the ID line, the "File:" line with date and time, and a last peak-search
 * row whose columns 15-22 hold `centre`.
 */
inline QByteArray reportBytes(const QString &date, const QString &time, const QString &centre,
                              const QString &id = QStringLiteral(" Check source Cs-137"),
                              double fwhm = 1.52, long long netArea = 12644)
{
    QString text;
    text += QStringLiteral("                     GAMMA SPECTRUM ANALYSIS REPORT\r\n\r\n");
    text += QStringLiteral("ID:") + id + QStringLiteral("\r\n");
    text += QStringLiteral("File: CHECK001.ANS      Date: ") + date + QLatin1Char(' ') + time +
            QStringLiteral("\r\n");
    text += QStringLiteral("LT:      600.00 s   RT:      603.10 s   DT:    0.51%\r\n\r\n");
    text += QStringLiteral("                         PEAK SEARCH RESULTS\r\n");
    text += QStringLiteral("  Pk   Channel Energy    FWHM Net Area\r\n");
    text += QStringLiteral("   1   1322.45") + centre.rightJustified(8, QLatin1Char(' ')) +
            QString::asprintf("%8.2f%11lld\r\n", fwhm, netArea);
    return text.toLatin1();
}

} // namespace lumen::driftlog::test
