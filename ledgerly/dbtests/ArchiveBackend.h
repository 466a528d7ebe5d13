#pragma once

#include "common/testsupport/ScriptedOperator.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsDatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumen::ledgerly::test {

/** The test server's URL: LEDGERLY_PG_URL, else the one the CTest fixture wrote; empty when none.
 */
inline QString serverUrl()
{
    const QString fromEnvironment = qEnvironmentVariable("LEDGERLY_PG_URL");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QFile file(QStringLiteral(LEDGERLY_PG_URL_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

inline bool serverBinariesPresent()
{
    return !QDir(QStringLiteral("/usr/lib/postgresql"))
                .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                .isEmpty();
}

/**
 * Each test runs once on a database file and once on the server; the server
 * run skips only where no server could ever be started on this machine.
 */
class ArchiveBackendTest : public ::testing::TestWithParam<const char *>
{
protected:
    bool onServer() const { return QString::fromLatin1(GetParam()) == u"server"; }

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (!onServer()) {
            m_path = m_dir.filePath(QStringLiteral("results.db"));
            return;
        }
        m_path = serverUrl();
        if (m_path.isEmpty()) {
            if (!serverBinariesPresent())
                GTEST_SKIP() << "no PostgreSQL server binaries on this machine";
            FAIL()
                << "no test server: run through ctest (fixture ledgerly_pg) or set LEDGERLY_PG_URL";
        }
        // Every test starts from no table, as a file test starts from no file.
        ResultsDatabase db(m_path);
        QSqlQuery(db.connection())
            .exec(QStringLiteral(
                "DROP TABLE IF EXISTS \"SamData\", \"SamRecords\", \"SamResults\", \"SamAudit\""));
    }

    QTemporaryDir m_dir;
    QString m_path;
};

/** The same, with the archiver's model on the test's archive, answered by a script. */
class ArchiverOnBackendTest : public ArchiveBackendTest
{
protected:
    void SetUp() override
    {
        ArchiveBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_model.setOperator(&m_operator);
        m_model.setApath(m_path);
    }

    lumen::ScriptedOperator m_operator;
    ArchiverModel m_model;
};

inline std::string backendName(const ::testing::TestParamInfo<const char *> &info)
{
    return info.param;
}

} // namespace lumen::ledgerly::test

#define LEDGERLY_ON_BOTH_BACKENDS(Suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(Archive, Suite, ::testing::Values("file", "server"),                  \
                             lumen::ledgerly::test::backendName)
