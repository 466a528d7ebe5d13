#include "ledgerly/gui/ParseItWindow.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumen::ledgerly;

TEST(ParseItWindow, ButtonsDriveTheModelAndClosingSavesTheSettings)
{
    QTemporaryDir dir;
    lumen::ScriptedOperator op;
    lumen::setCurrentOperator(&op);
    ArchiverModel model;
    ParseItWindow window(model, dir.path());
    EXPECT_EQ(window.windowTitle(), "LDP Lumen Archiver 020514");
    EXPECT_EQ(window.objectName(), "ParseIt");
    EXPECT_TRUE(window.findChild<QRadioButton *>("Option1_1")->isChecked());

    window.findChild<QLineEdit *>("Rpath")->setText(lumen::test::samplePath("RESULTS_normal.TXT"));
    window.findChild<QLineEdit *>("Apath")->setText(dir.filePath("r.db"));
    QTest::mouseClick(window.findChild<QPushButton *>("ReadLmnFile"), Qt::LeftButton);
    EXPECT_EQ(window.findChild<QLabel *>("NumbIso")->text(), "3");
    EXPECT_TRUE(window.findChild<QLabel *>("CurrentFile")->text().contains("Soil sample 17"));

    window.findChild<QRadioButton *>("Option1_3")->click();
    EXPECT_EQ(model.appendMode(), 2);
    QTest::mouseClick(window.findChild<QPushButton *>("AppendIT"), Qt::LeftButton);
    EXPECT_EQ(window.findChild<QLabel *>("NumbRec")->text(), "1");
    EXPECT_EQ(window.findChild<QLabel *>("NumFields")->text(), "12");
    EXPECT_TRUE(model.appendButtonRed());

    QTest::mouseClick(window.findChild<QPushButton *>("CloseForm"), Qt::LeftButton);
    EXPECT_EQ(lumen::test::fileBytes(dir.filePath("ARC&FILE.DAT")).size(), 144);
    EXPECT_EQ(lumen::test::fileBytes(dir.filePath("ArcSiz&FILE.DAT")).count("\r\n"), 100);
    EXPECT_TRUE(op.messages().isEmpty());
    lumen::setCurrentOperator(nullptr);
}
