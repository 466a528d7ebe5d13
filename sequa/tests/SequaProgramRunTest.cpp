#include "common/testsupport/ProgramFolder.h"

#include <QDir>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

TEST(SequaProgramRun, AnswersHelpAndVersionWithoutTouchingAnyFile)
{
    lumen::test::ProgramFolder folder({QStringLiteral(SEQUA_EXE)});
    const lumen::test::ProgramRun version = folder.run({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("Sequa "))) << version.out.toStdString();
    const lumen::test::ProgramRun help = folder.run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("SCRIPT")));
    for (const char *said :
         {"0  the script ran", "1  the run was stopped", "2  nothing was played",
          "3  the script ran", "journal/", "LUMEN_HOST ", "LUMEN_HOST_TIMEOUT", "LUMEN_HOST_SEED",
          "LUMEN_HOST_SPEED", "LUMEN_HOST_CHANNELS", "LUMEN_HOST_START", "LUMEN_HOST_FAULTS",
          "LUMEN_ANSWERS", "LUMEN_PROGRAM_DIR", "LUMEN_ROOT", "LUMEN_SEQUA_DEPTH"})
        EXPECT_TRUE(help.out.contains(QLatin1String(said))) << said;
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Sequa")});
}

} // namespace

#endif
