#include "common/testsupport/ProgramFolder.h"

#include <QDir>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

TEST(StartOptions, AnUnknownOptionIsRefusedWithTheHelpHintAndNoJournal)
{
    for (const char *option : {"--bogus", "-x"}) {
        lumen::test::ProgramFolder folder({QStringLiteral(SEQUA_EXE)});
        const lumen::test::ProgramRun run = folder.run({QString::fromLatin1(option)});
        EXPECT_EQ(run.status, 2) << option;
        const QString &err = run.err;
        EXPECT_TRUE(err.contains(QStringLiteral("unknown option: ") + QLatin1String(option)) &&
                    err.contains(QStringLiteral("Sequa --help")))
            << err.toStdString();
        EXPECT_FALSE(QDir(folder.filePath(QStringLiteral("journal"))).exists()) << option;
    }
}

} // namespace

#endif
