// Reading a full report, and one append into a grown database set against the
// same insert made with the sqlite3 shell in the same run.
#include "common/core/HeadlessOperator.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ReportCompleteness.h"
#include "ledgerly/core/ReportReader.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/ResultsDatabase.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace lumen::ledgerly;

namespace {

constexpr int kBlocks = 12; // 12 blocks of 25 rows: 300 nuclide columns
constexpr int kRows = 25;
constexpr int kRecords = 10000;

QByteArray fullReport(int blocks, int rows)
{
    QString text =
        QStringLiteral("ID: bench sample\r\nFile: BENCH.ANS          Date: 06-Dec-2026 14:05:09\r\n"
                       "LT:     3600.00 s   RT:     3661.40 s   DT:    1.68%\r\n"
                       "Activities reported as of Measurement Date\r\n\r\n");
    for (int i = 1; i <= blocks; ++i) {
        text +=
            QStringLiteral("N%1").arg(i, 3, 10, QChar(u'0')).leftJustified(10) +
            QStringLiteral(
                "Activity =  1.234E+01 Bq/kg    +/-   4.1%\r\n"
                "Energy      FWHM         Bkg    Gross     Cont     Net   Activity    Unc%\r\n") +
            QString(73, u'-') + QStringLiteral("\r\n");
        for (int j = 1; j <= rows; ++j)
            text += QStringLiteral(
                        "%1    1.52         812   13,456      790   12,644   1.234E+01    4.1\r\n")
                        .arg(QString::number(100.0 + i * 50 + j, 'f', 2), 8);
        text += QStringLiteral("\r\n");
    }
    // The closing section a whole report ends with.
    text += QStringLiteral("\r\n                         PEAK SEARCH RESULTS\r\n"
                           "  Pk   Channel Energy    FWHM Net Area\r\n");
    return text.toLatin1();
}

void BM_ReadFullReport(benchmark::State &state)
{
    const QByteArray report = fullReport(100, 25);
    for (auto _ : state) {
        ReportResult result = ReportReader::parse(report);
        benchmark::DoNotOptimize(result.nuclideCount);
    }
    state.SetBytesProcessed(state.iterations() * report.size());
}
BENCHMARK(BM_ReadFullReport)->Unit(benchmark::kMillisecond);

// A database of kRecords records and 300 nuclide columns, as a year of appends leaves it.
struct GrownDatabase
{
    QTemporaryDir dir;
    QString path;
    ArchiverModel model;
    lumen::HeadlessOperator quiet;
    QString insertSql;

    GrownDatabase()
    {
        path = dir.filePath("grown.db");
        ResultsDatabase::create(path);
        model.setOperator(&quiet);
        model.setApath(path);
        model.setAppendMode(NetMode);
        // The same report again and again, read as the program reads it (the
        // file is written before it is read: no settle needed).
        model.setAppendAgain(true);
        model.setRpath(dir.filePath("RESULTS.TXT"));
        QFile report(model.rpath());
        report.open(QIODevice::WriteOnly);
        report.write(fullReport(kBlocks, kRows));
        report.close();
        ReportCompleteness::setPause([](const QString &) {});
        model.readLmnFile();

        QStringList columns = ResultsDatabase::fixedColumns();
        QStringList values{QStringLiteral("1"),
                           QStringLiteral("' BENCH.ANS       '"),
                           QStringLiteral("' bench sample'"),
                           QStringLiteral("'06-Dec-2026 14:05:09'"),
                           QStringLiteral("'06-Dec-2026 14:05:09'"),
                           QStringLiteral("'3600'"),
                           QStringLiteral("'1.68'")};
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("grow"));
            db.setDatabaseName(path);
            db.open();
            QSqlQuery query(db);
            for (int i = 1; i <= kBlocks; ++i) {
                for (int j = 1; j <= kRows; ++j) {
                    const QString name = ResultColumns::resultColumnName(
                        model.report(), i, j, NetMode, model.modeMarkers());
                    query.exec(
                        QStringLiteral("ALTER TABLE \"SamData\" ADD COLUMN \"%1\" VARCHAR(10)")
                            .arg(name));
                    columns << u'"' + name + u'"';
                    values << QStringLiteral("'12644'");
                }
            }
            for (int i = 0; i < 7; ++i)
                columns[i] = u'"' + columns[i] + u'"';
            insertSql = QStringLiteral("INSERT INTO \"SamData\" (%1) VALUES (%2);")
                            .arg(columns.join(u','), values.join(u','));
            db.transaction();
            for (int r = 0; r < kRecords; ++r)
                query.exec(insertSql);
            db.commit();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("grow"));
    }
};

GrownDatabase &grown()
{
    static GrownDatabase database;
    return database;
}

void BM_AppendInto10kRecords300Columns(benchmark::State &state)
{
    GrownDatabase &db = grown();
    for (auto _ : state) {
        if (!db.model.appendIt())
            state.SkipWithError("append failed");
    }
    state.counters["fields"] = db.model.numFieldsText().toDouble();
}
BENCHMARK(BM_AppendInto10kRecords300Columns)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sqlite3ShellInsertSameRow(benchmark::State &state)
{
    GrownDatabase &db = grown();
    for (auto _ : state) {
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"), {db.path, db.insertSql});
        if (!shell.waitForFinished(30000) || shell.exitCode() != 0)
            state.SkipWithError("sqlite3 shell failed");
    }
}
BENCHMARK(BM_Sqlite3ShellInsertSameRow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
