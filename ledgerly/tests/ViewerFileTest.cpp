#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/ResultsTableModel.h"
#include "ledgerly/core/ViewerModel.h"
#include "ledgerly/tests/DbPeek.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumen::ledgerly;

namespace {

// `records` plain records, made in one statement.
void fillFile(const QString &path, int records)
{
    ResultsDatabase db(path);
    db.ensureSchema();
    test::DbPeek peek(path);
    ASSERT_TRUE(peek.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                         "FROM n WHERE i < %1) INSERT INTO \"SamData\" "
                                         "(\"idxRec#\", \"ID Text\") SELECT i, 'sample' FROM n")
                              .arg(records)));
}

} // namespace

TEST(ViewerFile, AnOpenViewerDoesNotHoldOffAppendsFromOtherStations)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("results.db");
    fillFile(path, 1000);
    ViewerModel viewer;
    ASSERT_TRUE(viewer.load(path));
    EXPECT_EQ(viewer.records()->rowCount(), 1000);

    // Another process's append, while the grid stays open on the file.
    ResultsDatabase station(path);
    EXPECT_EQ(station.append(NewRecord{}).recordCount, 1001);
}

TEST(ViewerFile, AVeryLargeTableIsReadAsTheGridShowsIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("results.db");
    const int records = 20 * ResultsTableModel::kPageRows + 7;
    fillFile(path, records);
    ViewerModel viewer;
    ASSERT_TRUE(viewer.load(path));
    ResultsTableModel *model = viewer.records();
    EXPECT_EQ(viewer.totalLable, QString::number(records));
    EXPECT_EQ(model->rowCount(), records);
    EXPECT_EQ(model->cachedRows(), 0);
    // Far down and back again: the cells are there, and only a few pages are kept.
    for (int row : {records - 1, 0, records / 2, records - 1}) {
        EXPECT_EQ(model->data(model->index(row, 0)).toInt(), row + 1);
        EXPECT_EQ(model->data(model->index(row, 2)).toString(), "sample");
    }
    for (int row = 0; row < records; row += ResultsTableModel::kPageRows)
        model->data(model->index(row, 0));
    EXPECT_LE(model->cachedRows(), ResultsTableModel::kKeptPages * ResultsTableModel::kPageRows);
}

TEST(ViewerFile, ExportCsvWritesTheTableToTheChosenFileAndCancelWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("results.db");
    fillFile(path, 3);
    lumen::ScriptedOperator op;
    ViewerModel viewer;
    viewer.setOperator(&op);
    ASSERT_TRUE(viewer.load(path));
    op.queueFile(std::nullopt);
    EXPECT_FALSE(viewer.exportCsv());
    const QString csv = dir.filePath("out.csv");
    op.queueFile(csv);
    ASSERT_TRUE(viewer.exportCsv());
    EXPECT_TRUE(op.messages().last().startsWith("Exported 3 records to [ " + csv + " ] (audit"))
        << op.messages().last().toStdString();
    EXPECT_EQ(lumen::test::fileBytes(csv).count("\r\n"), 4);
}
