#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/CommandLine.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/ResultsTableModel.h"
#include "ledgerly/core/ViewerModel.h"
#include "ledgerly/dbtests/ArchiveBackend.h"
#include "ledgerly/tests/DbPeek.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTextStream>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;

namespace {

class ArchiveTruth : public lumen::ledgerly::test::ArchiverOnBackendTest
{
protected:
    void SetUp() override
    {
        ArchiverOnBackendTest::SetUp();
        qunsetenv("LUMEN_RUN");
        qunsetenv("LUMEN_RUN_PASS");
        qunsetenv("LUMEN_RUN_LINE");
    }
    void TearDown() override
    {
        qunsetenv("LUMEN_RUN");
        qunsetenv("LUMEN_RUN_PASS");
        qunsetenv("LUMEN_RUN_LINE");
    }

    bool append(const char *sample, const QString &id = QString())
    {
        m_model.setRpath(lumen::test::samplePath(sample));
        if (m_model.readLmnFile() != ArchiverModel::ReadStatus::Read)
            return false;
        if (!id.isEmpty()) {
            ReportResult renamed = m_model.report();
            renamed.sampleId = id;
            m_model.setReport(renamed);
        }
        return m_model.appendIt();
    }

    /** Every value of the wide view against the long one: fixed fields and results. */
    void expectViewsAgree() const
    {
        DbPeek peek(m_path);
        const auto wide = peek.records();
        const auto records = peek.rows("SELECT * FROM \"SamRecords\" WHERE \"idxRec#\" IS NOT NULL "
                                       "ORDER BY \"idxRec#\"");
        ASSERT_EQ(records.size(), wide.size());
        for (qsizetype i = 0; i < wide.size(); ++i) {
            const QVariantMap &row = wide[i];
            const QVariantMap &record = records[i];
            EXPECT_EQ(record["idxRec#"].toInt(), row["idxRec#"].toInt());
            for (const char *text : {"File Name", "ID Text", "Date & time", "Sample Date"})
                EXPECT_EQ(record[text].toString(), row[text].toString()) << text;
            for (const char *number : {"Counting Time", "DT %"})
                EXPECT_DOUBLE_EQ(record[number].toDouble(), row[number].toDouble()) << number;
            QMap<QString, double> values;
            for (const QVariantMap &value :
                 peek.rows(QStringLiteral("SELECT \"Column\", \"Value\" FROM \"SamResults\" "
                                          "WHERE \"Record\" = %1")
                               .arg(record["Record"].toLongLong())))
                values.insert(value["Column"].toString(), value["Value"].toDouble());
            int filled = 0;
            for (auto cell = row.cbegin(); cell != row.cend(); ++cell) {
                if (ResultsDatabase::fixedColumns().contains(cell.key()) || cell.value().isNull())
                    continue;
                ++filled;
                EXPECT_DOUBLE_EQ(values.value(cell.key(), -1), cell.value().toDouble())
                    << cell.key().toStdString() << " of record " << row["idxRec#"].toInt();
            }
            EXPECT_EQ(filled, values.size());
        }
    }

    QStringList auditActions() const
    {
        QStringList actions;
        for (const QVariantMap &row :
             DbPeek(m_path).rows("SELECT \"Action\" FROM \"SamAudit\" ORDER BY \"Entry\""))
            actions << row["Action"].toString();
        return actions;
    }

    int run(const QStringList &args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream outStream(&m_out), errStream(&m_err);
        return CommandLine::run(args, outStream, errStream, m_dir.path());
    }

    QString m_out, m_err;
};

} // namespace

