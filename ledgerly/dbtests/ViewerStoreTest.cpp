#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/ResultsTableModel.h"
#include "ledgerly/core/ViewerModel.h"
#include "ledgerly/dbtests/ArchiveBackend.h"
#include "ledgerly/tests/DbPeek.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace lumen::ledgerly;
using lumen::ledgerly::test::DbPeek;

namespace {

class ViewerStore : public lumen::ledgerly::test::ArchiveBackendTest
{
protected:
    void SetUp() override
    {
        ArchiveBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_viewer.setOperator(&m_operator);
    }

    /** `count` records whose "ID Text" is "sample 1".. and one nuclide column. */
    void fill(int count)
    {
        ResultsDatabase db(m_path);
        db.ensureSchema();
        for (int i = 1; i <= count; ++i) {
            NewRecord record;
            record.idText = QStringLiteral("sample %1").arg(i);
            record.values = {{"CS-137", float(i)}};
            db.append(record);
        }
    }

    int column(const char *name) const
    {
        return m_viewer.records()->record().indexOf(QString::fromLatin1(name));
    }

    QStringList ids() const
    {
        QStringList texts;
        for (const auto &record : DbPeek(m_path).records())
            texts << record["ID Text"].toString();
        return texts;
    }

    lumen::ScriptedOperator m_operator;
    ViewerModel m_viewer;
};

} // namespace

TEST_P(ViewerStore, LoadSetsTheCountsAndAnEmptyTableShowsZero)
{
    {
        ResultsDatabase db(m_path);
        db.ensureSchema();
    }
    ASSERT_TRUE(m_viewer.load(m_path));
    EXPECT_EQ(m_viewer.totalLable, "0");
    EXPECT_EQ(m_viewer.fieldCount, "8");
    EXPECT_EQ(m_viewer.currentRecord, "null");
    EXPECT_EQ(m_viewer.records()->objectName(), "SampleR");

    fill(5);
    ViewerModel again;
    ASSERT_TRUE(again.load(m_path));
    EXPECT_EQ(again.totalLable, "5");
    EXPECT_EQ(again.fieldCount, "9");
    EXPECT_EQ(again.records()->rowCount(), 5);
    again.currentRowChanged(2);
    EXPECT_EQ(again.currentRecord, "3");
}

TEST_P(ViewerStore, DeleteLastAsksAndTheCountLabelFollows)
{
    fill(5);
    ASSERT_TRUE(m_viewer.load(m_path));
    m_operator.queueAnswer(lumen::MessageAnswer::No);
    EXPECT_FALSE(m_viewer.deleteSelectedRecord());
    EXPECT_EQ(m_viewer.records()->rowCount(), 5);
    EXPECT_EQ(m_operator.messages(), QStringList{"Delete record 5 (ID: sample 5), are you SURE ?"});
    EXPECT_EQ(m_operator.prompts()[0].buttons, lumen::MessageButtons::YesNoDefaultNo);

    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    EXPECT_TRUE(m_viewer.deleteSelectedRecord());
    EXPECT_EQ(m_viewer.records()->rowCount(), 4);
    EXPECT_EQ(m_viewer.totalLable, "4");
    EXPECT_EQ(ids(), (QStringList{"sample 1", "sample 2", "sample 3", "sample 4"}));
    m_viewer.setIdFilter("sample 3");
    EXPECT_EQ(m_viewer.totalLable, "1");
}

TEST_P(ViewerStore, DeleteTakesTheLastRecordShownNotOneAppendedSince)
{
    fill(3);
    ASSERT_TRUE(m_viewer.load(m_path));
    ResultsTableModel *records = m_viewer.records();
    // An edit of the last row first: on a server that moves the record.
    ASSERT_TRUE(records->setData(records->index(2, column("ID Text")), "edited"));
    {
        ResultsDatabase station(m_path);
        NewRecord record;
        record.idText = QStringLiteral("from another station");
        station.append(record);
    }
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    ASSERT_TRUE(m_viewer.deleteSelectedRecord());
    EXPECT_EQ(ids(), (QStringList{"sample 1", "sample 2", "from another station"}));
    EXPECT_EQ(records->rowCount(), 3); // the grid now shows the new record too

    // The record the grid shows last has gone meanwhile: nothing else is deleted.
    ASSERT_TRUE(DbPeek(m_path).exec("DELETE FROM \"SamData\" WHERE \"idxRec#\" = 4"));
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    EXPECT_FALSE(m_viewer.deleteSelectedRecord());
    EXPECT_EQ(ids(), (QStringList{"sample 1", "sample 2"}));
}

