// The program-run fixture itself: a crash or a hang must fail the test that
// ran the program, never pass as an exit status.
#include "common/testsupport/ProgramFolder.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using lumen::test::ProgramFolder;
using lumen::test::ProgramRun;

TEST(ProgramFolder, ACrashOrAHangFailsTheTestAndAnExitStatusPassesThrough)
{
    ProgramFolder folder({QStringLiteral("/bin/sh")});
    ProgramRun run;
    run = folder.run({"-c", "echo said; echo complained >&2; exit 6"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.out, "said\n");
    EXPECT_EQ(run.err, "complained\n");

    EXPECT_NONFATAL_FAILURE(run = folder.run({"-c", "kill -ABRT $$"}), "crashed (signal 6)");
    EXPECT_EQ(run.status, -1);
    EXPECT_NONFATAL_FAILURE(run = folder.run({"-c", "sleep 30"}, 300), "did not end within 300 ms");
    EXPECT_EQ(run.status, -1);
    EXPECT_NONFATAL_FAILURE(run = folder.run("none", {}), "did not start");
}

TEST(ProgramFolder, RunsInAScratchHomeWithoutADisplayOrTheShellsSettings)
{
    qputenv("LUMEN_HOST", "tcp://lab-host:5011");
    qputenv("DISPLAY", ":9");
    ProgramFolder folder({QStringLiteral("/bin/sh")});
    qunsetenv("LUMEN_HOST");
    qunsetenv("DISPLAY");
    const ProgramRun run = folder.run(
        {"-c", "echo \"$PWD|$HOME|$LUMEN_ROOT|$TMPDIR|${LUMEN_HOST-none}|${DISPLAY-none}\""});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, QStringList({folder.path(), folder.home(), folder.root(), folder.tmp(),
                                    "none", "none\n"})
                           .join(u'|'));
}

TEST(ProgramFolder, AServerSaysWhereItListensOrFailsTheTest)
{
    ProgramFolder folder({QStringLiteral("/bin/sh")});
    const auto listening = [&](const char *script, int timeoutMs = 20000) {
        const auto server = folder.start(QString(), {"-c", script});
        return ProgramFolder::listeningAt(*server, timeoutMs);
    };
    EXPECT_EQ(listening("echo starting; echo 'Listening on 0.0.0.0:5011'; exec sleep 30"),
              "0.0.0.0:5011");
    EXPECT_NONFATAL_FAILURE(listening("echo 'Listening on' >&2; exit 1"),
                            "ended with status 1 before it listened");
    EXPECT_NONFATAL_FAILURE(listening("kill -SEGV $$"), "crashed (signal 11)");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(listening("exec sleep 30", 300), QString()),
                            "did not say where it listens within 300 ms");
}
