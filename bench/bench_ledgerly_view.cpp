// Opening the database viewer on a table of 100,000 records and 300 columns,
// set against reading every record of the same table in the same run. With
// LEDGERLY_PG_URL set (postgresql://user@host:port/dbname) the same table is
// also opened on that server; the benchmark replaces its "SamData".
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/ResultsTableModel.h"
#include "ledgerly/core/ViewerModel.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <benchmark/benchmark.h>

using namespace lumen::ledgerly;

namespace {

constexpr int kRecords = 100000;
constexpr int kColumns = 300; // 7 fixed and 293 nuclide columns

// Made once and kept in the build folder: making it takes far longer than opening it.
QString bigTable()
{
    const QString path = QStringLiteral(LUMEN_BINARY_DIR "/bench-ledgerly-view-100k.db");
    if (QFile::exists(path)) {
        ResultsDatabase db(path);
        if (db.recordCount() == kRecords && db.columnNames().size() == kColumns)
            return path;
    }
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    {
        ResultsDatabase::create(partial);
        ResultsDatabase db(partial);
        QSqlDatabase connection = db.connection();
        QSqlQuery query(connection);
        QStringList names{QStringLiteral("\"idxRec#\""), QStringLiteral("\"ID Text\"")};
        QStringList marks{QStringLiteral("?"), QStringLiteral("?")};
        for (int c = 7; c < kColumns; ++c) {
            const QString name = QStringLiteral("N%1@LINE1").arg(c);
            query.exec(
                QStringLiteral("ALTER TABLE \"SamData\" ADD COLUMN \"%1\" VARCHAR(16)").arg(name));
            names << u'"' + name + u'"';
            marks << QStringLiteral("?");
        }
        connection.transaction();
        query.prepare(QStringLiteral("INSERT INTO \"SamData\" (%1) VALUES (%2)")
                          .arg(names.join(u','), marks.join(u',')));
        for (int r = 1; r <= kRecords; ++r) {
            query.addBindValue(r % 32767);
            query.addBindValue(QStringLiteral("bench sample %1").arg(r));
            for (int c = 7; c < kColumns; ++c)
                query.addBindValue(QStringLiteral("1.234E+01"));
            query.exec();
        }
        connection.commit();
    }
    QFile::remove(path);
    QFile::rename(partial, path);
    return path;
}

void BM_OpenViewer(benchmark::State &state)
{
    const QString path = bigTable();
    for (auto _ : state) {
        ViewerModel viewer;
        if (!viewer.load(path) || viewer.totalLable != QString::number(kRecords) ||
            viewer.fieldCount != QString::number(kColumns)) {
            state.SkipWithError("the viewer did not open the table");
            break;
        }
        benchmark::DoNotOptimize(viewer.records()->rowCount());
    }
}
BENCHMARK(BM_OpenViewer)->Unit(benchmark::kMillisecond)->Iterations(5);

// What the open would cost if it read the whole table: every record into the record set.
void BM_ReadWholeTable(benchmark::State &state)
{
    const QString path = bigTable();
    for (auto _ : state) {
        ViewerModel viewer;
        viewer.load(path);
        ResultsTableModel *records = viewer.records();
        while (records->canFetchMore())
            records->fetchMore();
        benchmark::DoNotOptimize(records->rowCount());
    }
}
BENCHMARK(BM_ReadWholeTable)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same table on a server, made there in one statement.
QString bigServerTable()
{
    const QString url = qEnvironmentVariable("LEDGERLY_PG_URL");
    if (url.isEmpty())
        return QString();
    ResultsDatabase::create(url);
    ResultsDatabase db(url);
    QSqlQuery query(db.connection());
    QStringList columns, values;
    for (int c = 7; c < kColumns; ++c) {
        columns << QStringLiteral(", ADD COLUMN \"N%1@LINE1\" VARCHAR(16)").arg(c);
        values << QStringLiteral("'1.234E+01'");
    }
    query.exec(QStringLiteral("ALTER TABLE \"SamData\" ") + columns.join(QString()).mid(2));
    query.exec(QStringLiteral("INSERT INTO \"SamData\" SELECT i % 32767, NULL, 'bench sample ' "
                              "|| i, NULL, NULL, NULL, NULL, %1 FROM generate_series(1, %2) i")
                   .arg(values.join(u", "))
                   .arg(kRecords));
    return db.recordCount() == kRecords ? url : QString();
}

void BM_OpenViewerOnServer(benchmark::State &state)
{
    static const QString url = bigServerTable();
    if (url.isEmpty()) {
        state.SkipWithError("LEDGERLY_PG_URL names no server holding the table");
        return;
    }
    for (auto _ : state) {
        ViewerModel viewer;
        if (!viewer.load(url) || viewer.totalLable != QString::number(kRecords)) {
            state.SkipWithError("the viewer did not open the table");
            break;
        }
        benchmark::DoNotOptimize(viewer.records()->rowCount());
    }
}
BENCHMARK(BM_OpenViewerOnServer)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
