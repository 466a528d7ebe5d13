#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lumen::ledgerly::test {

/** A report made of these lines, each ended by CR LF, in Windows-1252. */
inline QByteArray reportBytes(const QStringList &lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

/** The section the host writes last, with one peak-search row. */
inline QStringList reportClosing()
{
    return {QString(), QStringLiteral("                         PEAK SEARCH RESULTS"),
            QStringLiteral("  Pk   Channel Energy    FWHM Net Area"),
            QStringLiteral("   1   1322.45  661.66    1.52      12644")};
}

/** A whole report: these lines, then the closing section. */
inline QByteArray wholeReportBytes(const QStringList &lines)
{
    return reportBytes(QStringList(lines) << reportClosing());
}

/** The lines every report of the host opens with, for the sample `id`. */
inline QStringList reportHeader(const QString &id)
{
    return {QStringLiteral("ID: ") + id,
            QStringLiteral("File: SPEC0001.ANS      Date: 06-Dec-2026 14:05:09"),
            QStringLiteral("LT:     3600.00 s   RT:     3661.40 s   DT:    1.68%"),
            QStringLiteral("Activities reported as of Measurement Date"), QString()};
}

/** A peak row of the ordinary layout: energy 1-8, gross 29-37, net 47-55, activity 58-67. */
inline QString normalRow(const QString &energy, const QString &gross, const QString &net,
                         const QString &activity)
{
    return energy.rightJustified(8) + QString(20, u' ') + gross.rightJustified(9) +
           QString(9, u' ') + net.rightJustified(9) + QString(2, u' ') +
           activity.rightJustified(10) + QStringLiteral("    4.1");
}

inline const QString kNormalHeader =
    QStringLiteral("Energy      FWHM         Bkg    Gross     Cont     Net   Activity    Unc%");
inline const QString kRule = QString(73, u'-');

/** Lines of one ordinary nuclide block with the given rows and the blank line after it. */
inline QStringList normalBlock(const QString &name, const QStringList &rows)
{
    QStringList lines{name.leftJustified(10) +
                          QStringLiteral("Activity =  1.000E+00 Bq/kg    +/-   4.1%"),
                      kNormalHeader, kRule};
    lines << rows << QString();
    return lines;
}

} // namespace lumen::ledgerly::test
