#include "ledgerly/core/ArchiverModel.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ReportReader.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/tests/DbPeek.h"
#include "ledgerly/tests/ReportText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;
using lumen::ledgerly::test::normalBlock;
using lumen::ledgerly::test::normalRow;
using lumen::ledgerly::test::reportBytes;
using lumen::ledgerly::test::reportHeader;
using lumen::ledgerly::test::wholeReportBytes;

namespace {

class ArchiverModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_model.setOperator(&m_operator);
        // These tests append one report many times on purpose.
        m_model.setAppendAgain(true);
        m_model.setApath(m_dir.filePath("results.db"));
        m_model.setRpath(lumen::test::samplePath("RESULTS_normal.TXT"));
    }

    QString db() const { return m_dir.filePath("results.db"); }

    void readSample(const char *name)
    {
        m_model.setRpath(lumen::test::samplePath(name));
        ASSERT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    }

    QTemporaryDir m_dir;
    lumen::ScriptedOperator m_operator;
    ArchiverModel m_model;
};

} // namespace

TEST_F(ArchiverModelTest, ReadUpdatesTheIdAndIsotopeLabels)
{
    EXPECT_EQ(m_model.currentFileText(), "null");
    readSample("RESULTS_normal.TXT");
    EXPECT_EQ(m_model.numbIsoText(), "3");
    EXPECT_EQ(m_model.currentFileText(), m_model.report().sampleId);

    // A missing report in an existing folder: an empty file, nothing read, no message.
    m_model.setRpath("  " + m_dir.filePath("missing.txt") + " ");
    EXPECT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Empty);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("missing.txt")));
    EXPECT_EQ(m_model.currentFileText(), "");
    EXPECT_EQ(m_model.numbIsoText(), "3");
    EXPECT_EQ(m_model.report().nuclideCount, 0);
    EXPECT_TRUE(m_operator.messages().isEmpty());
}

TEST_F(ArchiverModelTest, AppendWithNothingReadIsRefusedAndWritesNothing)
{
    EXPECT_FALSE(m_model.appendIt());
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_TRUE(m_operator.messages()[0].contains("Read a report"))
        << m_operator.messages()[0].toStdString();
    EXPECT_FALSE(QFile::exists(db()));
}

TEST_F(ArchiverModelTest, AReportPathThatCannotBeOpenedIsReportedUnlessBlind)
{
    m_model.setRpath(m_dir.filePath("no/such/folder/r.txt"));
    EXPECT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Failed);
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_TRUE(m_operator.messages()[0].startsWith("Invalid path or file name [ " +
                                                    m_model.rpath() + " ] <"));
    EXPECT_EQ(m_operator.prompts()[0].title, "LDP Lumen Archiver 020514");
    m_model.setBlindFlag(true);
    m_operator.clear();
    EXPECT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Failed);
    EXPECT_TRUE(m_operator.messages().isEmpty());
}

TEST_F(ArchiverModelTest, ResetAsksThenMakesTheFreshTable)
{
    m_operator.queueAnswer(lumen::MessageAnswer::No);
    EXPECT_FALSE(m_model.createDb());
    EXPECT_FALSE(QFile::exists(db()));
    EXPECT_EQ(m_operator.messages(),
              QStringList{"Delete ALL data and create a new DataBase, are you SURE ?"});
    EXPECT_EQ(m_operator.prompts()[0].buttons, lumen::MessageButtons::YesNoDefaultNo);

    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    EXPECT_TRUE(m_model.createDb());
    EXPECT_EQ(m_model.numFieldsText(), "8");
    EXPECT_EQ(m_model.numbRecText(), "0");
    DbPeek peek(db());
    EXPECT_EQ(peek.allColumns(),
              ResultsDatabase::fixedColumns() + QStringList{ResultsDatabase::supersededColumn()});
    EXPECT_EQ(peek.indexes(), QStringList{"idxSeq"});
    // The text columns take the empty text.
    EXPECT_TRUE(peek.exec("INSERT INTO \"SamData\" VALUES (1, '', '', '', '', '', '', NULL)"));
}

TEST_F(ArchiverModelTest, ResetReplacesTheWholeFileAndBlindResetFailsSilently)
{
    readSample("RESULTS_normal.TXT");
    ASSERT_TRUE(m_model.appendIt());
    m_model.setBlindFlag(true);
    EXPECT_TRUE(m_model.createDb());
    EXPECT_EQ(DbPeek(db()).records().size(), 0);
    EXPECT_EQ(DbPeek(db()).columns().size(), 7);

    m_model.setApath(m_dir.filePath("nowhere/results.db"));
    EXPECT_FALSE(m_model.createDb());
    EXPECT_TRUE(m_operator.prompts().isEmpty());
    m_model.setBlindFlag(false);
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    EXPECT_FALSE(m_model.createDb());
    EXPECT_EQ(m_operator.messages().last(), "Could not create database: Path not found");
}

