#include "common/core/Platform.h"
#include "common/core/Clock.h"
#include "common/core/EventPump.h"
#include "common/core/HeadlessOperator.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"
#include "common/testsupport/FakeClock.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumen;

TEST(ScriptedOperator, AnswersFromItsQueuesAndRecordsPrompts)
{
    ScriptedOperator op;
    op.queueAnswer(MessageAnswer::Yes);
    op.queueInput(QStringLiteral("42"));
    EXPECT_EQ(op.messageBox("Are you sure?", "Sequa", MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(op.messageBox("Again?", "Sequa", MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(op.inputBox("Enter:", "Loop", "1"), QStringLiteral("42"));
    EXPECT_EQ(op.inputBox("Enter:", "Loop", "1"), QString());
    EXPECT_FALSE(op.fileDialog({}).has_value());
    op.beep();
    EXPECT_EQ(op.messages(), (QStringList{"Are you sure?", "Again?"}));
    EXPECT_EQ(op.prompts().size(), 6);
    EXPECT_EQ(op.prompts()[2].defaultText, QStringLiteral("1"));
    EXPECT_EQ(op.beeps(), 1);
}

TEST(HeadlessOperator, AnswersInputBoxesFromTheAnswersFileThenCancels)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("answers.txt"));
    ASSERT_TRUE(test::writeBytes(path, "SOIL-001\r\n\r\n 0.5 \n"));
    qputenv("LUMEN_ANSWERS", path.toLocal8Bit());
    HeadlessOperator oper;
    qunsetenv("LUMEN_ANSWERS");
    EXPECT_EQ(oper.inputBox(QStringLiteral("ID?"), QStringLiteral("t"), QString()), "SOIL-001");
    EXPECT_EQ(oper.inputBox(QStringLiteral("x"), QStringLiteral("t"), QStringLiteral("d")), "");
    EXPECT_EQ(oper.inputBox(QStringLiteral("q"), QStringLiteral("t"), QString()), " 0.5 ");
    EXPECT_EQ(oper.inputBox(QStringLiteral("more"), QStringLiteral("t"), QStringLiteral("d")), "");
    EXPECT_EQ(oper.messageBox(QStringLiteral("Sure?"), QStringLiteral("t"), MessageButtons::YesNo),
              MessageAnswer::No);
}

TEST(FakeClock, AdvancesOnEveryPump)
{
    FakeClock clock(QDateTime(QDate(2026, 1, 1), QTime(23, 59, 59)), 250);
    qint64 heard = 0;
    clock.onAdvance([&](qint64 ms) { heard += ms; });
    setCurrentClock(&clock);
    for (int i = 0; i < 8; ++i)
        pumpEvents();
    pumpEventsWhileWaiting(1000);
    setCurrentClock(nullptr);
    EXPECT_EQ(heard, 9 * 250);
    EXPECT_EQ(clock.today(), QDate(2026, 1, 2));
    EXPECT_NEAR(clock.secondsSinceMidnight(), 1.25, 1e-9);
}

TEST(Paths, DesignRootMapsUnderLumenRoot)
{
    qputenv("LUMEN_ROOT", "/tmp/lumen-x");
    EXPECT_EQ(designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\Temp\\RESULTS.TXT")),
              QStringLiteral("/tmp/lumen-x/Temp/RESULTS.TXT"));
    EXPECT_EQ(defaultReportPath(), QStringLiteral("/tmp/lumen-x/Temp/RESULTS.TXT"));
    EXPECT_TRUE(hasFolder(QStringLiteral("a\\b.txt")));
    EXPECT_TRUE(hasFolder(QStringLiteral("a/b.txt")));
    EXPECT_FALSE(hasFolder(QStringLiteral("b.txt")));
    EXPECT_EQ(inProgramDirectory(QStringLiteral("x.txt")), programFile(QStringLiteral("x.txt")));
}

TEST(Paths, ProgramDirectoryCanBeChosenForAnInstallation)
{
    qputenv("LUMEN_PROGRAM_DIR", "/tmp/lumen-programs");
    EXPECT_EQ(programFile(QStringLiteral("ARC&FILE.DAT")),
              QStringLiteral("/tmp/lumen-programs/ARC&FILE.DAT"));
    qunsetenv("LUMEN_PROGRAM_DIR");
    EXPECT_EQ(programDirectory(), QCoreApplication::applicationDirPath());
}

TEST(ProcessLauncher, FindsAProgramOfTheCurrentFolderByItsBareName)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("lumen-probe"));
    ASSERT_TRUE(test::writeBytes(script, "#!/bin/sh\nexit 7\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    SystemProcessLauncher launcher;
    qint64 pid = -1;
    EXPECT_NO_THROW(pid = launcher.start(QStringLiteral("lumen-probe now"), false));
    QDir::setCurrent(before);
    EXPECT_EQ(launcher.waitForEnd(pid).code, 7);
}

TEST(ProcessLauncher, StartsAndWaitsForAProgram)
{
    SystemProcessLauncher launcher;
    const qint64 pid = launcher.start(QStringLiteral("sh -c \"exit 3\""), false);
    EXPECT_GT(pid, 0);
    EXPECT_EQ(launcher.waitForEnd(pid).code, 3);
    EXPECT_FALSE(launcher.isRunning(pid));
    EXPECT_THROW(launcher.start(QStringLiteral("no-such-program-here"), false), std::exception);
    EXPECT_EQ(ProcessLauncher::splitCommandLine(QStringLiteral("prog \"a b\" c")),
              (QStringList{"prog", "a b", "c"}));
}

TEST(ProcessLauncher, TellsASignalFromAnExitAndEndsAProgramOnAStop)
{
    SystemProcessLauncher launcher;
    const ProcessEnd crashed =
        launcher.waitForEnd(launcher.start(QStringLiteral("sh -c \"kill -9 $$\""), false));
    EXPECT_EQ(crashed.how, ProcessEnd::How::Signalled);
    EXPECT_EQ(crashed.describe(), QStringLiteral("signal 9 (SIGKILL)"));
    EXPECT_FALSE(crashed.succeeded());

    // One that ends on SIGTERM, and one that ignores it and is killed after the grace.
    for (const char *line : {"sleep 1000", "sh -c \"trap '' TERM; while :; do sleep 0.1; done\""}) {
        const qint64 pid = launcher.start(QString::fromLatin1(line), false);
        QElapsedTimer timer;
        timer.start();
        const ProcessEnd end = launcher.waitForEnd(pid, [&] { return timer.elapsed() > 200; });
        EXPECT_TRUE(end.ended) << line;
        EXPECT_EQ(end.how, ProcessEnd::How::Signalled) << line;
        EXPECT_LT(timer.elapsed(), 200 + ProcessLauncher::kEndGraceMs + 3000) << line;
        EXPECT_FALSE(launcher.isRunning(pid));
    }
}

TEST(Platform, AHeadlessStartWithoutARuntimeFolderGetsAPrivateOneQuietly)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    lumen::selectPlatformForDisplay();
    const QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    EXPECT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QDir(folder).exists());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_FALSE(QFile::permissions(folder) & others);
    qputenv("XDG_RUNTIME_DIR", saved);
    if (saved.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
}