TEST_P(ArchiveTruth, GridEditsAndDeletesReachTheLongTablesAndNumbersAreNeverReused)
{
    m_model.setAppendAgain(true); // one report under three IDs
    for (const char *id : {"first", "second", "third"})
        ASSERT_TRUE(append("RESULTS_normal.TXT", id));
    ViewerModel viewer;
    viewer.setOperator(&m_operator);
    ASSERT_TRUE(viewer.load(m_path));
    ResultsTableModel *records = viewer.records();
    const int cs137 = records->record().indexOf("CS-137");
    ASSERT_TRUE(records->setData(records->index(1, cs137), "99.9"));
    ASSERT_TRUE(records->setData(records->index(2, records->record().indexOf("ID Text")), "3rd"));
    ASSERT_TRUE(records->setData(records->index(0, records->record().indexOf("DT %")), "2.5"));
    ASSERT_TRUE(records->setData(records->index(0, records->record().indexOf("K-40")), ""));
    expectViewsAgree();

    // The last record deleted, then a new one: it gets number 4, not 3 again.
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    ASSERT_TRUE(viewer.deleteSelectedRecord());
    ASSERT_TRUE(append("RESULTS_corrcoeff.TXT"));
    EXPECT_EQ(m_model.lastRecordNumber(), 4);
    EXPECT_EQ(m_model.numbRecText(), "3"); // records held
    expectViewsAgree();
    DbPeek peek(m_path);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamRecords\" WHERE \"ID Text\" LIKE '3rd%'"), 0);

    EXPECT_EQ(auditActions(), (QStringList{"append", "append", "append", "edit", "edit", "edit",
                                           "edit", "delete", "append"}));
    const auto edit = peek.rows("SELECT * FROM \"SamAudit\" WHERE \"Action\" = 'edit' ORDER BY "
                                "\"Entry\"")[0];
    EXPECT_EQ(edit["Record"].toInt(), 2);
    EXPECT_EQ(edit["Column"].toString(), "CS-137");
    EXPECT_EQ(edit["Old Value"].toString(), "12.34");
    EXPECT_EQ(edit["New Value"].toString(), "99.9");
    EXPECT_FALSE(edit["User"].toString().isEmpty());
    EXPECT_FALSE(edit["Machine"].toString().isEmpty());
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$")
                    .match(edit["Time"].toString())
                    .hasMatch())
        << edit["Time"].toString().toStdString();
}

