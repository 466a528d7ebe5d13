#include "driftlog/gui/ParseIt.h"
#include "common/testsupport/TestSupport.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/gui/DriftChartView.h"
#include "driftlog/tests/DriftlogTestData.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using lumen::driftlog::ParseIt;

TEST(ParseIt, ControlsCarryTheirCaptionsAndToolTips)
{
    QTemporaryDir dir;
    ParseIt w(dir.path());
    EXPECT_EQ(w.windowTitle(), QString("Data Orginizer"));
    const struct
    {
        const char *name, *caption, *tip;
    } buttons[] = {
        {"ReadLmnFile", "Read Lmn Results Text file",
         "Read the report file from LmnPro RAPID SCAN or ROI DIRECTED anaylsys"},
        {"AppendIT", "Append Data",
         "Add a new record with the current data to the Results database"},
        {"Command1", "View Lmn Results Text file", ""},
        {"Command2", "View StabData.txt", ""},
        {"CloseForm", "Exit", "Exit Program"},
    };
    for (const auto &b : buttons) {
        auto *button = w.findChild<QPushButton *>(b.name);
        ASSERT_TRUE(button) << b.name;
        EXPECT_EQ(button->text(), QString(b.caption));
        EXPECT_EQ(button->toolTip(), QString(b.tip));
    }
    for (const char *box : {"Rpath", "IDtext", "DateText", "TimeText", "CenterText", "ElapsedText",
                            "keVdrift", "PercentDrift"})
        EXPECT_TRUE(w.findChild<QLineEdit *>(box)) << box;
    auto *gain = w.findChild<QRadioButton *>("Option1_1");
    auto *keV = w.findChild<QRadioButton *>("Option1_2");
    ASSERT_TRUE(gain && keV);
    EXPECT_EQ(gain->text(), QString("% Gain drift"));
    EXPECT_EQ(keV->text(), QString("keV drift"));
    EXPECT_TRUE(gain->isChecked());
    EXPECT_FALSE(keV->isChecked());
}

TEST(ParseIt, ButtonsDriveTheModelAndExitSaves)
{
    QTemporaryDir dir;
    const QString report = dir.filePath("RESULTS.TXT");
    ASSERT_TRUE(lumen::test::writeBytes(
        report, lumen::driftlog::test::reportBytes("22-Jun-2001", "13:05:00", "661.66")));
    ParseIt w(dir.path());
    w.show();
    auto *rpath = w.findChild<QLineEdit *>("Rpath");
    rpath->clear();
    QTest::keyClicks(rpath, report);
    EXPECT_EQ(w.model().text("Rpath"), report);

    QTest::mouseClick(w.findChild<QPushButton *>("ReadLmnFile"), Qt::LeftButton);
    EXPECT_EQ(w.findChild<QLineEdit *>("CenterText")->text(), QString("661.66"));
    EXPECT_EQ(w.findChild<QLineEdit *>("DateText")->text(), QString("22-Jun-2001"));
    QTest::mouseClick(w.findChild<QPushButton *>("AppendIT"), Qt::LeftButton);
    ASSERT_TRUE(w.model().reference());
    EXPECT_EQ(w.model().reference()->centre, 661.66f);

    // The operator may correct a box before appending.
    ASSERT_TRUE(lumen::test::writeBytes(
        report, lumen::driftlog::test::reportBytes("23-Jun-2001", "12:00:00", "662.32")));
    QTest::mouseClick(w.findChild<QPushButton *>("ReadLmnFile"), Qt::LeftButton);
    auto *keVOption = w.findChild<QRadioButton *>("Option1_2");
    QTest::mouseClick(keVOption, Qt::LeftButton);
    EXPECT_TRUE(keVOption->isChecked());
    EXPECT_FALSE(w.findChild<QRadioButton *>("Option1_1")->isChecked());
    QTest::mouseClick(w.findChild<QPushButton *>("AppendIT"), Qt::LeftButton);
    EXPECT_EQ(w.findChild<QLineEdit *>("ElapsedText")->text(), QString("1375"));
    EXPECT_EQ(w.findChild<QLineEdit *>("keVdrift")->text(), QString("0.6600268"));
    EXPECT_EQ(w.findChild<QLineEdit *>("PercentDrift")->text(), QString("0.1"));

    QTest::mouseClick(w.findChild<QPushButton *>("CloseForm"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    const auto saved = lumen::driftlog::StabSettings::load(dir.filePath("STAB&FILE.DAT"));
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->keVOption);
    EXPECT_EQ(saved->reportPath, report);
    EXPECT_EQ(lumen::test::fileBytes(dir.filePath("StabData.txt")),
              QByteArray("0                  0\r\n1375               0.6600268\r\n"));
}

TEST(ParseIt, TheWindowSaysWhatFailedAndShowsTheChart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(lumen::test::writeBytes(dir.filePath("StabData.txt"),
                                        "0                  0\r\n60                 0.1\r\n"));
    ParseIt w(dir.path());
    w.show();
    auto *status = w.findChild<QLabel *>("StatusText");
    ASSERT_TRUE(status);

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path())); // no text editor to be found
    QTest::mouseClick(w.findChild<QPushButton *>("Command2"), Qt::LeftButton);
    qputenv("PATH", path);
    EXPECT_TRUE(status->text().startsWith("Cannot start the text editor"))
        << status->text().toStdString();

    QTest::mouseClick(w.findChild<QPushButton *>("cmdChart"), Qt::LeftButton);
    ASSERT_TRUE(w.chartView());
    EXPECT_TRUE(w.chartView()->isVisible());
    ASSERT_TRUE(w.chartView()->charts());
    EXPECT_EQ(w.chartView()->charts()->drift.points().size(), 1);
}

TEST(ParseIt, AppendBeforeReadAsksForAReportAndShowsNoDrift)
{
    QTemporaryDir dir;
    lumen::driftlog::StabSettings s;
    s.reportPath = dir.filePath("RESULTS.TXT");
    s.referenceCentre = 661.66f;
    s.referenceDate = "22-Jun-2001";
    s.referenceTime = "13:05:00";
    s.save(dir.filePath("STAB&FILE.DAT"));
    const QByteArray log = "0                  0\r\n60                 0.1\r\n";
    ASSERT_TRUE(lumen::test::writeBytes(dir.filePath("StabData.txt"), log));
    ParseIt w(dir.path());
    w.show();
    QTest::mouseClick(w.findChild<QPushButton *>("AppendIT"), Qt::LeftButton);
    for (const char *box : {"keVdrift", "PercentDrift", "ElapsedText"})
        EXPECT_EQ(w.findChild<QLineEdit *>(box)->text(), QString()) << box;
    const QString said = w.findChild<QLabel *>("StatusText")->text();
    EXPECT_TRUE(said.contains("read one first")) << said.toStdString();
    EXPECT_EQ(lumen::test::fileBytes(dir.filePath("StabData.txt")), log);
}
