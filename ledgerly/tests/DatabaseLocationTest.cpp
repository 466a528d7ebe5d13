#include "ledgerly/core/DatabaseLocation.h"
#include "common/core/Failure.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverModel.h"

#include <QSqlDatabase>
#include <gtest/gtest.h>

using namespace lumen::ledgerly;

namespace {

// Adds a connection for `path`, hands it to `check`, and removes it again.
template <typename Check> void withConnection(const QString &path, Check check)
{
    const QString name = QStringLiteral("location-test");
    {
        QSqlDatabase db = DatabaseLocation::addConnection(path, name);
        check(db);
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

TEST(DatabaseLocation, AServerUrlGivesItsPartsToTheClientLibrary)
{
    EXPECT_TRUE(DatabaseLocation::isServerUrl(" PostgreSQL://db.lab/archive"));
    EXPECT_TRUE(DatabaseLocation::isServerUrl("postgres://db.lab/archive"));
    EXPECT_FALSE(DatabaseLocation::isServerUrl("/data/postgresql://x"));
    EXPECT_FALSE(DatabaseLocation::isServerUrl("C:\\Lumen\\RESULTS.MDB"));

    withConnection("postgresql://lumen@db.lab:6543/archive", [](const QSqlDatabase &db) {
        EXPECT_EQ(db.driverName(), "QPSQL");
        EXPECT_EQ(db.hostName(), "db.lab");
        EXPECT_EQ(db.port(), 6543);
        EXPECT_EQ(db.userName(), "lumen");
        EXPECT_TRUE(db.password().isEmpty()); // left to PGPASSWORD or ~/.pgpass
        EXPECT_EQ(db.databaseName(), "archive");
        EXPECT_EQ(db.connectOptions(), "connect_timeout=10"); // a dead host does not hang a station
    });
    withConnection("postgresql://db.lab/archive?sslmode=require&connect_timeout=3",
                   [](const QSqlDatabase &db) {
                       EXPECT_EQ(db.port(), -1);
                       EXPECT_EQ(db.connectOptions(), "sslmode=require;connect_timeout=3");
                   });
    withConnection("/data/results.db", [](const QSqlDatabase &db) {
        EXPECT_EQ(db.driverName(), "QSQLITE");
        EXPECT_EQ(db.databaseName(), "/data/results.db");
    });

    for (const char *bad : {"postgresql://db.lab", "postgresql://db.lab/", "postgresql:///archive",
                            "postgresql://db.lab/a/b"}) {
        EXPECT_THROW(DatabaseLocation::addConnection(bad, "location-bad"), lumen::Failure) << bad;
        QSqlDatabase::removeDatabase("location-bad");
    }
}

TEST(DatabaseLocation, AServerThatDoesNotAnswerIsReportedLikeABadPath)
{
    lumen::ScriptedOperator op;
    ArchiverModel model;
    model.setOperator(&op);
    // Port 1 on loopback: refused at once.
    model.setApath(QStringLiteral("postgresql://lumen@127.0.0.1:1/lumen_test"));
    model.setRpath(lumen::test::samplePath("RESULTS_normal.TXT"));
    ASSERT_EQ(model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    EXPECT_FALSE(model.appendIt());
    ASSERT_EQ(op.messages().size(), 1);
    EXPECT_TRUE(
        op.messages()[0].startsWith("Invalid path or file name [ " + model.apath() + " ] <"))
        << op.messages()[0].toStdString();
    EXPECT_FALSE(model.appendButtonRed());

    model.setBlindFlag(true);
    EXPECT_FALSE(model.createDb());
    EXPECT_EQ(op.messages().size(), 1);
}
