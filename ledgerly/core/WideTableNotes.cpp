#include "ledgerly/core/WideTableNotes.h"

namespace lumen::ledgerly {

namespace {

constexpr int kNamesShown = 8;

} // namespace

void WideTableNotes::leftOut(const QString &reason, const QString &column)
{
    QStringList &columns = m_columns[reason];
    if (!columns.contains(column))
        columns << column;
}

QStringList WideTableNotes::lines() const
{
    QStringList lines;
    if (!m_record.isEmpty())
        lines << QStringLiteral("\"SamData\" did not take the record (") + m_record +
                     QStringLiteral("); it is kept in \"SamRecords\" and \"SamResults\"");
    for (auto it = m_columns.cbegin(); it != m_columns.cend(); ++it) {
        const QStringList &names = it.value();
        QString line = QStringLiteral("\"SamData\" did not take %1 column%2 (%3): ")
                           .arg(names.size())
                           .arg(names.size() == 1 ? "" : "s", it.key());
        line += names.mid(0, kNamesShown).join(QStringLiteral(", "));
        if (names.size() > kNamesShown)
            line += QStringLiteral(" and %1 more").arg(names.size() - kNamesShown);
        line += QStringLiteral("; the values are kept in \"SamResults\"");
        lines << line;
    }
    return lines;
}

} // namespace lumen::ledgerly
