#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/core/CommandLine.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/dbtests/ArchiveBackend.h"
#include "ledgerly/tests/DbPeek.h"

#include <QTextStream>

using namespace lumen::ledgerly;

namespace {

class ExportStore : public lumen::ledgerly::test::ArchiveBackendTest
{
protected:
    int run(const QStringList &args)
    {
        lumen::test::writeBytes(
            m_dir.filePath("ARC&FILE.DAT"),
            ArchiverSettings::pathsRecord({m_path, m_dir.filePath("none.txt")}));
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        return CommandLine::run(args, out, err, m_dir.path());
    }

    QString m_out, m_err;
};

} // namespace

TEST_P(ExportStore, IdsWithCommasQuotesAndCodePageLettersComeOutWholeInBothForms)
{
    {
        ResultsDatabase db(m_path);
        db.ensureSchema();
        const QString ids[] = {QStringLiteral("Soil, field \"B\""),
                               QString::fromUtf8("Boden M\xc3\xbcller \xe2\x80\x93 caf\xc3\xa9")};
        for (const QString &id : ids) {
            NewRecord record;
            record.idText = id;
            record.mode = QStringLiteral("NET");
            record.values = {{"CS-137@NET1", 12.5f, "CS-137", 1, 661.66f},
                             {"K-40@NET1", 3.0f, "K-40", 1, 1460.82f}};
            db.append(record);
        }
    }
    // Options come first: a file name holding NET and APPEND is no command word.
    const QString wide = m_dir.filePath("NET APPEND.csv");
    ASSERT_EQ(run({"--export", wide}), CommandLine::Done) << m_err.toStdString();
    EXPECT_EQ(lumen::ledgerly::test::DbPeek(m_path).records().size(), 2);
    const QByteArray wideBytes = lumen::test::fileBytes(wide);
    ASSERT_TRUE(wideBytes.startsWith("\xEF\xBB\xBF"));
    const QStringList wideLines = QString::fromUtf8(wideBytes.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(wideLines.size(), 4); // header, two records, the final line end
    EXPECT_EQ(wideLines[0], "idxRec#,File Name,ID Text,Date & time,Sample Date,Counting Time,"
                            "DT %,Superseded By,CS-137@NET1,K-40@NET1");
    EXPECT_EQ(wideLines[1], "1,,\"Soil, field \"\"B\"\"\",,,0,0,,12.5,3");
    EXPECT_EQ(wideLines[2],
              QString::fromUtf8("2,,Boden M\xc3\xbcller \xe2\x80\x93 caf\xc3\xa9,,,0,0,,12.5,3"));

    const QString longPath = m_dir.filePath("long.csv");
    ASSERT_EQ(run({"--long", "--export", longPath}), CommandLine::Done) << m_err.toStdString();
    const QStringList longLines =
        QString::fromUtf8(lumen::test::fileBytes(longPath).mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(longLines.size(), 6);
    EXPECT_EQ(longLines[0],
              "Record,idxRec#,File Name,ID Text,Date & time,Sample Date,"
              "Counting Time,DT %,Mode,Archived,Run,Run Pass,Run Line,Superseded By,Column,"
              "Nuclide,Line,Energy,Value");
    EXPECT_TRUE(longLines[1].startsWith("1,1,,\"Soil, field \"\"B\"\"\",,,0,0,NET,"))
        << longLines[1].toStdString();
    EXPECT_TRUE(longLines[1].endsWith(",CS-137@NET1,CS-137,1,661.66,12.5"));
    EXPECT_TRUE(longLines[4].endsWith(",K-40@NET1,K-40,1,1460.82,3"));

    EXPECT_EQ(run({"--export"}), CommandLine::UsageError);
    EXPECT_EQ(run({"--long"}), CommandLine::UsageError);
    EXPECT_EQ(run({"--frobnicate", "APPEND"}), CommandLine::UsageError);
    EXPECT_EQ(run({"--export", m_dir.filePath("no/folder/x.csv")}), CommandLine::ExportFailed);
    EXPECT_TRUE(m_err.contains("Could not export")) << m_err.toStdString();
}

LEDGERLY_ON_BOTH_BACKENDS(ExportStore);
