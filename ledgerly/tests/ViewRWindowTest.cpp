#include "ledgerly/gui/ViewRWindow.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsTableModel.h"
#include "ledgerly/gui/ParseItWindow.h"
#include "ledgerly/tests/DbPeek.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumen::ledgerly;

namespace {

// The archiver's window over a database of three records, with the viewer a click away.
class ViewRWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        lumen::setCurrentOperator(&m_operator);
        m_model.setOperator(&m_operator);
        m_model.setApath(m_dir.filePath("results.db"));
        m_model.setRpath(lumen::test::samplePath("RESULTS_normal.TXT"));
        ASSERT_EQ(m_model.readLmnFile(), ArchiverModel::ReadStatus::Read);
        m_model.setAppendAgain(true);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(m_model.appendIt());
        m_window = std::make_unique<ParseItWindow>(m_model, m_dir.path());
    }

    void TearDown() override
    {
        m_window.reset();
        lumen::setCurrentOperator(nullptr);
    }

    ViewRWindow *openViewer()
    {
        QTest::mouseClick(m_window->findChild<QPushButton *>("ViewR"), Qt::LeftButton);
        return m_window->viewer();
    }

    static QString label(QWidget *viewer, const char *name)
    {
        return viewer->findChild<QLabel *>(name)->text();
    }

    QTemporaryDir m_dir;
    lumen::ScriptedOperator m_operator;
    ArchiverModel m_model;
    std::unique_ptr<ParseItWindow> m_window;
};

} // namespace

TEST_F(ViewRWindowTest, OpensWithTheCountsAndFollowsTheCurrentRecord)
{
    ViewRWindow *viewer = openViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->objectName(), "formViewR");
    EXPECT_EQ(viewer->windowTitle(), "Edit Results.MDB");
    EXPECT_EQ(label(viewer, "TotalLable"), "3");
    EXPECT_EQ(label(viewer, "FieldCount"), "12");
    EXPECT_EQ(label(viewer, "CurrentRecord"), "null");
    EXPECT_EQ(viewer->findChild<QPushButton *>("Command1")->text(), "Delete record");

    auto *grid = viewer->findChild<QTableView *>("DBGridR");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->objectName(), "SampleR");
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "ID Text");
    grid->setCurrentIndex(grid->model()->index(1, 2));
    EXPECT_EQ(label(viewer, "CurrentRecord"), "2");

    // The grid keeps its top and fills the window's width as the window changes size.
    viewer->resize(600, 400);
    EXPECT_EQ(grid->width(), 588);
    const int top = grid->y();
    viewer->resize(900, 500);
    EXPECT_EQ(grid->width(), 882);
    EXPECT_EQ(grid->y(), top);
    const QRect before = grid->geometry();
    viewer->resize(900, top / 2); // too small: the layout stays as it was
    EXPECT_EQ(grid->geometry(), before);
    EXPECT_TRUE(m_operator.messages().isEmpty());
}

TEST_F(ViewRWindowTest, DeleteActsOnTheSelectedRecordAndNamesItFirst)
{
    ViewRWindow *viewer = openViewer();
    ASSERT_NE(viewer, nullptr);
    auto *grid = viewer->findChild<QTableView *>("DBGridR");
    auto *remove = viewer->findChild<QPushButton *>("Command1");
    const QString question =
        "Delete record %1 (ID: Soil sample 17 - field B, depth 0-5 cm), are you SURE ?";

    // Nothing selected: the last record shown.
    m_operator.queueAnswer(lumen::MessageAnswer::No);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    grid->setCurrentIndex(grid->model()->index(1, 2));
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(label(viewer, "TotalLable"), "2"); // fresh after the delete
    EXPECT_EQ(m_operator.messages(), (QStringList{question.arg(3), question.arg(2)}));

    const auto records = test::DbPeek(m_model.apath()).records();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1]["idxRec#"].toInt(), 3);
    // Row headers are record numbers, not places.
    EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical).toInt(), 3);
}

