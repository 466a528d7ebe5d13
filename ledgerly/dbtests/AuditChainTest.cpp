#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/core/CommandLine.h"
#include "ledgerly/core/ResultsTableModel.h"
#include "ledgerly/core/ViewerModel.h"
#include "ledgerly/dbtests/ArchiveBackend.h"
#include "ledgerly/tests/DbPeek.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;

namespace {

// Two reports archived by the command line, then changed behind its back.
class AuditChainStore : public lumen::ledgerly::test::ArchiveBackendTest
{
protected:
    void SetUp() override
    {
        ArchiveBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *sample : {"RESULTS_normal.TXT", "RESULTS_corrcoeff.TXT"}) {
            useReport(lumen::test::samplePath(sample));
            ASSERT_EQ(run({"APPEND"}), CommandLine::Done) << m_err.toStdString();
        }
    }

    void useReport(const QString &report)
    {
        lumen::test::writeBytes(m_dir.filePath("ARC&FILE.DAT"),
                                ArchiverSettings::pathsRecord({m_path, report}));
    }

    int run(const QStringList &args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        return CommandLine::run(args, out, err, m_dir.path());
    }

    QString m_out, m_err;
};

} // namespace

TEST_P(AuditChainStore, VerifyNamesTheFirstChangeMadeOutsideTheProgram)
{
    ASSERT_EQ(run({"--verify"}), CommandLine::Done) << m_err.toStdString();
    EXPECT_TRUE(m_out.contains("covers audit entries 1 to 2")) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains("All agree"));
    const struct
    {
        const char *change;
        const char *named;
        bool auditRow;
    } cases[] = {
        {"UPDATE \"SamData\" SET \"CO-60@LINE1\" = '9.5' WHERE \"idxRec#\" = 1",
         "record 1: its values in \"SamData\" differ", false},
        {"UPDATE \"SamResults\" SET \"Value\" = 1 WHERE \"Record\" = 2",
         "record 2: its values in \"SamResults\" differ", false},
        {"DELETE FROM \"SamRecords\" WHERE \"Record\" = 1",
         "record 1: its rows in \"SamRecords\" are missing", false},
        {"INSERT INTO \"SamData\" (\"idxRec#\", \"ID Text\") VALUES (7, 'forged')",
         "record 7: in the archive but not in the audit trail", false},
        {"UPDATE \"SamAudit\" SET \"User\" = 'someone' WHERE \"Entry\" = 1",
         "audit entry 1 was changed", true},
        {"DELETE FROM \"SamAudit\" WHERE \"Entry\" = 1", "audit entry 2 was changed", true},
    };
    for (const auto &c : cases) {
        if (!onServer())
            QFile::remove(m_path);
        SetUp(); // a fresh archive for each change
        ASSERT_FALSE(HasFatalFailure());
        const bool refused = !DbPeek(m_path).exec(QString::fromLatin1(c.change));
        if (c.auditRow && onServer()) {
            // The server itself keeps the trail append-only, for its owner too.
            EXPECT_TRUE(refused) << c.change;
            EXPECT_EQ(run({"--verify"}), CommandLine::Done) << c.change;
            continue;
        }
        ASSERT_FALSE(refused) << c.change;
        EXPECT_EQ(run({"--verify"}), CommandLine::ArchiveBroken) << c.change;
        EXPECT_TRUE(m_err.contains(QString::fromLatin1(c.named))) << m_err.toStdString();
    }
}

TEST_P(AuditChainStore, AppendWarnsOfABrokenTailAndExportsNameTheHead)
{
    ASSERT_TRUE(
        DbPeek(m_path).exec("UPDATE \"SamResults\" SET \"Value\" = 1 WHERE \"Record\" = 2"));
    {
        lumen::ScriptedOperator op;
        ViewerModel viewer;
        viewer.setOperator(&op);
        ASSERT_TRUE(viewer.load(m_path));
        ASSERT_EQ(op.messages().size(), 1);
        EXPECT_TRUE(op.messages()[0].startsWith("Warning: record 2"))
            << op.messages()[0].toStdString();
    }
    useReport(m_dir.filePath("r.txt"));
    lumen::test::writeBytes(m_dir.filePath("r.txt"),
                            lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT")) +
                                "\r\n");
    ASSERT_EQ(run({"APPEND"}), CommandLine::Done);
    EXPECT_TRUE(m_err.contains("Warning: record 2: its values in \"SamResults\" differ"))
        << m_err.toStdString();
    const QString csv = m_dir.filePath("w.csv");
    ASSERT_EQ(run({"--export", csv}), CommandLine::Done) << m_err.toStdString();
    const auto head = DbPeek(m_path).rows("SELECT \"Entry\", \"Hash\" FROM \"SamAudit\" WHERE "
                                          "\"Entry\" = 3");
    ASSERT_EQ(head.size(), 1);
    EXPECT_TRUE(m_out.contains("audit chain head: entry 3, " + head[0]["Hash"].toString()))
        << m_out.toStdString();
}

