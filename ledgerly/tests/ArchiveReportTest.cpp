#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/core/CommandLine.h"
#include "ledgerly/core/ReportCompleteness.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/tests/DbPeek.h"
#include "ledgerly/tests/ReportText.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace lumen::ledgerly;
using namespace lumen::ledgerly::test;

namespace {

// Unattended runs in process, on a report and an archive of the test's own.
class ArchiveReport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_db = m_dir.filePath("results.db");
        m_report = m_dir.filePath("RESULTS.TXT");
        lumen::test::writeBytes(m_dir.filePath("ARC&FILE.DAT"),
                                ArchiverSettings::pathsRecord({m_db, m_report}));
    }

    int run(const QStringList &args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        return CommandLine::run(args, out, err, m_dir.path());
    }

    int appendReport(const QStringList &lines)
    {
        lumen::test::writeBytes(m_report, wholeReportBytes(lines));
        return run({"APPEND"});
    }

    QTemporaryDir m_dir;
    QString m_db, m_report, m_out, m_err;
};

} // namespace

TEST_F(ArchiveReport, ATextWithoutAReportsSectionsIsRefusedWhateverMarkerItHolds)
{
    const QStringList email{"From: lab@example.org", "Date: Mon, 7 Dec 2026 10:00:00 +0100",
                            "Subject: DT: 5%", "", "See you at the ID: desk."};
    EXPECT_EQ(appendReport(email), CommandLine::ReportEmpty);
    EXPECT_TRUE(m_err.contains("Not a results report")) << m_err.toStdString();
    // A header without its activity date line is no whole report either.
    EXPECT_EQ(appendReport(reportHeader("x").mid(0, 3)), CommandLine::ReportEmpty);
    EXPECT_FALSE(QFileInfo::exists(m_db) && DbPeek(m_db).records().size() > 0);
}

TEST_F(ArchiveReport, OnlyAWholeReportThatStoppedGrowingIsArchived)
{
    const QByteArray whole = lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT"));
    const QByteArray corr =
        lumen::test::fileBytes(lumen::test::samplePath("RESULTS_corrcoeff.TXT"));
    const qsizetype closing = whole.indexOf("PEAK SEARCH");
    const struct
    {
        QByteArray bytes;
        bool growing;
        const char *said;
    } cases[] = {{whole.left(closing), false, "lacks its closing section"},
                 {whole.left(closing + 5), false, "lacks its closing section"},
                 {whole.chopped(3), false, "no line end"},
                 {corr.chopped(2), false, "no line end"},
                 {whole, true, "still being written"}};
    for (const auto &c : cases) {
        lumen::test::writeBytes(m_report, c.bytes);
        // A writer adds a line while the report settles.
        lumen::ledgerly::ReportCompleteness::setPause([&](const QString &path) {
            if (c.growing)
                lumen::test::writeBytes(path, c.bytes + "   5   1.00  2.00  3.00  4\r\n");
        });
        EXPECT_EQ(run({"APPEND"}), CommandLine::ReportEmpty) << c.said;
        EXPECT_TRUE(m_err.contains("is not complete")) << m_err.toStdString();
        EXPECT_TRUE(m_err.contains(QString::fromLatin1(c.said))) << m_err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(m_db));
    }
    lumen::ledgerly::ReportCompleteness::setPause([](const QString &) {});
    for (const QByteArray &report : {whole, corr}) {
        lumen::test::writeBytes(m_report, report);
        EXPECT_EQ(run({"APPEND"}), CommandLine::Done) << m_err.toStdString();
    }
}

TEST_F(ArchiveReport, AnUnknownLineInAPeakTableIsArchivedWithAWarningNamingIt)
{
    QStringList lines = reportHeader("new layout");
    lines << normalBlock("CS-137", {normalRow("661.66", "100", "90", "1.5"),
                                    "Σ peaks  summed over the region: 190"});
    EXPECT_EQ(appendReport(lines), CommandLine::ReportEmpty);
    EXPECT_TRUE(m_err.contains("summed over the region")) << m_err.toStdString();
    EXPECT_EQ(DbPeek(m_db).records().size(), 1);
}

TEST_F(ArchiveReport, EveryLineOfAHugeReportReachesTheLongTables)
{
    // 5,000 nuclide lines: 120 blocks of 40 rows (four names over again, so
    // the wide table stays small) and 200 blocks of one.
    QStringList lines = reportHeader("huge");
    for (int b = 1; b <= 120; ++b) {
        QStringList rows;
        for (int r = 1; r <= 40; ++r)
            rows << normalRow(QString::number(100 + r), "100", "90", QString::number(b + r));
        lines << normalBlock(QStringLiteral("A%1").arg(b % 4), rows);
    }
    for (int b = 1; b <= 200; ++b)
        lines << normalBlock(QStringLiteral("B%1").arg(b), {normalRow("500", "10", "9", "1")});
    lines << "end";
    ASSERT_EQ(appendReport(lines), CommandLine::Done) << m_err.toStdString();
    EXPECT_TRUE(m_err.contains("Record archived, but\n\"SamData\" did not take 220 nuclide blocks "
                               "past its limit of 100"))
        << m_err.toStdString();
    EXPECT_TRUE(m_err.contains("1500 peak rows past its limit of 25")) << m_err.toStdString();
    DbPeek peek(m_db);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamResults\""), 5000);
    EXPECT_EQ(peek.columns().size(), 7 + 4 * 25);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamResults\" WHERE \"Column\" = 'A1@LINE40' AND "
                         "\"Line\" = 40"),
              30);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM \"SamResults\" WHERE \"Column\" = 'B200'"), 1);
    const QString csv = m_dir.filePath("long.csv");
    ASSERT_EQ(run({"--export", csv, "--long"}), CommandLine::Done);
    EXPECT_TRUE(m_out.startsWith("Exported 5000 values to " + csv + " (audit chain head: entry "))
        << m_out.toStdString();
}

TEST_F(ArchiveReport, AFullDiskIsSaidAsSuchAndAFullWideTableIsNotCalledAppended)
{
    lumen::test::writeBytes(m_report,
                            lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT")));
    ASSERT_EQ(run({"APPEND"}), CommandLine::Done);
    {
        // The engine's own page limit stands in for the disk: the same failure.
        ResultsDatabase db(m_db);
        QSqlQuery(db.connection()).exec("PRAGMA max_page_count = 1");
        NewRecord record;
        for (int i = 0; i < 300; ++i)
            record.values.append({QStringLiteral("N%1").arg(i), 1.5f, "N", 1, 100.0f});
        try {
            db.append(record);
            ADD_FAILURE() << "no failure on a full archive";
        } catch (const lumen::Failure &failure) {
            EXPECT_TRUE(failure.description().contains("full"))
                << failure.description().toStdString();
            EXPECT_FALSE(failure.description().contains("savepoint"));
        }
    }
    ASSERT_TRUE(DbPeek(m_db).exec("INSERT INTO \"SamData\" (\"idxRec#\") VALUES (32767)"));
    ASSERT_EQ(run({"APPEND", "--again"}), CommandLine::Done);
    EXPECT_TRUE(m_out.startsWith("Record 32768 appended")) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains("\"SamData\" is full")) << m_out.toStdString();
}
