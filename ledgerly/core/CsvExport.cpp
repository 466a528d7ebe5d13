#include "ledgerly/core/CsvExport.h"

#include "common/core/CsvText.h"
#include "common/core/FixedText.h"
#include "common/core/SafeFile.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/SqlStatement.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace lumen::ledgerly {

namespace {

// Rows go out as the query reads them (forward only: a server then sends
// them one by one rather than the whole result at once).
qint64 writeQuery(ResultsDatabase &db, const QString &sql, const QString &path)
{
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    SqlStatement::exec(query, sql);
    QByteArray bytes("\xEF\xBB\xBF");
    const QSqlRecord header = query.record();
    QStringList fields;
    for (int i = 0; i < header.count(); ++i)
        fields << CsvExport::field(header.fieldName(i));
    bytes += fields.join(u',').toUtf8() + "\r\n";
    qint64 rows = 0;
    while (query.next()) {
        fields.clear();
        for (int i = 0; i < header.count(); ++i) {
            const QVariant value = query.value(i);
            // The fixed-width padding, and the blank the report's layout puts
            // after "ID:" and "File:", are the report's, not the value's.
            const QString text = value.typeId() == QMetaType::QString
                                     ? lumen::trimBlanks(value.toString())
                                     : value.toString();
            fields << (value.isNull() ? QString() : CsvExport::field(CsvExport::inert(text)));
        }
        bytes += fields.join(u',').toUtf8() + "\r\n";
        ++rows;
    }
    if (query.lastError().isValid())
        SqlStatement::fail(query.lastError(), db.isServer());
    lumen::safefile::replace(path, bytes);
    return rows;
}

} // namespace

QString CsvExport::field(const QString &text)
{
    return lumen::csvtext::field(text);
}

QString CsvExport::inert(const QString &text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !starts.contains(text.front()))
        return text;
    bool number = false;
    text.trimmed().toDouble(&number);
    return number ? text : u'\'' + text;
}

qint64 CsvExport::writeWide(ResultsDatabase &db, const QString &path)
{
    return writeQuery(
        db, QStringLiteral("SELECT * FROM \"SamData\" ORDER BY \"idxRec#\", ") + db.storageKey(),
        path);
}

qint64 CsvExport::writeLong(ResultsDatabase &db, const QString &path, bool allRecords)
{
    return writeQuery(
        db,
        QStringLiteral(
            "SELECT s.\"Record\", s.\"idxRec#\", s.\"File Name\", s.\"ID Text\", "
            "s.\"Date & time\", s.\"Sample Date\", s.\"Counting Time\", s.\"DT %\", s.\"Mode\", "
            "s.\"Archived\", s.\"Run\", s.\"Run Pass\", s.\"Run Line\", s.\"Superseded By\", "
            "r.\"Column\", r.\"Nuclide\", r.\"Line\", r.\"Energy\", r.\"Value\" "
            "FROM \"SamResults\" r JOIN \"SamRecords\" s ON s.\"Record\" = r.\"Record\" ") +
            (allRecords ? QString() : QStringLiteral("WHERE s.\"Superseded By\" IS NULL ")) +
            QStringLiteral("ORDER BY s.\"Record\", r.") + db.storageKey(),
        path);
}

qint64 CsvExport::writeAudit(ResultsDatabase &db, const QString &path)
{
    return writeQuery(db, QStringLiteral("SELECT * FROM \"SamAudit\" ORDER BY \"Entry\""), path);
}

} // namespace lumen::ledgerly
