#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/tests/DbPeek.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;

namespace {

// The built program, copied into a folder of its own with its settings beside it.
class LedgerlyProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_db = m_dir.filePath("archive/results.db");
        QDir(m_dir.path()).mkpath("archive");
        lumen::test::writeBytes(
            m_dir.filePath("ARC&FILE.DAT"),
            ArchiverSettings::pathsRecord({m_db, lumen::test::samplePath("RESULTS_normal.TXT")}));
    }

    std::unique_ptr<QProcess> start(const QStringList &args)
    {
        return m_dir.start(QString(), args);
    }

    /** The status of a started run; its stderr is kept. */
    int finish(QProcess &process)
    {
        const lumen::test::ProgramRun ran = lumen::test::ProgramFolder::finish(process, 120000);
        m_stderr = ran.err;
        return ran.status;
    }

    int runToEnd(const QStringList &args)
    {
        const lumen::test::ProgramRun ran = m_dir.run(args);
        m_stderr = ran.err;
        return ran.status;
    }

    lumen::test::ProgramFolder m_dir{{QStringLiteral(LEDGERLY_EXE)}};
    QString m_db, m_stderr;
};

} // namespace

TEST_F(LedgerlyProgram, AppendAndBackgroundRunsLeaveTwoRecords)
{
    const QByteArray settings = lumen::test::fileBytes(m_dir.filePath("ARC&FILE.DAT"));
    ASSERT_EQ(runToEnd({"append"}), 0) << m_stderr.toStdString();
    ASSERT_EQ(runToEnd({"bkg"}), 0) << m_stderr.toStdString();
    EXPECT_EQ(lumen::test::fileBytes(m_dir.filePath("ARC&FILE.DAT")), settings);

    DbPeek peek(m_db);
    EXPECT_EQ(peek.columns(),
              (QStringList{"idxRec#", "File Name", "ID Text", "Date & time", "Sample Date",
                           "Counting Time", "DT %", "CS-137", "CO-60@LINE1", "CO-60@LINE2", "K-40",
                           "CS-137@BKG1", "CO-60@BKG1", "CO-60@BKG2", "K-40@BKG1"}));
    const auto records = peek.records();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0]["CO-60@LINE1"].toString(), "3.047");
    EXPECT_TRUE(records[0]["CO-60@BKG1"].isNull());
    EXPECT_EQ(records[1]["idxRec#"].toInt(), 2);
    EXPECT_EQ(records[1]["CO-60@BKG1"].toString(), "402");
    EXPECT_EQ(records[1]["K-40@BKG1"].toString(), "520");
}

TEST_F(LedgerlyProgram, EightProcessesStartedTogetherAllLand)
{
    ASSERT_EQ(runToEnd({"APPEND"}), 0) << m_stderr.toStdString();
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < 8; ++i)
        processes.push_back(start({i % 2 ? "NET" : "APPEND", "--again"}));
    for (auto &process : processes)
        EXPECT_EQ(finish(*process), 0) << m_stderr.toStdString();
    DbPeek peek(m_db);
    const auto records = peek.records();
    ASSERT_EQ(records.size(), 9);
    QSet<int> numbers;
    for (const auto &record : records)
        numbers.insert(record["idxRec#"].toInt());
    EXPECT_EQ(numbers.size(), 9);
    EXPECT_EQ(peek.columns().size(), 15); // no column added twice
}

TEST_F(LedgerlyProgram, EightProcessesMakingANewDatabaseTogetherAllLand)
{
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < 8; ++i)
        processes.push_back(start({"gross", "--again"}));
    for (auto &process : processes)
        EXPECT_EQ(finish(*process), 0) << m_stderr.toStdString();
    DbPeek peek(m_db);
    EXPECT_EQ(peek.records().size(), 8);
    EXPECT_EQ(peek.columns().size(), 11);
}

TEST_F(LedgerlyProgram, ResetRacingAppendEndsInSecondsWithOneWinningWhole)
{
    ASSERT_EQ(runToEnd({"APPEND"}), 0) << m_stderr.toStdString();
    for (int round = 0; round < 4; ++round) {
        QElapsedTimer timer;
        timer.start();
        auto append = start({"APPEND", "--again"});
        auto reset = start({"RESET"});
        EXPECT_EQ(finish(*append), 0) << m_stderr.toStdString();
        EXPECT_EQ(finish(*reset), 0) << m_stderr.toStdString();
        EXPECT_LT(timer.elapsed(), 20000);
        // The reset came last (nothing) or the append did (its one whole record).
        DbPeek peek(m_db);
        const auto records = peek.records();
        ASSERT_LE(records.size(), 1);
        if (!records.isEmpty()) {
            // A reset never gives a number again: the first append had 1.
            EXPECT_GE(records[0]["idxRec#"].toInt(), round + 2);
            EXPECT_EQ(records[0]["CO-60@LINE1"].toString(), "3.047");
        }
    }
}

TEST_F(LedgerlyProgram, FailuresEndNonZeroWithTheMessageOnStderr)
{
    lumen::test::writeBytes(
        m_dir.filePath("ARC&FILE.DAT"),
        ArchiverSettings::pathsRecord({m_db, m_dir.filePath("none/RESULTS.TXT")}));
    EXPECT_EQ(runToEnd({"APPEND"}), 2) << "report not opened";
    EXPECT_TRUE(m_stderr.contains("Invalid path or file name")) << m_stderr.toStdString();
    EXPECT_FALSE(QFile::exists(m_db));
    // Without a display and without a word there is nobody to close the window.
    EXPECT_EQ(runToEnd({}), 1);
    EXPECT_EQ(runToEnd({"--version"}), 0);
}