TEST_F(ArchiverModelTest, ANewArchiveFollowsTheUsersUmask)
{
    readSample("RESULTS_normal.TXT");
    const mode_t saved = ::umask(0);
    for (const mode_t mask : {mode_t(022), mode_t(002)}) {
        ::umask(mask);
        m_model.setApath(m_dir.filePath(QStringLiteral("mask-%1.db").arg(mask)));
        ASSERT_TRUE(m_model.appendIt());
        struct stat info = {};
        ASSERT_EQ(::stat(QFile::encodeName(m_model.apath()).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << mask;
    }
    ::umask(saved);
}

TEST_F(ArchiverModelTest, AppendMakesAMissingDatabaseAndAddsColumnsOnce)
{
    readSample("RESULTS_normal.TXT");
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_TRUE(m_operator.prompts().isEmpty()); // made without a question
    EXPECT_EQ(m_model.numFieldsText(), "12");
    EXPECT_EQ(m_model.numbRecText(), "1");
    EXPECT_TRUE(m_model.appendButtonRed());
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numbRecText(), "2");

    DbPeek peek(db());
    EXPECT_EQ(peek.columns().mid(7), (QStringList{"CS-137", "CO-60@LINE1", "CO-60@LINE2", "K-40"}));
    const auto records = peek.records();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0]["idxRec#"].toInt(), 1);
    EXPECT_EQ(records[1]["idxRec#"].toInt(), 2);
    const QVariantMap &r = records[0];
    EXPECT_EQ(r["File Name"].toString(), " SPEC0001.ANS     ");
    EXPECT_EQ(r["ID Text"].toString().size(), 72);
    EXPECT_EQ(r["Date & time"].toString(), QString("06-Dec-2026 14:05:09").leftJustified(30));
    EXPECT_EQ(r["Sample Date"].toString(), QString("06-Dec-2026 14:05:09").leftJustified(24));
    EXPECT_EQ(r["Counting Time"].toString(), "3600");
    EXPECT_EQ(r["DT %"].toString(), "1.68");
    EXPECT_EQ(r["CS-137"].toString(), "12.34");
    EXPECT_EQ(r["CO-60@LINE2"].toString(), "3.052");
    EXPECT_EQ(r["K-40"].toString(), "412");
}

TEST_F(ArchiverModelTest, EachModeFillsItsOwnColumns)
{
    readSample("RESULTS_normal.TXT");
    const QStringList expected[4] = {
        {"CS-137", "CO-60@LINE1", "CO-60@LINE2", "K-40"},
        {"CS-137@NET1", "CO-60@NET1", "CO-60@NET2", "K-40@NET1"},
        {"CS-137@GROSS1", "CO-60@GROSS1", "CO-60@GROSS2", "K-40@GROSS1"},
        {"CS-137@BKG1", "CO-60@BKG1", "CO-60@BKG2", "K-40@BKG1"}};
    const QStringList values[4] = {{"12.34", "3.047", "3.052", "412"},
                                   {"12644", "2488", "2300", "5500"},
                                   {"13456", "2890", "2611", "6020"},
                                   {"812", "402", "311", "520"}};
    for (int button = 1; button <= 4; ++button) {
        m_model.selectOption(button);
        ASSERT_TRUE(m_model.appendIt());
    }
    EXPECT_EQ(m_model.numFieldsText(), "24");
    DbPeek peek(db());
    const auto records = peek.records();
    ASSERT_EQ(records.size(), 4);
    for (int mode = 0; mode < 4; ++mode) {
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(records[mode][expected[mode][k]].toString(), values[mode][k]) << mode << k;
        // Columns of the other modes stay empty in this record.
        const int other = (mode + 1) % 4;
        EXPECT_TRUE(records[mode][expected[other][0]].isNull()) << mode;
    }
}

TEST_F(ArchiverModelTest, AlternativeLayoutNamesColumnsByEnergyAndReusesThem)
{
    readSample("RESULTS_corrcoeff.TXT");
    ASSERT_TRUE(m_model.appendIt());
    ASSERT_TRUE(m_model.appendIt());
    DbPeek peek(db());
    EXPECT_EQ(peek.columns().mid(7),
              (QStringList{"CS-137@661:66", "CO-60@1173:23", "CO-60@1332:49"}));
    EXPECT_EQ(peek.records()[1]["CS-137@661:66"].toString(), "3700");
}

