#include "sequa/core/CreateHostAppObject.h"
#include "sequa/tests/SequaTestBench.h"

namespace lumen::sequa::test {
namespace {

class SimulatedHostStartUp : public SequaTestBench
{
};

// The default host factory, end to end: start-up reaches the simulated host
// in process and reads back its primary spectrum, library and flag.
TEST_F(SimulatedHostStartUp, ConnectsAndReadsTheLibrary)
{
    qunsetenv("LUMEN_HOST");
    SequaProgram program(&createHostAppObject);
    program.timer().followClock(m_clock);
    program.model().setDoNow(true);
    program.startUp(QString());
    EXPECT_EQ(program.model().statusText(), "Connected to Lumen");
    EXPECT_FALSE(program.model().libraryText().isEmpty());
    EXPECT_FALSE(program.model().libraryText().startsWith("Error"));
    EXPECT_TRUE(m_operator.messages().isEmpty()) << m_operator.messages().join('|').toStdString();

    EXPECT_FALSE(program.runner().ExecuteCommandLine(QStringLiteral("ConnectLMN"), false));
    EXPECT_EQ(program.model().statusText(), "Connected to Lumen");
}

} // namespace
} // namespace lumen::sequa::test
