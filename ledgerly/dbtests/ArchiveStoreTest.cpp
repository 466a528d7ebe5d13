#include "common/core/Failure.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/dbtests/ArchiveBackend.h"
#include "ledgerly/tests/DbPeek.h"
#include "ledgerly/tests/ReportText.h"

#include <atomic>
#include <thread>
#include <vector>

#include <QSqlQuery>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;

namespace {

class ArchiveStore : public lumen::ledgerly::test::ArchiverOnBackendTest
{
protected:
    void SetUp() override
    {
        ArchiverOnBackendTest::SetUp();
        m_model.setAppendAgain(true); // the same sample goes in many times
    }

    void readSample(const char *name)
    {
        m_model.setRpath(lumen::test::samplePath(name));
        ASSERT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    }
};

NewRecord recordWith(const QList<NewRecord::Value> &values)
{
    NewRecord record;
    record.fileName = QStringLiteral("S1.SPM");
    record.idText = QStringLiteral("sample");
    record.values = values;
    return record;
}

} // namespace

TEST_P(ArchiveStore, ResetAppendsAndColumnGrowthBehaveAlike)
{
    m_model.setBlindFlag(true);
    ASSERT_TRUE(m_model.createDb());
    EXPECT_EQ(m_model.numFieldsText(), "8");
    {
        DbPeek peek(m_path);
        EXPECT_EQ(peek.columns(), ResultsDatabase::fixedColumns());
        EXPECT_EQ(peek.indexes(), QStringList{"idxSeq"});
    }
    m_model.setBlindFlag(false);

    readSample("RESULTS_normal.TXT");
    ASSERT_TRUE(m_model.appendIt());
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numFieldsText(), "12");
    EXPECT_EQ(m_model.numbRecText(), "2");
    m_model.setAppendMode(3);
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numFieldsText(), "16");
    EXPECT_TRUE(m_operator.prompts().isEmpty());

    {
        DbPeek peek(m_path);
        EXPECT_EQ(peek.columns().mid(7),
                  (QStringList{"CS-137", "CO-60@LINE1", "CO-60@LINE2", "K-40", "CS-137@BKG1",
                               "CO-60@BKG1", "CO-60@BKG2", "K-40@BKG1"}));
        const auto records = peek.records();
        ASSERT_EQ(records.size(), 3);
        EXPECT_EQ(records[1]["idxRec#"].toInt(), 2);
        EXPECT_EQ(records[1]["CO-60@LINE1"].toString(), "3.047");
        EXPECT_TRUE(records[1]["CO-60@BKG1"].isNull());
        EXPECT_EQ(records[2]["CO-60@BKG1"].toString(), "402");
        EXPECT_TRUE(records[2]["ID Text"].toString().contains("Soil sample 17"));
    }

    // The reset leaves nothing of the old table.
    m_model.setBlindFlag(true);
    ASSERT_TRUE(m_model.createDb());
    DbPeek peek(m_path);
    EXPECT_EQ(peek.columns().size(), 7);
    EXPECT_TRUE(peek.records().isEmpty());
}

TEST_P(ArchiveStore, AnAppendWithNoTableMakesItSilently)
{
    readSample("RESULTS_normal.TXT");
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numbRecText(), "1");
    EXPECT_EQ(m_model.numFieldsText(), "12");
    EXPECT_TRUE(m_operator.prompts().isEmpty()) << m_operator.messages().join(" / ").toStdString();
}

TEST_P(ArchiveStore, ValueTextsLongerThanTenCharactersAreStoredWhole)
{
    ResultsDatabase db(m_path);
    db.ensureSchema();
    NewRecord record = recordWith({{"CS-137", -1.234568e-05f}, {"K-40", 3.4028235e38f}});
    record.countingTime = 12345678.0f;
    record.deadTime = -0.000123f;
    db.append(record);
    const auto records = DbPeek(m_path).records();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0]["CS-137"].toString(), "-0.00001234568");
    EXPECT_EQ(records[0]["K-40"].toString(), "3.402823E+38");
    EXPECT_EQ(records[0]["Counting Time"].toString(), "1.234568E+07");
    EXPECT_EQ(records[0]["DT %"].toString(), "-0.000123");
}