TEST_F(ViewRWindowTest, ColumnWidthsAreAppliedOnOpenAndKeptAtClose)
{
    // Widths are kept in twips: 15 to a pixel on the test screen (96 dots per inch).
    m_model.gridColumnWidthsForViewer()[0] = 2250;
    m_model.gridColumnWidthsForViewer()[1] = 100;   // not sized: fits the file names
    m_model.gridColumnWidthsForViewer()[12] = 4444; // no such column: kept as it was
    ViewRWindow *viewer = openViewer();
    ASSERT_NE(viewer, nullptr);
    auto *grid = viewer->findChild<QTableView *>("DBGridR");
    ASSERT_EQ(grid->logicalDpiX(), 96);
    const int defaultWidth = grid->horizontalHeader()->defaultSectionSize();
    EXPECT_EQ(grid->columnWidth(0), 150);
    const int fileNameWidth = grid->columnWidth(1);
    EXPECT_GT(fileNameWidth, grid->fontMetrics().horizontalAdvance("SPEC0001.ANS"));

    // Opening again while open applies the stored widths, reading nothing anew.
    grid->setColumnWidth(0, 90);
    m_model.gridColumnWidthsForViewer()[2] = 4995;
    EXPECT_EQ(openViewer(), viewer);
    EXPECT_EQ(grid->columnWidth(0), 150);
    EXPECT_EQ(grid->columnWidth(2), 333);

    grid->setColumnWidth(5, 222);
    grid->setColumnWidth(6, 40); // narrowed: comes back narrowed next time
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_window->viewer(), nullptr);
    EXPECT_EQ(m_model.gridColumnWidths()[0], 2250);
    EXPECT_EQ(m_model.gridColumnWidths()[1], fileNameWidth * 15);
    EXPECT_EQ(m_model.gridColumnWidths()[5], 3330);
    EXPECT_EQ(m_model.gridColumnWidths()[6], 600);
    EXPECT_EQ(m_model.gridColumnWidths()[10], defaultWidth * 15);
    EXPECT_EQ(m_model.gridColumnWidths()[12], 4444);

    viewer = openViewer();
    ASSERT_NE(viewer, nullptr);
    grid = viewer->findChild<QTableView *>("DBGridR");
    EXPECT_EQ(grid->columnWidth(5), 222);
    EXPECT_EQ(grid->columnWidth(6), 40);

    // The widths reach the settings file when the archiver closes.
    QTest::mouseClick(m_window->findChild<QPushButton *>("CloseForm"), Qt::LeftButton);
    const QList<QByteArray> lines =
        lumen::test::fileBytes(m_dir.filePath("ArcSiz&FILE.DAT")).split('\n');
    EXPECT_EQ(lines[5], " 3330 \r");
    EXPECT_EQ(lines[12], " 4444 \r");
}

TEST_F(ViewRWindowTest, AMissingDatabaseIsReportedAndARefusedEditExplainsWhy)
{
    m_window->findChild<QLineEdit *>("Apath")->setText(m_dir.filePath("none.db"));
    EXPECT_EQ(openViewer(), nullptr);
    EXPECT_EQ(m_operator.messages(),
              QStringList{"Invalid path or file name [ " + m_dir.filePath("none.db") + " ] "});
    m_model.setBlindFlag(true);
    EXPECT_EQ(openViewer(), nullptr);
    EXPECT_EQ(m_operator.messages().size(), 1);
    m_model.setBlindFlag(false);
    m_operator.clear();

    {
        test::DbPeek peek(m_dir.filePath("results.db"));
        ASSERT_TRUE(peek.exec("CREATE TRIGGER guard BEFORE UPDATE ON \"SamData\" "
                              "BEGIN SELECT RAISE(ABORT, 'archive is read-only'); END"));
    }
    m_window->findChild<QLineEdit *>("Apath")->setText(m_dir.filePath("results.db"));
    ViewRWindow *viewer = openViewer();
    ASSERT_NE(viewer, nullptr);
    auto *grid = viewer->findChild<QTableView *>("DBGridR");
    const QModelIndex cell = grid->model()->index(0, 2);
    const QString stored = cell.data().toString();
    grid->model()->setData(cell, "changed");
    EXPECT_EQ(cell.data().toString(), stored);
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_TRUE(m_operator.messages()[0].startsWith("Could not save the change <"));
    EXPECT_TRUE(m_operator.messages()[0].contains("archive is read-only"));
}
