#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/dbtests/ArchiveBackend.h"
#include "ledgerly/tests/DbPeek.h"

#include <QSet>
#include <memory>
#include <vector>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;
using lumen::test::ProgramFolder;

namespace {

// The built program in two folders of its own, one per report kind, their
// settings naming the same server.
class ServerProgram : public lumen::ledgerly::test::ArchiveBackendTest
{
protected:
    void SetUp() override
    {
        ArchiveBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *report : {"RESULTS_normal.TXT", "RESULTS_corrcoeff.TXT"}) {
            auto folder = std::make_unique<ProgramFolder>(QStringList{LEDGERLY_EXE});
            ASSERT_TRUE(lumen::test::writeBytes(
                folder->filePath(QStringLiteral("ARC&FILE.DAT")),
                ArchiverSettings::pathsRecord({m_path, lumen::test::samplePath(report)})));
            m_folders.push_back(std::move(folder));
        }
    }

    std::vector<std::unique_ptr<ProgramFolder>> m_folders;
};

} // namespace

TEST_P(ServerProgram, EightAppendsOfTwoKindsStartedTogetherAllLandOnce)
{
    // Every process finds no table and makes it (or waits for it), and each
    // new column is wanted by two to four processes at the same moment: the
    // net columns of the two report kinds are the same ones.
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < 8; ++i)
        processes.push_back(m_folders[i % 2]->start(
            QString(), {i % 4 < 2 ? QStringLiteral("APPEND") : QStringLiteral("NET"),
                        // the same report goes in many times on purpose
                        QStringLiteral("--again")}));
    for (auto &process : processes) {
        const lumen::test::ProgramRun ran = ProgramFolder::finish(*process, 180000);
        EXPECT_EQ(ran.status, 0) << ran.err.toStdString();
    }
    DbPeek peek(m_path);
    const auto records = peek.records();
    ASSERT_EQ(records.size(), 8);
    QSet<int> numbers;
    for (const auto &record : records)
        numbers.insert(record["idxRec#"].toInt());
    EXPECT_EQ(numbers, (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8}));

    const QStringList columns = peek.columns();
    EXPECT_EQ(columns.mid(0, 7), ResultsDatabase::fixedColumns());
    const QStringList added = columns.mid(7);
    const QSet<QString> expected{
        "CS-137",        "CO-60@LINE1",   "CO-60@LINE2",   "K-40",       // ordinary, activity
        "CS-137@661:66", "CO-60@1173:23", "CO-60@1332:49",               // other layout, activity
        "CS-137@NET1",   "CO-60@NET1",    "CO-60@NET2",    "K-40@NET1"}; // net, both kinds
    // No column made twice.
    EXPECT_EQ(added.size(), expected.size());
    EXPECT_EQ(QSet<QString>(added.cbegin(), added.cend()), expected);

    int netRecords = 0, withPotassium = 0;
    for (const auto &record : records) {
        netRecords += record["CO-60@NET2"].isNull() ? 0 : 1;
        withPotassium += record["K-40@NET1"].isNull() ? 0 : 1;
    }
    EXPECT_EQ(netRecords, 4);
    EXPECT_EQ(withPotassium, 2);
}

TEST_P(ServerProgram, AFailureOnTheServerIsSaidOnceWithoutTheDriversNoise)
{
    const lumen::test::ProgramRun first = m_folders[0]->run(QString(), {QStringLiteral("APPEND")});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    ASSERT_TRUE(DbPeek(m_path).exec("ALTER TABLE \"SamRecords\" ADD CONSTRAINT \"refuse\" CHECK "
                                    "(\"Record\" < 0) NOT VALID"));
    const lumen::test::ProgramRun refused =
        m_folders[1]->run(QString(), {QStringLiteral("APPEND")});
    EXPECT_EQ(refused.status, 4);
    EXPECT_TRUE(refused.err.contains("refuse")) << refused.err.toStdString();
    EXPECT_FALSE(refused.err.contains("Unable to free statement")) << refused.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Archive, ServerProgram, ::testing::Values("server"),
                         lumen::ledgerly::test::backendName);