TEST_P(ArchiveStore, ColumnNamesKeepTheirSpellingWithinWhatTheStoreHolds)
{
    ResultsDatabase db(m_path);
    db.ensureSchema();
    const QString longest63(63, u'N');
    const QString long64(64, u'L');
    db.append(recordWith({{"K-40", 1.0f}, {"CO-60@LINE1", 2.0f}, {longest63, 3.0f}}));
    const AppendCounts counts =
        db.append(recordWith({{"k-40", 4.0f}, {long64, 5.0f}, {"Ra-226 (Bi)", 6.0f}}));

    DbPeek peek(m_path);
    const QStringList columns = peek.columns().mid(7);
    EXPECT_EQ(counts.fieldCount, 8 + columns.size());
    const auto records = peek.records();
    ASSERT_EQ(records.size(), 2); // what cannot be stored never costs the record
    EXPECT_EQ(records[0][longest63].toString(), "3");
    EXPECT_EQ(records[1]["Ra-226 (Bi)"].toString(), "6");
    if (onServer()) {
        // Quoted names keep their letter case; a name the server would cut is left out.
        EXPECT_EQ(columns, (QStringList{"K-40", "CO-60@LINE1", longest63, "k-40", "Ra-226 (Bi)"}));
        EXPECT_EQ(records[1]["k-40"].toString(), "4");
        EXPECT_TRUE(records[1]["K-40"].isNull());
    } else {
        EXPECT_EQ(columns, (QStringList{"K-40", "CO-60@LINE1", longest63, long64, "Ra-226 (Bi)"}));
        EXPECT_TRUE(records[1]["K-40"].isNull());
        EXPECT_EQ(records[1][long64].toString(), "5");
    }
}

TEST_P(ArchiveStore, PastTheRecordCapOnlyTheLongTablesTakeTheRecord)
{
    ResultsDatabase db(m_path);
    db.ensureSchema();
    // The record number column cannot hold the next number.
    ASSERT_TRUE(
        QSqlQuery(db.connection()).exec("INSERT INTO \"SamData\" (\"idxRec#\") VALUES (1)"));
    for (int i = 0; i < 4; ++i) // 5 records so far
        db.append(recordWith({}));
    EXPECT_EQ(db.recordCount(), 5);
    // Stand in for a full table: records 6 to 32767, so the next would be number 32768.
    const QString fill =
        onServer()
            ? QStringLiteral("INSERT INTO \"SamData\" (\"idxRec#\") SELECT g + 5 FROM "
                             "generate_series(1, 32762) g")
            : QStringLiteral(
                  "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32762) "
                  "INSERT INTO \"SamData\" (\"idxRec#\") SELECT i + 5 FROM n");
    ASSERT_TRUE(QSqlQuery(db.connection()).exec(fill));
    const AppendCounts counts = db.append(recordWith({{"NEW-1", 1.5f, "NEW", 1, 100.0f}}));
    EXPECT_FALSE(counts.wideRecord);
    ASSERT_EQ(counts.wideLeftOut.size(), 1);
    EXPECT_TRUE(counts.wideLeftOut[0].contains("the archive is full"));
    EXPECT_EQ(db.recordCount(), 32767);
    DbPeek peek(m_path);
    EXPECT_FALSE(peek.columns().contains("NEW-1"));
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamRecords\""), 5); // 4 appends + this one
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamRecords\" WHERE \"idxRec#\" IS NULL AND "
                         "\"Record\" = " +
                         QString::number(counts.record)),
              1);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamResults\" WHERE \"Column\" = 'NEW-1' AND "
                         "\"Value\" = 1.5 AND \"Energy\" = 100 AND \"Line\" = 1"),
              1);
}

namespace {

// A report of `blocks` nuclides "N<i>-<block>" of 25 lines each, new names every `tag`.
QByteArray bigReport(int blocks, const QString &tag)
{
    QStringList lines{QStringLiteral("ID: big report ") + tag,
                      QStringLiteral("File: BIG.ANS           Date: 07-Dec-2026 10:00:00"),
                      QStringLiteral("LT:     3600.00 s   RT:     3661.40 s   DT:    1.68%"),
                      QStringLiteral("Activities reported as of Measurement Date")};
    for (int b = 1; b <= blocks; ++b) {
        QStringList rows;
        for (int r = 1; r <= 25; ++r)
            rows << lumen::ledgerly::test::normalRow(
                QString::number(100 + b * 10 + r), QString::number(1000 + r),
                QString::number(900 + r), QStringLiteral("%1.5").arg(r));
        lines << lumen::ledgerly::test::normalBlock(QStringLiteral("%1%2").arg(tag).arg(b), rows);
    }
    lines << QStringLiteral("end");
    return lumen::ledgerly::test::wholeReportBytes(lines);
}

} // namespace

