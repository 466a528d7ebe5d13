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
