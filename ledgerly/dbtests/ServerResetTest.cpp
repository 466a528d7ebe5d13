#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/dbtests/ArchiveBackend.h"

using namespace lumen::ledgerly;
using ServerReset = lumen::ledgerly::test::ArchiveBackendTest;

TEST_P(ServerReset, ResetsPrintNothingButTheirLine)
{
    const lumen::test::ProgramFolder folder({QStringLiteral(LEDGERLY_EXE)});
    ASSERT_TRUE(lumen::test::writeBytes(
        folder.filePath("ARC&FILE.DAT"),
        ArchiverSettings::pathsRecord({m_path, lumen::test::samplePath("RESULTS_normal.TXT")})));
    // The first reset drops tables that are not there, the second ones that are.
    for (int i = 0; i < 2; ++i) {
        const lumen::test::ProgramRun reset = folder.run({QStringLiteral("RESET")});
        EXPECT_EQ(reset.status, 0);
        EXPECT_EQ(reset.err.toStdString(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, ServerReset, ::testing::Values("server"),
                         lumen::ledgerly::test::backendName);
