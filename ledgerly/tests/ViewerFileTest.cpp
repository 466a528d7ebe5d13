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

TEST(ViewerFile, AVeryLargeTableIsReadAsTheGridScrolls)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("results.db");
    const int records = ResultsTableModel::kReadWholeCells / 7 + 1;
    fillFile(path, records);
    ViewerModel viewer;
    ASSERT_TRUE(viewer.load(path));
    EXPECT_EQ(viewer.totalLable, QString::number(records));
    EXPECT_LT(viewer.records()->rowCount(), records);
    EXPECT_TRUE(viewer.records()->canFetchMore());
}
