#include "ledgerly/core/ArchiverSettings.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumen::ledgerly;

TEST(ArchiverSettings, PathsRecordIsTwoBlankPaddedFieldsCutAt72)
{
    const QString longPath = "/data/" + QString(80, u'd') + "/results.db";
    const QByteArray record = ArchiverSettings::pathsRecord({"  " + longPath, "/r/RESULTS.TXT "});
    ASSERT_EQ(record.size(), 144);
    EXPECT_EQ(record.mid(72), QByteArray("/r/RESULTS.TXT").leftJustified(72));
    const auto paths = ArchiverSettings::parsePaths(record);
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->databasePath, longPath.left(72));
    EXPECT_EQ(paths->reportPath, "/r/RESULTS.TXT");
    EXPECT_FALSE(ArchiverSettings::parsePaths(record + ' '));
    EXPECT_FALSE(ArchiverSettings::parsePaths(QByteArray()));
    // Windows-1252 bytes, one per character.
    EXPECT_EQ(ArchiverSettings::pathsRecord({QString::fromUtf8("/d\xc3\xa9j\xc3\xa0"), ""}).left(5),
              QByteArray("/d\xe9j\xe0"));
}

TEST(ArchiverSettings, WidthsFileHasOneSignedValuePerLine)
{
    ArchiverSettings::Widths widths{};
    widths[0] = 1500;
    widths[1] = -3;
    widths[99] = 7;
    widths[100] = 55; // never written
    const QByteArray text = ArchiverSettings::widthsText(widths);
    EXPECT_TRUE(text.startsWith(" 1500 \r\n-3 \r\n 0 \r\n"));
    EXPECT_TRUE(text.endsWith(" 7 \r\n"));
    EXPECT_EQ(text.count("\r\n"), 100);

    ArchiverSettings::Widths read{};
    ArchiverSettings::parseWidths(text, read);
    EXPECT_EQ(read[0], 1500);
    EXPECT_EQ(read[1], -3);
    EXPECT_EQ(read[99], 7);
    EXPECT_EQ(read[100], 0);
}

TEST(ArchiverSettings, WidthsMayBeCommaSeparatedAndBadValuesLeaveZero)
{
    ArchiverSettings::Widths read{};
    read[5] = 9;
    ArchiverSettings::parseWidths(" 120 , 130,99999\r\n abc \r\n 140", read);
    EXPECT_EQ(read[0], 120);
    EXPECT_EQ(read[1], 130);
    EXPECT_EQ(read[2], 0); // outside the 16-bit range
    EXPECT_EQ(read[3], 0);
    EXPECT_EQ(read[4], 140);
    EXPECT_EQ(read[5], 9); // past the end of the file: kept
}

TEST(ArchiverSettings, StartUpMakesEmptyFilesAndExitWritesBoth)
{
    QTemporaryDir dir;
    ArchiverModel model;
    const QString defaultDb = model.apath();
    model.loadSettings(dir.path());
    EXPECT_EQ(model.apath(), defaultDb);
    EXPECT_EQ(lumen::test::fileBytes(dir.filePath("ARC&FILE.DAT")).size(), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("ArcSiz&FILE.DAT")));

    model.setApath(" /a/b.db ");
    model.setRpath("/a/RESULTS.TXT");
    model.gridColumnWidthsForViewer()[3] = 101;
    ASSERT_TRUE(model.saveSettings(dir.path()));
    EXPECT_EQ(lumen::test::fileBytes(dir.filePath("ARC&FILE.DAT")).size(), 144);

    ArchiverModel next;
    next.loadSettings(dir.path());
    EXPECT_EQ(next.apath(), "/a/b.db");
    EXPECT_EQ(next.rpath(), "/a/RESULTS.TXT");
    EXPECT_EQ(next.gridColumnWidths()[3], 101);

    // A folder that takes no files: the operator hears which file and why.
    lumen::ScriptedOperator op;
    next.setOperator(&op);
    EXPECT_FALSE(next.saveSettings(dir.filePath("gone")));
    ASSERT_EQ(op.messages().size(), 2);
    EXPECT_TRUE(op.messages()[0].startsWith("Settings not saved: "))
        << op.messages()[0].toStdString();
    EXPECT_TRUE(op.messages()[0].endsWith(dir.filePath("gone/ARC&FILE.DAT")));

    // A record of another length is ignored.
    lumen::test::writeBytes(dir.filePath("ARC&FILE.DAT"), QByteArray(143, 'x'));
    ArchiverModel third;
    third.loadSettings(dir.path());
    EXPECT_EQ(third.apath(), defaultDb);
}