TEST_F(ArchiverModelTest, AReportWithoutNuclidesStoresTheFixedColumnsOnly)
{
    m_model.setRpath(m_dir.filePath("bare.txt"));
    lumen::test::writeBytes(m_model.rpath(), wholeReportBytes(reportHeader("bare") << "x"));
    ASSERT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numFieldsText(), "8");
    EXPECT_EQ(DbPeek(db()).records().size(), 1);
}

TEST_F(ArchiverModelTest, SameNamedBlocksShareAColumnAndTheLaterValueWins)
{
    m_model.setRpath(m_dir.filePath("twice.txt"));
    lumen::test::writeBytes(
        m_model.rpath(),
        wholeReportBytes(reportHeader("twice")
                         << normalBlock("K-40", {normalRow("1460.8", "10", "5", "1.5")})
                         << normalBlock("K-40", {normalRow("1460.8", "10", "5", "2.5")}) << "x"));
    ASSERT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    ASSERT_TRUE(m_model.appendIt());
    DbPeek peek(db());
    EXPECT_EQ(peek.columns().size(), 8);
    EXPECT_EQ(peek.records()[0]["K-40"].toString(), "2.5");
}

TEST_F(ArchiverModelTest, NamesTheTableCannotHoldAreSkippedWithoutLosingTheRecord)
{
    // "k-40" differs from the existing "K-40" only in letter case; "A.B.C"
    // keeps a dot after the first becomes a colon.
    readSample("RESULTS_normal.TXT");
    ASSERT_TRUE(m_model.appendIt());
    ReportResult renamed = m_model.report();
    renamed.nuclideCount = 2;
    renamed.blocks[1].nuclideName = "k-40  ";
    renamed.blocks[1].rowCount = 1;
    renamed.blocks[2].nuclideName = "A.B.C ";
    renamed.blocks[2].rowCount = 1;
    m_model.setReport(renamed);
    ASSERT_TRUE(m_model.appendIt());
    EXPECT_EQ(m_model.numFieldsText(), "12");
    EXPECT_EQ(DbPeek(db()).records().size(), 2);
}

TEST_F(ArchiverModelTest, ValuesAreStoredWholeEvenPastTenCharacters)
{
    readSample("RESULTS_normal.TXT");
    ReportResult small = m_model.report();
    small.blocks[1].rows[1].rowActivity = -1.234568e-05f;
    m_model.setReport(small);
    ASSERT_TRUE(m_model.appendIt());
    const QString stored = DbPeek(db()).records()[0]["CS-137"].toString();
    EXPECT_GT(stored.size(), 10);
    EXPECT_FLOAT_EQ(stored.toFloat(), -1.234568e-05f);
}

TEST_F(ArchiverModelTest, ADatabaseThatCannotBeOpenedIsReportedAndKeepsLabelsAndColour)
{
    readSample("RESULTS_normal.TXT");
    lumen::test::writeBytes(db(),
                            QByteArray("this is not a database, just some text").repeated(50));
    m_model.setApath(" " + db());
    EXPECT_FALSE(m_model.appendIt());
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_TRUE(
        m_operator.messages()[0].startsWith("Invalid path or file name [  " + db() + " ] <"));
    EXPECT_EQ(m_model.numbRecText(), "null");
    EXPECT_FALSE(m_model.appendButtonRed());

    m_model.setApath(m_dir.filePath("no/folder/x.db"));
    EXPECT_FALSE(m_model.appendIt());
    EXPECT_FALSE(QFile::exists(m_model.apath()));
}

TEST_F(ArchiverModelTest, PastTheRecordCapTheAppendSucceedsAndSaysTheWideTableIsFull)
{
    m_model.setBlindFlag(true);
    ASSERT_TRUE(m_model.createDb());
    m_model.setBlindFlag(false);
    {
        DbPeek peek(db());
        ASSERT_TRUE(peek.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32767) "
            "INSERT INTO \"SamData\" (\"idxRec#\") SELECT i FROM n"));
    }
    readSample("RESULTS_normal.TXT");
    EXPECT_TRUE(m_model.appendIt());
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_TRUE(m_operator.messages()[0].contains("the archive is full"))
        << m_operator.messages()[0].toStdString();
    EXPECT_TRUE(m_model.appendButtonRed());
    DbPeek peek(db());
    EXPECT_EQ(peek.columns().size(), 7); // no columns for a record the table cannot take
    EXPECT_EQ(peek.records().size(), 32767);
    EXPECT_EQ(m_model.numbRecText(), "32767");
    EXPECT_EQ(m_model.lastRecordNumber(), 32768); // in "SamRecords"
    EXPECT_FALSE(m_model.lastRecordInWideTable());
}
