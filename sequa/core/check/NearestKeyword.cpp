#include "sequa/core/check/NearestKeyword.h"

#include "sequa/core/commands/CommandTable.h"

#include <QStringList>

namespace lumen::sequa {

namespace {

/** Spellings one slip away from the keyword: missing, swapped or extra letters aside. */
QStringList slipsOf(const QString &keyword)
{
    QStringList slips{keyword};
    for (qsizetype i = 0; i < keyword.size(); ++i)
        slips.append(QString(keyword).remove(i, 1));
    for (qsizetype i = 0; i + 1 < keyword.size(); ++i) {
        QString swapped = keyword;
        std::swap(swapped[i], swapped[i + 1]);
        if (swapped != keyword)
            slips.append(swapped);
    }
    return slips;
}

/** True when the line (or, for a prefix row, its beginning) is one slip from the keyword. */
bool isOneSlipAway(const CommandRow &row, const QString &line)
{
    const bool whole = row.match == MatchKind::Exact;
    for (const QString &slip : slipsOf(row.keyword)) {
        if (whole ? line.compare(slip, Qt::CaseInsensitive) == 0
                  : line.startsWith(slip, Qt::CaseInsensitive))
            return true;
    }
    // One letter too many: taking one out of the keyword's part gives the keyword.
    const qsizetype span = whole ? line.size() : qMin(line.size(), row.keyword.size() + 1);
    if (whole && line.size() != row.keyword.size() + 1)
        return false;
    for (qsizetype i = 0; i < span; ++i) {
        const QString shorter = QString(line).remove(i, 1);
        if (whole ? shorter.compare(row.keyword, Qt::CaseInsensitive) == 0
                  : shorter.startsWith(row.keyword, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QString NearestKeyword::of(const QString &trimmedLine)
{
    // The longest keyword that fits is the most telling one (SaveSpectrum before SaveDT).
    QString best;
    for (const CommandRow &row : CommandTable::rows()) {
        if (row.keyword.size() > best.size() && isOneSlipAway(row, trimmedLine))
            best = row.keyword;
    }
    return best;
}

QString NearestKeyword::standAloneKeywordWithText(const QString &trimmedLine)
{
    for (const CommandRow &row : CommandTable::rows()) {
        if (row.match == MatchKind::Exact && trimmedLine.startsWith(row.keyword) &&
            trimmedLine.size() > row.keyword.size())
            return row.keyword;
    }
    return QString();
}

} // namespace lumen::sequa
