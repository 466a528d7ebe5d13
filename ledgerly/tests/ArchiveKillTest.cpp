#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/tests/DbPeek.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <limits>

using namespace lumen::ledgerly;

TEST(ArchiveKill, AnAppendKilledWhileMakingANewArchiveLeavesOneTheNextAppendUses)
{
    constexpr int kKills = 100;
    const lumen::test::ProgramFolder folder({QStringLiteral(LEDGERLY_EXE)});
    const QString report = lumen::test::samplePath("RESULTS_normal.TXT");
    const auto useArchive = [&](const QString &db) {
        lumen::test::writeBytes(folder.filePath("ARC&FILE.DAT"),
                                ArchiverSettings::pathsRecord({db, report}));
    };
    const QStringList append{QStringLiteral("APPEND"), QStringLiteral("--again")};

    // How long a whole append into a new archive takes here (the shortest of
    // three, as the machine's load varies): the kills fall inside it.
    int wholeMs = std::numeric_limits<int>::max();
    for (int i = 0; i < 3; ++i) {
        useArchive(folder.filePath(QStringLiteral("timing-%1.db").arg(i)));
        QElapsedTimer timer;
        timer.start();
        ASSERT_EQ(folder.run(append).status, 0);
        wholeMs = std::min(wholeMs, std::max<int>(int(timer.elapsed()), 5));
    }

    int killedBeforeTheEnd = 0;
    for (int i = 0; i < kKills; ++i) {
        const QString db = folder.filePath(QStringLiteral("kill-%1.db").arg(i));
        useArchive(db);
        const auto victim = folder.start(QString(), append);
        ASSERT_TRUE(victim->waitForStarted(10000));
        QThread::usleep(QRandomGenerator::global()->bounded(wholeMs * 1000));
        victim->kill();
        ASSERT_TRUE(victim->waitForFinished(10000));
        // Ended by the kill or as a whole append: a crash of its own or a failure fails.
        const bool killed = victim->exitStatus() == QProcess::CrashExit;
        EXPECT_EQ(victim->exitCode(), killed ? SIGKILL : 0) << "kill " << i;
        killedBeforeTheEnd += killed ? 1 : 0;

        const lumen::test::ProgramRun next = folder.run(append);
        ASSERT_EQ(next.status, 0) << "after kill " << i << ": " << next.err.toStdString();
        const qint64 records = test::DbPeek(db).count("SELECT COUNT(*) FROM \"SamRecords\"");
        EXPECT_TRUE(records == 1 || records == 2) << records;
    }
    // Many kills land while the program runs, or the loop tests nothing.
    EXPECT_GT(killedBeforeTheEnd, kKills / 4);
}