TEST_P(ViewerStore, EditsAndDeletesTouchOneRecordEvenWhenItHasATwin)
{
    fill(2);
    {
        // The same report appended after a deletion: two records alike in every field.
        ResultsDatabase db(m_path);
        ASSERT_TRUE(QSqlQuery(db.connection())
                        .exec("INSERT INTO \"SamData\" SELECT * FROM \"SamData\" "
                              "WHERE \"idxRec#\" = 2"));
    }
    ASSERT_TRUE(m_viewer.load(m_path));
    ResultsTableModel *records = m_viewer.records();
    ASSERT_EQ(records->rowCount(), 3);

    ASSERT_TRUE(records->setData(records->index(1, column("ID Text")), "renamed"));
    EXPECT_EQ(records->data(records->index(1, column("ID Text"))).toString(), "renamed");
    QStringList stored = ids();
    stored.sort();
    EXPECT_EQ(stored, (QStringList{"renamed", "sample 1", "sample 2"}));
    if (!onServer()) { // the server orders twins by storage address, which an edit moves
        EXPECT_EQ(ids(), (QStringList{"sample 1", "renamed", "sample 2"}));
    }

    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    ASSERT_TRUE(m_viewer.deleteSelectedRecord());
    ASSERT_EQ(records->rowCount(), 2);
    stored = ids();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0], "sample 1");
    // The grid shows what is left, and exactly one of the twins went.
    EXPECT_EQ(records->data(records->index(1, column("ID Text"))).toString(), stored[1]);
    if (!onServer()) {
        EXPECT_EQ(stored[1], "renamed");
    }
}

TEST_P(ViewerStore, ARefusedEditIsReportedAndTheCellShowsTheStoredValue)
{
    fill(1);
    {
        ResultsDatabase db(m_path);
        QSqlQuery query(db.connection());
        if (onServer()) {
            ASSERT_TRUE(query.exec("ALTER TABLE \"SamData\" ADD CONSTRAINT \"no-x\" "
                                   "CHECK (\"ID Text\" NOT LIKE 'x%')"));
        } else {
            ASSERT_TRUE(query.exec("CREATE TRIGGER \"no-x\" BEFORE UPDATE ON \"SamData\" "
                                   "WHEN NEW.\"ID Text\" LIKE 'x%' "
                                   "BEGIN SELECT RAISE(ABORT, 'no x here'); END"));
        }
    }
    ASSERT_TRUE(m_viewer.load(m_path));
    ResultsTableModel *records = m_viewer.records();
    QSignalSpy failed(records, &ResultsTableModel::writeFailed);
    const QModelIndex cell = records->index(0, column("ID Text"));
    EXPECT_FALSE(records->setData(cell, "xyz"));
    ASSERT_EQ(failed.size(), 1);
    EXPECT_FALSE(failed[0][0].toString().isEmpty());
    EXPECT_EQ(records->data(cell).toString(), "sample 1");
    EXPECT_EQ(ids(), QStringList{"sample 1"});
    // The next edit goes through as usual.
    EXPECT_TRUE(records->setData(cell, "sample one"));
    EXPECT_EQ(ids(), QStringList{"sample one"});
}

