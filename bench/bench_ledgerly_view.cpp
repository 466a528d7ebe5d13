// Opening the database viewer on a table of 100,000 records and 300 columns:
// time to open and show the first screen, and the peak memory of the open. With
// LEDGERLY_PG_URL set (postgresql://user@host:port/dbname) the same table is
// also opened on that server; the benchmark replaces its "SamData".
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/ResultsTableModel.h"
#include "ledgerly/core/ViewerModel.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
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

// Resident memory in MB: now, and the peak since the last reset of the peak.
double residentMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Opening the viewer and showing its first screen (40 rows of every column):
// time per open, and the memory the open took at its peak (peak_MB).
void openAndShow(benchmark::State &state, const QString &path)
{
    double peak = 0;
    for (auto _ : state) {
        const double before = residentMb("VmRSS:");
        resetPeak();
        {
            ViewerModel viewer;
            if (!viewer.load(path) || viewer.totalLable != QString::number(kRecords) ||
                viewer.fieldCount != QString::number(kColumns)) {
                state.SkipWithError("the viewer did not open the table");
                break;
            }
            ResultsTableModel *records = viewer.records();
            for (int row = 0; row < 40; ++row) {
                for (int column = 0; column < kColumns; ++column)
                    benchmark::DoNotOptimize(records->data(records->index(row, column)));
            }
            peak = std::max(peak, residentMb("VmHWM:") - before);
        }
    }
    state.counters["peak_MB"] = peak;
}

void BM_OpenViewer(benchmark::State &state)
{
    openAndShow(state, bigTable());
}
BENCHMARK(BM_OpenViewer)->Unit(benchmark::kMillisecond)->Iterations(5);

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
    openAndShow(state, url);
}
BENCHMARK(BM_OpenViewerOnServer)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