TEST_P(ArchiveTruth, AReportIsArchivedOncePerModeUnlessAskedAgain)
{
    ASSERT_TRUE(append("RESULTS_normal.TXT"));
    EXPECT_FALSE(m_model.appendIt());
    EXPECT_EQ(m_model.lastAlreadyArchived(), 1);
    EXPECT_TRUE(m_operator.messages().last().contains("already archived as record 1"));
    m_model.setAppendMode(NetMode); // the same report's counts are another record
    EXPECT_TRUE(m_model.appendIt());
    m_model.setAppendMode(ActivityMode);
    m_model.setAppendAgain(true);
    EXPECT_TRUE(m_model.appendIt());
    // The window asks instead of refusing.
    m_model.setAppendAgain(false);
    m_model.setAskBeforeAppendingAgain(true);
    m_operator.queueAnswer(lumen::MessageAnswer::No);
    EXPECT_FALSE(m_model.appendIt());
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    EXPECT_TRUE(m_model.appendIt());
    EXPECT_TRUE(m_operator.messages().last().endsWith(
        "is already archived as record 1. Archive it again as a new record?"));
    // A question that adds a record again defaults to No, as the delete and reset do.
    EXPECT_EQ(m_operator.prompts().last().buttons, lumen::MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(DbPeek(m_path).count("SELECT COUNT(DISTINCT \"Sha256\") FROM \"SamRecords\""), 1);
    EXPECT_EQ(DbPeek(m_path).count("SELECT COUNT(*) FROM \"SamRecords\""), 4);
}

TEST_P(ArchiveTruth, ALinePlayedAgainInItsPassSupersedesItsEarlierRecordOnly)
{
    // A report of other bytes than both samples.
    const QString other = m_dir.filePath("RESULTS_other.TXT");
    lumen::test::writeBytes(
        other, lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT")) + "\r\n");
    const auto appendAt = [&](const char *pass, const char *line, const QString &sample) {
        qputenv("LUMEN_RUN_PASS", pass);
        qputenv("LUMEN_RUN_LINE", line);
        m_model.setRpath(sample);
        return m_model.readLmnFile() == ArchiverModel::ReadStatus::Read && m_model.appendIt();
    };
    qputenv("LUMEN_RUN", "/lab/journals/night.journal");
    const QString normal = lumen::test::samplePath("RESULTS_normal.TXT");
    const QString corrcoeff = lumen::test::samplePath("RESULTS_corrcoeff.TXT");
    struct Step
    {
        const char *pass;
        const char *line;
        QString sample;
        QList<qint64> superseded;
    };
    const Step steps[] = {
        {"", "5", normal, {}},
        // The set-up before the loops, played again by a resume: the same bytes replay.
        {"", "5", normal, {1}},
        {"2.1", "20", corrcoeff, {}},
        // Another line of the same pass archives a record of its own.
        {"2.1", "24", other, {}},
        {"2.1", "20", corrcoeff, {3}},
    };
    for (const Step &step : steps) {
        ASSERT_TRUE(appendAt(step.pass, step.line, step.sample)) << step.pass << "@" << step.line;
        EXPECT_EQ(m_model.lastSuperseded(), step.superseded) << step.pass << "@" << step.line;
    }

    DbPeek peek(m_path);
    EXPECT_EQ(peek.count("SELECT \"Superseded By\" FROM \"SamRecords\" WHERE \"Record\" = 1"), 2);
    EXPECT_EQ(peek.count("SELECT \"Superseded By\" FROM \"SamRecords\" WHERE \"Record\" = 3"), 5);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamRecords\" WHERE \"Run\" = "
                         "'/lab/journals/night.journal' AND \"Superseded By\" IS NULL"),
              3);
    // The wide table carries the same mark, so its readers can leave those rows out.
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamData\" WHERE \"Superseded By\" IS NULL"), 3);
    EXPECT_EQ(peek.count("SELECT \"Superseded By\" FROM \"SamData\" WHERE \"idxRec#\" = 3"), 5);
    EXPECT_EQ(auditActions(), (QStringList{"append", "supersede", "append", "append", "append",
                                           "supersede", "append"}));

    const QString current = m_dir.filePath("current.csv"), all = m_dir.filePath("all.csv");
    lumen::test::writeBytes(m_dir.filePath("ARC&FILE.DAT"),
                            ArchiverSettings::pathsRecord({m_path, m_model.rpath()}));
    ASSERT_EQ(run({"--export", current, "--long"}), CommandLine::Done) << m_err.toStdString();
    ASSERT_EQ(run({"--export", all, "--long", "--all"}), CommandLine::Done);
    const auto records = [](const QString &path) {
        QSet<QString> numbers;
        const QStringList lines = QString::fromUtf8(lumen::test::fileBytes(path)).split("\r\n");
        for (const QString &line : lines.mid(1, lines.size() - 2))
            numbers.insert(line.section(u',', 0, 0));
        return numbers;
    };
    EXPECT_EQ(records(current), (QSet<QString>{"2", "4", "5"}));
    EXPECT_EQ(records(all), (QSet<QString>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(run({"--export", all, "--all"}), CommandLine::UsageError);
}

TEST_P(ArchiveTruth, ResetKeepsTheAuditTrailWhichExportsAsCsv)
{
    lumen::test::writeBytes(
        m_dir.filePath("ARC&FILE.DAT"),
        ArchiverSettings::pathsRecord({m_path, lumen::test::samplePath("RESULTS_normal.TXT")}));
    ASSERT_EQ(run({"APPEND"}), CommandLine::Done) << m_err.toStdString();
    ASSERT_EQ(run({"APPEND"}), CommandLine::AlreadyArchived);
    EXPECT_TRUE(m_err.contains("already archived as record 1")) << m_err.toStdString();
    ASSERT_EQ(run({"APPEND", "--again"}), CommandLine::Done);
    ASSERT_EQ(run({"RESET"}), CommandLine::Done);
    ASSERT_EQ(run({"APPEND"}), CommandLine::Done);
    // Numbers go on past the reset: "append record 1" is never said twice.
    EXPECT_EQ(DbPeek(m_path).records()[0]["idxRec#"].toInt(), 3);
    const QString audit = m_dir.filePath("audit.csv");
    ASSERT_EQ(run({"--audit", audit}), CommandLine::Done) << m_err.toStdString();
    const QStringList lines =
        QString::fromUtf8(lumen::test::fileBytes(audit).mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6); // header, four entries, the final line end
    EXPECT_TRUE(lines[0].startsWith("Entry,Time,User,Machine,Action,Record,Column,Old Value,New "
                                    "Value,Database User,Values Digest,Record Values,Hash"));
    EXPECT_EQ(lines[3].section(u',', 4, 5), "reset,");
    // The export is itself an entry, after the file was written.
    EXPECT_EQ(auditActions().last(), "export");
}

TEST_P(ArchiveTruth, ExportsCarryNoFixedWidthPadding)
{
    ASSERT_TRUE(append("RESULTS_normal.TXT"));
    for (const auto kind : {ArchiverModel::ExportKind::Wide, ArchiverModel::ExportKind::Long}) {
        const QString path = m_dir.filePath("out.csv");
        const ArchiverModel::ExportResult result = m_model.exportCsv(path, kind);
        ASSERT_GT(result.rows, 0) << result.error.toStdString();
        const QString text = QString::fromUtf8(lumen::test::fileBytes(path));
        EXPECT_TRUE(text.contains(",\"Soil sample 17 - field B, depth 0-5 cm\","));
        EXPECT_TRUE(text.contains(",SPEC0001.ANS,"));
        EXPECT_FALSE(text.contains("  ,")) << text.left(400).toStdString();
    }
}

TEST_P(ArchiveTruth, AnArchiveOfLastMonthsLayoutOpensAndGetsTheNewColumns)
{
    {
        ResultsDatabase db(m_path);
        QSqlQuery query(db.connection());
        for (const char *sql :
             {"CREATE TABLE \"SamData\" (\"idxRec#\" SMALLINT, \"File Name\" VARCHAR(255), "
              "\"ID Text\" VARCHAR(128), \"Date & time\" VARCHAR(30), \"Sample Date\" "
              "VARCHAR(24), \"Counting Time\" VARCHAR(16), \"DT %\" VARCHAR(16))",
              "INSERT INTO \"SamData\" (\"idxRec#\", \"ID Text\") VALUES (1, 'old one')",
              "INSERT INTO \"SamData\" (\"idxRec#\", \"ID Text\") VALUES (2, 'old two')",
              "CREATE TABLE \"SamRecords\" (\"Record\" BIGINT, \"idxRec#\" INTEGER, \"File Name\" "
              "VARCHAR(255), \"ID Text\" VARCHAR(128), \"Date & time\" VARCHAR(30), \"Sample "
              "Date\" VARCHAR(24), \"Counting Time\" DOUBLE PRECISION, \"DT %\" DOUBLE PRECISION, "
              "\"Mode\" VARCHAR(8), \"Archived\" VARCHAR(20))",
              "INSERT INTO \"SamRecords\" (\"Record\", \"idxRec#\", \"ID Text\", \"Mode\") VALUES "
              "(1, 1, 'old one', 'ACTIVITY')",
              "CREATE TABLE \"SamAudit\" (\"Entry\" BIGINT PRIMARY KEY, \"Time\" VARCHAR(32), "
              "\"User\" VARCHAR(64), \"Machine\" VARCHAR(255), \"Action\" VARCHAR(16), "
              "\"Record\" BIGINT, \"Column\" VARCHAR(255), \"Old Value\" VARCHAR(255), "
              "\"New Value\" VARCHAR(255))",
              "INSERT INTO \"SamAudit\" (\"Entry\", \"Action\", \"Record\") VALUES (1, "
              "'append', 1), (2, 'append', 2)"})
            ASSERT_TRUE(query.exec(QString::fromLatin1(sql))) << sql;
    }
    ASSERT_TRUE(append("RESULTS_normal.TXT"));
    EXPECT_EQ(m_model.numbRecText(), "3");
    DbPeek peek(m_path);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamRecords\" WHERE \"Sha256\" IS NOT NULL AND "
                         "\"Superseded By\" IS NULL AND \"Record\" = 3"),
              1);
    EXPECT_EQ(auditActions(), (QStringList{"append", "append", "append"}));
    EXPECT_EQ(peek.records().size(), 3);
    EXPECT_TRUE(peek.allColumns().contains(ResultsDatabase::supersededColumn()));
    // The first change after the upgrade starts the chain; --verify says from where.
    lumen::test::writeBytes(m_dir.filePath("ARC&FILE.DAT"),
                            ArchiverSettings::pathsRecord({m_path, m_model.rpath()}));
    ASSERT_EQ(run({"--verify"}), CommandLine::Done) << m_err.toStdString();
    EXPECT_TRUE(m_out.contains("covers audit entries 3 to 3 (2 earlier entries predate it)"))
        << m_out.toStdString();
    EXPECT_TRUE(m_out.contains("Records from 3 on are covered; 1 records checked, 2 archived "
                               "before the chain started"))
        << m_out.toStdString();
}

LEDGERLY_ON_BOTH_BACKENDS(ArchiveTruth);