TEST_P(ArchiveStore, AHundredNuclideReportArchivesInFullInEachOfTheFourModes)
{
    const QString report = m_dir.filePath("big.txt");
    ASSERT_TRUE(lumen::test::writeBytes(report, bigReport(100, "X")));
    m_model.setRpath(report);
    m_model.setBlindFlag(true);
    ASSERT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    ASSERT_EQ(m_model.report().nuclideCount, 100);
    for (int mode = 0; mode < 4; ++mode) {
        m_model.setAppendMode(mode);
        ASSERT_TRUE(m_model.appendIt()) << mode;
        // Past the wide table's column limit from the first mode on.
        ASSERT_FALSE(m_model.lastWideLeftOut().isEmpty()) << mode;
        EXPECT_TRUE(m_model.lastWideLeftOut().join(u' ').contains("columns")) << mode;
    }
    DbPeek peek(m_path);
    EXPECT_LE(peek.columns().size(), onServer() ? 1600 : 2000);
    EXPECT_EQ(peek.records().size(), 4);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamRecords\""), 4);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamResults\""), 4 * 2500);
    EXPECT_EQ(peek.count("SELECT COUNT(DISTINCT \"Column\") FROM \"SamResults\""), 4 * 2500);
    // Spot checks of each mode's value: row 7 of block 100 (gross 1007, net 907, activity 7.5).
    const struct
    {
        const char *mode, *column;
        double value;
    } spots[] = {{"ACTIVITY", "X100@LINE7", 7.5},
                 {"NET", "X100@NET7", 907},
                 {"GROSS", "X100@GROSS7", 1007},
                 {"BKG", "X100@BKG7", 100}};
    for (const auto &spot : spots) {
        EXPECT_EQ(peek.count(QStringLiteral("SELECT COUNT(*) FROM \"SamResults\" r JOIN "
                                            "\"SamRecords\" s ON s.\"Record\" = r.\"Record\" "
                                            "WHERE s.\"Mode\" = '%1' AND r.\"Column\" = '%2' AND "
                                            "r.\"Value\" = %3 AND r.\"Nuclide\" = 'X100' AND "
                                            "r.\"Line\" = 7")
                                 .arg(spot.mode, spot.column)
                                 .arg(spot.value)),
                  1)
            << spot.mode;
    }
}

TEST_P(ArchiveStore, EightConcurrentAppendersWithNewNuclidesLeaveEveryValue)
{
    ResultsDatabase(m_path).ensureSchema();
    constexpr int kAppenders = 8;
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < kAppenders; ++t) {
        threads.emplace_back([&, t] {
            try {
                ResultsDatabase db(m_path);
                NewRecord record = recordWith({});
                record.idText = QStringLiteral("appender %1").arg(t);
                for (int v = 1; v <= 40; ++v)
                    record.values.append({QStringLiteral("T%1-%2").arg(t).arg(v), float(v),
                                          QStringLiteral("T%1").arg(t), v, float(v * 10)});
                db.append(record);
            } catch (const lumen::Failure &) {
                ++failures;
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    DbPeek peek(m_path);
    EXPECT_EQ(peek.records().size(), kAppenders);
    EXPECT_EQ(peek.columns().size(), 7 + kAppenders * 40);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamRecords\""), kAppenders);
    EXPECT_EQ(peek.count("SELECT COUNT(DISTINCT \"idxRec#\") FROM \"SamRecords\""), kAppenders);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamResults\""), kAppenders * 40);
    // Every value sits under the record of the report it came from.
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamResults\" r JOIN \"SamRecords\" s ON "
                         "s.\"Record\" = r.\"Record\" WHERE s.\"ID Text\" = 'appender ' || "
                         "SUBSTR(r.\"Nuclide\", 2)"),
              kAppenders * 40);
}

LEDGERLY_ON_BOTH_BACKENDS(ArchiveStore);
