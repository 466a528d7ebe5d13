#include "ledgerly/core/ResultColumns.h"

#include "common/core/FixedText.h"
#include "common/core/NumberText.h"

namespace lumen::ledgerly {

QStringList ResultColumns::defaultModeMarkers()
{
    return {QStringLiteral("@LINE"), QStringLiteral("@NET"), QStringLiteral("@GROSS"),
            QStringLiteral("@BKG")};
}

QString ResultColumns::resultColumnName(const ReportResult &result, int block, int row,
                                        int appendMode, const QStringList &modeMarkers)
{
    const NuclideBlock &nuclide = result.blocks.at(block);
    return resultColumnName(nuclide, nuclide.rows.at(row), row, result.corrCoeffLayout, appendMode,
                            modeMarkers);
}

QString ResultColumns::resultColumnName(const NuclideBlock &nuclide, const PeakRow &peak, int row,
                                        bool corrCoeffLayout, int appendMode,
                                        const QStringList &modeMarkers)
{
    const QString name = lumen::trimBlanks(nuclide.nuclideName);
    QString column;
    if (appendMode == ActivityMode && corrCoeffLayout)
        column = name + u'@' + lumen::shortSingleText(peak.energy);
    else if (appendMode == ActivityMode && nuclide.rowCount + nuclide.moreRows.size() < 2)
        column = name;
    else
        column = name + modeMarkers.value(appendMode) + QString::number(row);
    const qsizetype dot = column.indexOf(u'.');
    if (dot >= 0)
        column[dot] = u':';
    return column;
}

ResultColumns::NameParts ResultColumns::partsOf(const QString &column)
{
    NameParts parts;
    const qsizetype at = column.indexOf(u'@');
    parts.nuclide = at < 0 ? column : column.left(at);
    if (at < 0)
        return parts;
    // After the marker: a row number ("@LINE2"), or an energy whose first
    // "." became ":" ("@1173:23").
    const QString tail = column.mid(at + 1);
    qsizetype digits = tail.size();
    while (digits > 0 && tail.at(digits - 1).isDigit())
        --digits;
    if (digits > 0 && digits < tail.size() && tail.at(digits - 1).isLetter()) {
        parts.line = tail.mid(digits).toInt();
        return parts;
    }
    bool number = false;
    const double energy = QString(tail).replace(u':', u'.').toDouble(&number);
    if (number) {
        parts.line = 0;
        parts.energy = energy;
    }
    return parts;
}

QString ResultColumns::modeName(int appendMode)
{
    switch (appendMode) {
    case NetMode:
        return QStringLiteral("NET");
    case GrossMode:
        return QStringLiteral("GROSS");
    case BackgroundMode:
        return QStringLiteral("BKG");
    default:
        return QStringLiteral("ACTIVITY");
    }
}

float ResultColumns::modeValue(const PeakRow &row, int appendMode)
{
    switch (appendMode) {
    case NetMode:
        return row.netCounts;
    case GrossMode:
        return row.grossCounts;
    case BackgroundMode:
        return row.grossCounts - row.netCounts;
    default:
        return row.rowActivity;
    }
}

bool ResultColumns::isAcceptableName(const QString &name)
{
    // Kept to what both the file database and a server database accept as a
    // quoted identifier, and to what the original archive format allowed.
    if (name.isEmpty() || name.size() > 64 || name.startsWith(u' '))
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c == u'.' || c == u'"' || c == u'[' || c == u']' || c == u'!' ||
            c == u'`')
            return false;
    }
    return true;
}

} // namespace lumen::ledgerly