TEST_P(AuditChainStore, EachRowNamesTheSessionUserAndADeleteKeepsTheWholeRecord)
{
    {
        ResultsDatabase db(m_path);
        ResultsTableModel records(db.connection(), db.isServer());
        ASSERT_TRUE(records.select());
        ASSERT_TRUE(records.deleteRecordAt(0));
    }
    DbPeek peek(m_path);
    const auto rows = peek.rows("SELECT * FROM \"SamAudit\" ORDER BY \"Entry\"");
    ASSERT_EQ(rows.size(), 3);
    for (const QVariantMap &row : rows)
        EXPECT_EQ(row["Database User"].toString(), onServer() ? "lumen" : "");
    const QJsonObject kept =
        QJsonDocument::fromJson(rows[2]["Record Values"].toString().toUtf8()).object();
    EXPECT_EQ(kept["SamRecords"].toObject()["Sha256"].toString().size(), 64);
    EXPECT_EQ(kept["SamData"].toObject()["CO-60@LINE1"].toString(), "3.047");
    EXPECT_EQ(kept["SamResults"].toArray().size(), 4);
    EXPECT_EQ(run({"--verify"}), CommandLine::Done) << m_err.toStdString();
}

TEST_P(AuditChainStore, ReadingNeedsNoWriting)
{
    if (onServer()) {
        DbPeek peek(m_path);
        peek.exec("DROP ROLE IF EXISTS \"reader\"");
        ASSERT_TRUE(peek.exec("CREATE ROLE \"reader\" LOGIN"));
        ASSERT_TRUE(peek.exec("GRANT SELECT ON \"SamData\", \"SamRecords\", \"SamResults\", "
                              "\"SamAudit\" TO \"reader\""));
        m_path.replace(QRegularExpression("//[^@/]*@"), "//reader@");
        useReport(lumen::test::samplePath("RESULTS_normal.TXT"));
    } else {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (QFileInfo(m_path).isWritable())
            GTEST_SKIP() << "the file stays writable for this user (root)";
    }
    const QString csv = m_dir.filePath("w.csv"), audit = m_dir.filePath("a.csv");
    EXPECT_EQ(run({"--export", csv}), CommandLine::ExportNotAudited);
    EXPECT_TRUE(m_err.contains("its audit entry could not be written")) << m_err.toStdString();
    EXPECT_TRUE(QFile::exists(csv));
    EXPECT_EQ(run({"--audit", audit}), CommandLine::ExportNotAudited);
    EXPECT_EQ(run({"--verify"}), CommandLine::Done) << m_err.toStdString();
    // An export that fails leaves no file.
    EXPECT_EQ(run({"--export", m_dir.filePath("no/folder/w.csv")}), CommandLine::ExportFailed);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("no/folder/w.csv")));
}

TEST_P(AuditChainStore, AStationRoleAppendsButCannotRewriteTheTrail)
{
    if (!onServer())
        GTEST_SKIP() << "roles are a server's";
    // The roles and grants of docs/ledgerly.md, as the administrator gives them.
    DbPeek admin(m_path);
    for (const char *role : {"lumen_archive", "lumen_audit", "lumen_station", "station1"})
        admin.exec(QStringLiteral("DO $$ BEGIN CREATE ROLE \"%1\"; EXCEPTION WHEN "
                                  "duplicate_object THEN NULL; END $$")
                       .arg(QLatin1String(role)));
    for (const char *sql :
         {"ALTER ROLE \"station1\" LOGIN", "GRANT lumen_station TO station1",
          "ALTER TABLE \"SamData\" OWNER TO lumen_archive",
          "ALTER TABLE \"SamRecords\" OWNER TO lumen_archive",
          "ALTER TABLE \"SamResults\" OWNER TO lumen_archive",
          "ALTER TABLE \"SamAudit\" OWNER TO lumen_audit",
          "ALTER FUNCTION \"SamAuditAppendOnly\"() OWNER TO lumen_audit",
          "GRANT lumen_archive TO lumen_station", "REVOKE ALL ON \"SamAudit\" FROM PUBLIC",
          "GRANT SELECT, INSERT ON \"SamAudit\" TO lumen_station"})
        ASSERT_TRUE(admin.exec(QString::fromLatin1(sql))) << sql;
    m_path.replace(QRegularExpression("//[^@/]*@"), "//station1@");
    useReport(m_dir.filePath("new.txt"));
    // A report with a nuclide the table has no column for yet.
    QByteArray report = lumen::test::fileBytes(lumen::test::samplePath("RESULTS_normal.TXT"));
    report.replace("K-40  ", "TH-232");
    lumen::test::writeBytes(m_dir.filePath("new.txt"), report);
    ASSERT_EQ(run({"APPEND"}), CommandLine::Done) << m_err.toStdString();
    DbPeek station(m_path);
    EXPECT_TRUE(station.columns().contains("TH-232"));
    EXPECT_EQ(station.rows("SELECT \"Database User\" FROM \"SamAudit\" WHERE \"Entry\" = 3")
                  .value(0)
                  .value("Database User")
                  .toString(),
              "station1");
    for (const char *sql : {"UPDATE \"SamAudit\" SET \"User\" = 'x'", "DELETE FROM \"SamAudit\"",
                            "TRUNCATE \"SamAudit\"", "DROP TABLE \"SamAudit\"",
                            "DROP TRIGGER \"SamAuditGuard\" ON \"SamAudit\""})
        EXPECT_FALSE(station.exec(QString::fromLatin1(sql))) << sql;
    EXPECT_EQ(run({"--verify"}), CommandLine::Done) << m_err.toStdString();
}

LEDGERLY_ON_BOTH_BACKENDS(AuditChainStore);
