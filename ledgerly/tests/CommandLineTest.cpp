#include "ledgerly/core/CommandLine.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/tests/DbPeek.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;
using Command = CommandLine::Command;

TEST(CommandLine, WordsAreTestedInOrderInAnyCase)
{
    struct Case
    {
        QStringList args;
        Command command;
        int mode;
    };
    const Case cases[] = {
        {{"APPEND"}, Command::Append, 0},
        {{"append", "bkg"}, Command::Append, 3},
        {{"APPEND", "NET"}, Command::Append, 1},
        {{"Net"}, Command::Append, 1},
        {{"gross"}, Command::Append, 2},
        {{"BKG"}, Command::Append, 3},
        {{"APPEND", "BKG", "NET"}, Command::Append, 3}, // the last test that matches wins
        {{"reset"}, Command::Reset, 0},
        {{"RESET", "APPEND"}, Command::Append, 0},
        {{"RESET", "NET"}, Command::Reset, 0},
        {{}, Command::None, 0},
        {{"view"}, Command::None, 0},
    };
    for (const Case &c : cases) {
        const auto choice = CommandLine::parse(c.args);
        EXPECT_EQ(choice.command, c.command) << c.args.join(' ').toStdString();
        if (c.command == Command::Append) {
            EXPECT_EQ(choice.appendMode, c.mode) << c.args.join(' ').toStdString();
        }
    }
}

namespace {

class CommandLineRun : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    void writePaths(const QString &db, const QString &report)
    {
        lumen::test::writeBytes(m_dir.filePath("ARC&FILE.DAT"),
                                ArchiverSettings::pathsRecord({db, report}));
    }

    int run(const QStringList &args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        return CommandLine::run(args, out, err, m_dir.path());
    }

    QTemporaryDir m_dir;
    QString m_out, m_err;
};

} // namespace

TEST_F(CommandLineRun, AppendsThenResetsWithoutTouchingTheSettings)
{
    const QString db = m_dir.filePath("r.db");
    writePaths(db, lumen::test::samplePath("RESULTS_normal.TXT"));
    const QByteArray settings = lumen::test::fileBytes(m_dir.filePath("ARC&FILE.DAT"));
    EXPECT_EQ(run({"append"}), 0) << m_err.toStdString();
    EXPECT_EQ(run({"Gross"}), 0);
    EXPECT_EQ(m_err, "");
    EXPECT_TRUE(m_out.contains("Record 2"));
    {
        DbPeek peek(db);
        ASSERT_EQ(peek.records().size(), 2);
        EXPECT_EQ(peek.records()[1]["K-40@GROSS1"].toString(), "6020");
    }
    EXPECT_EQ(lumen::test::fileBytes(m_dir.filePath("ARC&FILE.DAT")), settings);
    EXPECT_EQ(run({"RESET"}), 0);
    EXPECT_EQ(DbPeek(db).records().size(), 0);
    EXPECT_EQ(run({"nothing"}), -1);
}

TEST_F(CommandLineRun, AReportThatCannotBeOpenedFailsOnStderrAndWritesNothing)
{
    const QString db = m_dir.filePath("r.db");
    writePaths(db, m_dir.filePath("gone/RESULTS.TXT"));
    EXPECT_EQ(run({"APPEND"}), CommandLine::ReportNotRead);
    EXPECT_TRUE(
        m_err.contains("Invalid path or file name [ " + m_dir.filePath("gone/RESULTS.TXT") + " ]"));
    EXPECT_FALSE(QFile::exists(db));

    writePaths(db, m_dir.filePath("RESULTS.TXT"));
    EXPECT_EQ(run({"APPEND"}), CommandLine::ReportEmpty);
    EXPECT_FALSE(QFile::exists(db));
}

TEST_F(CommandLineRun, ADatabaseThatCannotBeOpenedFailsOnStderr)
{
    writePaths(m_dir.filePath("no/folder/r.db"), lumen::test::samplePath("RESULTS_normal.TXT"));
    EXPECT_EQ(run({"BKG"}), CommandLine::AppendFailed);
    EXPECT_TRUE(m_err.contains("Invalid path or file name [ " + m_dir.filePath("no/folder/r.db")));
    EXPECT_EQ(run({"RESET"}), CommandLine::ResetFailed);
    EXPECT_TRUE(m_err.contains("]: Path not found")) << m_err.toStdString();
    EXPECT_FALSE(QFile::exists(m_dir.filePath("no/folder/r.db")));
}

TEST_F(CommandLineRun, ReportsThatAreNoRegularFileOrNoReportAreRefusedAndArchiveNothing)
{
    const QString db = m_dir.filePath("r.db");
    const QString fifo = m_dir.filePath("fifo.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = m_dir.filePath("folder.txt");
    QDir(m_dir.path()).mkpath("folder.txt");
    const QString notReport = m_dir.filePath("letter.txt");
    lumen::test::writeBytes(notReport, "Dear operator,\r\nthe detector is warm.\r\n");
    const struct
    {
        QString report;
        int status;
        const char *message;
    } cases[] = {{"/dev/zero", CommandLine::ReportNotRead, "Not a regular file"},
                 {fifo, CommandLine::ReportNotRead, "Not a regular file"},
                 {folder, CommandLine::ReportNotRead, "Not a regular file"},
                 {notReport, CommandLine::ReportEmpty, "Not a results report"}};
    for (const auto &c : cases) {
        writePaths(db, c.report);
        EXPECT_EQ(run({"APPEND"}), c.status) << c.report.toStdString();
        EXPECT_TRUE(m_err.contains(QString::fromLatin1(c.message))) << m_err.toStdString();
        EXPECT_FALSE(QFile::exists(db));
    }
}

TEST_F(CommandLineRun, SettingsFilesThatAreNoRegularFileLeaveTheDefaultsAndSaySo)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_dir.filePath("ARC&FILE.DAT")).constData(), 0600), 0);
    QDir(m_dir.path()).mkpath("ArcSiz&FILE.DAT");
    // The defaults name the report under LUMEN_ROOT: here a folder without one.
    const QByteArray root = qgetenv("LUMEN_ROOT");
    qputenv("LUMEN_ROOT", QFile::encodeName(m_dir.filePath("root")));
    EXPECT_EQ(run({"APPEND"}), CommandLine::ReportNotRead);
    qputenv("LUMEN_ROOT", root);
    EXPECT_TRUE(m_err.contains("Settings not read, defaults used: Not a regular file: " +
                               m_dir.filePath("ARC&FILE.DAT")))
        << m_err.toStdString();
    EXPECT_TRUE(m_err.contains("ArcSiz&FILE.DAT"));
}