TEST_P(ViewerStore, EditsTheirColumnCannotHoldAreRefusedWithTheReason)
{
    fill(1);
    ASSERT_TRUE(m_viewer.load(m_path));
    ResultsTableModel *records = m_viewer.records();
    QSignalSpy failed(records, &ResultsTableModel::writeFailed);
    const struct
    {
        const char *column;
        QString value;
        const char *reason;
    } refused[] = {{"idxRec#", "seven", "whole number"},
                   {"idxRec#", "40000", "whole number"},
                   {"Date & time", QString(31, u'd'), "at most 30 characters"},
                   {"CS-137", QString(17, u'9'), "at most 16 characters"},
                   {"CS-137", "abc", "takes a number (or nothing), not \"abc\""},
                   {"DT %", "1,5", "takes a number"}};
    for (const auto &c : refused) {
        const QModelIndex cell = records->index(0, column(c.column));
        const QString before = records->data(cell).toString();
        EXPECT_FALSE(records->setData(cell, c.value)) << c.column;
        ASSERT_FALSE(failed.isEmpty());
        EXPECT_TRUE(failed.takeLast()[0].toString().contains(QString::fromLatin1(c.reason)))
            << c.column;
        EXPECT_EQ(records->data(cell).toString(), before);
    }
    EXPECT_TRUE(records->setData(records->index(0, column("Date & time")), QString(30, u'd')));
    EXPECT_TRUE(records->setData(records->index(0, column("idxRec#")), "12"));
    EXPECT_EQ(DbPeek(m_path).records()[0]["idxRec#"].toInt(), 12);
}

TEST_P(ViewerStore, AValueTypedIntoAnEmptyCellGetsItsNuclideLineAndEnergy)
{
    ArchiverModel archiver;
    archiver.setOperator(&m_operator);
    archiver.setApath(m_path);
    for (const char *sample : {"RESULTS_normal.TXT", "RESULTS_corrcoeff.TXT"}) {
        archiver.setRpath(lumen::test::samplePath(sample));
        ASSERT_EQ(archiver.readLmnFile(), ArchiverModel::ReadStatus::Read);
        ASSERT_TRUE(archiver.appendIt());
    }
    ASSERT_TRUE(m_viewer.load(m_path));
    ResultsTableModel *records = m_viewer.records();
    ASSERT_TRUE(records->setData(records->index(0, column("CO-60@1173:23")), "5.5"));
    const auto rows = DbPeek(m_path).rows("SELECT * FROM \"SamResults\" WHERE \"Record\" = 1 "
                                          "AND \"Column\" = 'CO-60@1173:23'");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0]["Nuclide"].toString(), "CO-60");
    EXPECT_EQ(rows[0]["Line"].toInt(), 1);
    EXPECT_DOUBLE_EQ(rows[0]["Energy"].toDouble(), 1173.23);
    EXPECT_DOUBLE_EQ(rows[0]["Value"].toDouble(), 5.5);
    EXPECT_EQ(ResultsDatabase(m_path).verify().firstBreak, "");
}

TEST_P(ViewerStore, UnderASortAndAFilterDeleteActsOnWhatIsShown)
{
    fill(12);
    ASSERT_TRUE(m_viewer.load(m_path));
    ResultsTableModel *records = m_viewer.records();
    const int id = column("ID Text");
    records->sort(id, Qt::DescendingOrder); // text order: "sample 9" before "sample 12"
    EXPECT_EQ(records->data(records->index(0, id)).toString(), "sample 9");
    m_viewer.setIdFilter("SAMPLE 1");
    EXPECT_EQ(records->rowCount(), 4); // 12, 11, 10, 1
    // The record deleted is the one shown last, not the table's last one.
    EXPECT_EQ(m_viewer.deleteQuestion(), "Delete record 1 (ID: sample 1), are you SURE ?");
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    ASSERT_TRUE(m_viewer.deleteSelectedRecord());
    EXPECT_FALSE(ids().contains("sample 1"));
    EXPECT_EQ(ids().size(), 11);
    EXPECT_EQ(records->rowCount(), 3);
    EXPECT_EQ(m_viewer.totalLable, "3");
}

TEST_P(ViewerStore, ATableThatCannotBeReadLeavesTheStartTexts)
{
    // On the server: no table at all.
    if (!onServer()) {
        ASSERT_TRUE(lumen::test::writeBytes(m_path, "not a database at all"));
    }
    EXPECT_FALSE(m_viewer.load(m_path));
    EXPECT_FALSE(m_viewer.loadError().isEmpty()); // the reason is kept for the window
    EXPECT_EQ(m_viewer.records(), nullptr);
    EXPECT_EQ(m_viewer.totalLable, "0");
    EXPECT_EQ(m_viewer.fieldCount, "0");
    m_operator.queueAnswer(lumen::MessageAnswer::Yes);
    EXPECT_FALSE(m_viewer.deleteSelectedRecord());
}

LEDGERLY_ON_BOTH_BACKENDS(ViewerStore);
