#include "common/testsupport/TestSupport.h"
#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/dbtests/ArchiveBackend.h"

#include <QProcess>

using namespace lumen::ledgerly;

namespace {

class ServerReset : public lumen::ledgerly::test::ArchiveBackendTest
{
};

} // namespace

TEST_P(ServerReset, ResetsPrintNothingButTheirLine)
{
    ASSERT_TRUE(lumen::test::writeBytes(
        m_dir.filePath("ARC&FILE.DAT"),
        ArchiverSettings::pathsRecord({m_path, lumen::test::samplePath("RESULTS_normal.TXT")})));
    // The first reset drops tables that are not there, the second ones that are.
    for (int i = 0; i < 2; ++i) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("LUMEN_PROGRAM_DIR", m_dir.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(LEDGERLY_EXE), {"RESET"});
        ASSERT_TRUE(process.waitForFinished(60000));
        ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(process.readAllStandardError().toStdString(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, ServerReset, ::testing::Values("server"),
                         lumen::ledgerly::test::backendName);
