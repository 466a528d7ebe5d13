#include "sequa/core/SequaTexts.h"
#include "sequa/tests/SequaTestBench.h"

namespace lumen::sequa::test {
namespace {

class MainModelTest : public SequaTestBench
{
};

TEST_F(MainModelTest, StartsWithTheDesignTexts)
{
    EXPECT_EQ(model().statusText(), "Status");
    EXPECT_EQ(model().lastCommandText(), "Last Script Command Processed");
    EXPECT_EQ(model().numPassLoopText(), "0");
    EXPECT_EQ(model().rootNameText(), "SPEC");
    EXPECT_EQ(model().primaryNumberText(), "1");
    EXPECT_EQ(model().roiCountText(), "6");
    EXPECT_EQ(model().roiNumberText(), "1");
    EXPECT_EQ(model().deadTimeFileName(), "DT.txt");
    EXPECT_FALSE(model().doNow());
    EXPECT_EQ(model().analysisTypeIndex(), -1);
    EXPECT_TRUE(model().commandFramesEnabled());
    EXPECT_FALSE(model().hasHostAppObject());
}

TEST_F(MainModelTest, ScriptAcceptsLinesUntilItHolds32000Characters)
{
    model().setScriptText(QString(31999, QLatin1Char('a')));
    const QString longLine(500, QLatin1Char('b'));
    model().AppendScriptLine(longLine);
    EXPECT_EQ(model().scriptText().size(), 31999 + 500 + 2) << "the last line may pass the limit";
    EXPECT_TRUE(m_operator.messages().isEmpty());

    const QString before = model().scriptText();
    model().AppendScriptLine(QStringLiteral("Beep"));
    model().AppendScriptLine(QString());
    EXPECT_EQ(model().scriptText(), before);
    EXPECT_EQ(m_operator.messages(), QStringList({kScriptFull, kScriptFull}));
    EXPECT_EQ(m_operator.prompts().first().title, kProgramTitle);

    model().setScriptText(QString(32000, QLatin1Char('a')));
    model().AppendScriptLine(QStringLiteral("x"));
    EXPECT_EQ(model().scriptText().size(), 32000) << "exactly 32000 is already full";
}

TEST_F(MainModelTest, TickCountWrapsToZeroPastOneMillion)
{
    model().setTickCount(MainModel::kTickLimit - 1);
    model().onTick();
    EXPECT_EQ(model().tickCount(), MainModel::kTickLimit);
    model().onTick();
    EXPECT_EQ(model().tickCount(), 0);
    model().onTick();
    EXPECT_EQ(model().tickCount(), 1);
}

TEST_F(MainModelTest, TicksAreCountedAcrossTheWrap)
{
    const qint32 mark = MainModel::kTickLimit - 2;
    model().setTickCount(mark);
    for (int i = 0; i < 5; ++i)
        model().onTick();
    EXPECT_EQ(model().tickCount(), 2);
    EXPECT_EQ(model().ticksSince(mark), 5);
    EXPECT_EQ(model().ticksSince(2), 0);
}

TEST_F(MainModelTest, TimerTicksEveryQuarterSecondOfTheClock)
{
    m_clock.advance(249);
    EXPECT_EQ(model().tickCount(), 0);
    m_clock.advance(1);
    EXPECT_EQ(model().tickCount(), 1);
    m_clock.advance(1000);
    EXPECT_EQ(model().tickCount(), 5);
}

TEST_F(MainModelTest, TickWaitEndsEvenWithoutATimer)
{
    QuarterSecondTimer detached(model());
    detached.followClock(m_clock); // takes the clock away from the program's timer...
    m_clock.onAdvance({});         // ...and then nobody ticks
    const QDateTime start = m_clock.now();
    model().pumpForTicks(15);
    EXPECT_EQ(model().tickCount(), 0);
    EXPECT_LT(secondsSince(start), 20.0);
}

TEST_F(MainModelTest, MessagePanelShowsAndHides)
{
    int signals = 0;
    QObject::connect(&model(), &MainModel::messagePanelChanged, [&] { ++signals; });
    model().ShowMessagePanel(QStringLiteral("hello"));
    EXPECT_TRUE(model().messagePanelShown());
    EXPECT_EQ(model().messagePanelText(), "hello");
    model().HideMessagePanel();
    EXPECT_FALSE(model().messagePanelShown());
    model().HideMessagePanel();
    EXPECT_EQ(signals, 2);
}

TEST_F(MainModelTest, LoopSlotsAreNumberedOneToTen)
{
    model().loopCounter(1) = 3;
    model().loopCounter(10) = 4;
    EXPECT_EQ(model().loopCounter(1), 3);
    EXPECT_EQ(model().loopCounter(10), 4);
    EXPECT_THROW(model().loopStartLine(11), Failure);
    EXPECT_THROW(model().loopPasses(0), Failure);
}

} // namespace
} // namespace lumen::sequa::test
