#include "common/core/Failure.h"
#include "common/core/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/dbtests/ArchiveBackend.h"
#include "ledgerly/tests/DbPeek.h"

#include <QSqlQuery>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;

namespace {

class ArchiveStore : public lumen::ledgerly::test::ArchiveBackendTest
{
protected:
    void SetUp() override
    {
        ArchiveBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_model.setOperator(&m_operator);
        m_model.apath = m_path;
    }

    void readSample(const char *name)
    {
        m_model.rpath = lumen::test::samplePath(name);
        ASSERT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    }

    lumen::ScriptedOperator m_operator;
    ArchiverModel m_model;
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
    m_model.blindFlag = true;
    ASSERT_TRUE(m_model.createDb());
    EXPECT_EQ(m_model.numFields, "7");
    {
        DbPeek peek(m_path);
        EXPECT_EQ(peek.columns(), ResultsDatabase::fixedColumns());
        EXPECT_EQ(peek.indexes(), QStringList{"idxSeq"});
    }
    m_model.blindFlag = false;

    readSample("RESULTS_normal.TXT");
    ASSERT_TRUE(m_model.appendIt());
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numFields, "11");
    EXPECT_EQ(m_model.numbRec, "2");
    m_model.appendMode = 3;
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numFields, "15");
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
    m_model.blindFlag = true;
    ASSERT_TRUE(m_model.createDb());
    DbPeek peek(m_path);
    EXPECT_EQ(peek.columns().size(), 7);
    EXPECT_TRUE(peek.records().isEmpty());
}

TEST_P(ArchiveStore, AnAppendWithNoTableMakesItSilently)
{
    readSample("RESULTS_normal.TXT");
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numbRec, "1");
    EXPECT_EQ(m_model.numFields, "11");
    EXPECT_TRUE(m_operator.prompts().isEmpty());
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
    EXPECT_EQ(counts.fieldCount, 7 + columns.size());
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

TEST_P(ArchiveStore, AFailedAppendLeavesNoHalfRecordAndNoNewColumn)
{
    ResultsDatabase db(m_path);
    db.ensureSchema();
    // The record number column cannot hold the next number.
    ASSERT_TRUE(
        QSqlQuery(db.connection()).exec("INSERT INTO \"SamData\" (\"idxRec#\") VALUES (1)"));
    for (int i = 0; i < 4; ++i) // 5 records so far
        db.append(recordWith({}));
    EXPECT_EQ(db.recordCount(), 5);
    // Stand in for a full table: each further record would be number 32768.
    const QString fill =
        onServer()
            ? QStringLiteral(
                  "INSERT INTO \"SamData\" (\"idxRec#\") SELECT 1 FROM generate_series(1, 32762)")
            : QStringLiteral(
                  "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32762) "
                  "INSERT INTO \"SamData\" (\"idxRec#\") SELECT 1 FROM n");
    ASSERT_TRUE(QSqlQuery(db.connection()).exec(fill));
    EXPECT_THROW(db.append(recordWith({{"NEW-1", 1.0f}})), lumen::Failure);
    EXPECT_EQ(db.recordCount(), 32767);
    EXPECT_FALSE(DbPeek(m_path).columns().contains("NEW-1"));
}

LEDGERLY_ON_BOTH_BACKENDS(ArchiveStore);
