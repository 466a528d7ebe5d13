#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/tests/DbPeek.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <limits>

using namespace lumen::ledgerly;

namespace {

constexpr int kKills = 100;

// Ledgerly APPEND run from the build with the settings of `folder`.
std::unique_ptr<QProcess> startAppend(const QString &folder)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("LUMEN_PROGRAM_DIR", folder);
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(LEDGERLY_EXE), {"APPEND", "--again"});
    return process;
}

} // namespace

TEST(ArchiveKill, AnAppendKilledWhileMakingANewArchiveLeavesOneTheNextAppendUses)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString report = lumen::test::samplePath("RESULTS_normal.TXT");
    const auto useArchive = [&](const QString &db) {
        lumen::test::writeBytes(dir.filePath("ARC&FILE.DAT"),
                                ArchiverSettings::pathsRecord({db, report}));
    };

    // How long a whole append into a new archive takes here (the shortest of
    // three, as the machine's load varies): the kills fall inside it.
    int wholeMs = std::numeric_limits<int>::max();
    for (int i = 0; i < 3; ++i) {
        useArchive(dir.filePath(QStringLiteral("timing-%1.db").arg(i)));
        QElapsedTimer timer;
        timer.start();
        auto timing = startAppend(dir.path());
        ASSERT_TRUE(timing->waitForFinished(60000));
        ASSERT_EQ(timing->exitCode(), 0);
        wholeMs = std::min(wholeMs, std::max<int>(int(timer.elapsed()), 5));
    }

    int killedBeforeTheEnd = 0;
    for (int i = 0; i < kKills; ++i) {
        const QString db = dir.filePath(QStringLiteral("kill-%1.db").arg(i));
        useArchive(db);
        auto victim = startAppend(dir.path());
        ASSERT_TRUE(victim->waitForStarted(10000));
        QThread::usleep(QRandomGenerator::global()->bounded(wholeMs * 1000));
        victim->kill();
        ASSERT_TRUE(victim->waitForFinished(10000));
        killedBeforeTheEnd += victim->exitStatus() == QProcess::CrashExit ? 1 : 0;

        auto next = startAppend(dir.path());
        ASSERT_TRUE(next->waitForFinished(60000));
        ASSERT_EQ(next->exitStatus(), QProcess::NormalExit) << "after kill " << i;
        ASSERT_EQ(next->exitCode(), 0)
            << "after kill " << i << ": " << next->readAllStandardError().toStdString();
        const qint64 records = test::DbPeek(db).count("SELECT COUNT(*) FROM \"SamRecords\"");
        EXPECT_TRUE(records == 1 || records == 2) << records;
    }
    // Many kills land while the program runs, or the loop tests nothing.
    EXPECT_GT(killedBeforeTheEnd, kKills / 4);
}
