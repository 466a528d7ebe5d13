// What the window learns of a playing script: where it is, which pass of
// each loop, and how far a wait has come.
#include "sequa/core/run/RunProgress.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/start/UnattendedStart.h"
#include "sequa/tests/PlayerTestBench.h"

#include <functional>

namespace lumen::sequa::test {
namespace {

class RunProgressTest : public PlayerTestBench
{
protected:
    RunProgress &progress() { return model().runProgress(); }
};

TEST_F(RunProgressTest, EachLineShowsItsNumberOfTheScriptsLinesAndEveryLoopsPass)
{
    QStringList seen;
    m_recording->onCall = [&](const HostCall &) {
        seen.append(progress().lineCaption() + " | " + progress().loopsCaption());
    };
    // The script box's own final line end adds no line.
    EXPECT_FALSE(play({"; two samples, three counts each", "DoNumPass 2", "LoopBeg", "DoNumPass 3",
                       "LoopBeg", "StartAcquire", "LoopEnd", "LoopEnd", ""}));
    const QString line = QStringLiteral("Line 6 of 8: StartAcquire | ");
    EXPECT_EQ(seen, (QStringList{line + "Loop 1: pass 1 of 2, loop 2: pass 1 of 3",
                                 line + "Loop 1: pass 1 of 2, loop 2: pass 2 of 3",
                                 line + "Loop 1: pass 1 of 2, loop 2: pass 3 of 3",
                                 line + "Loop 1: pass 2 of 2, loop 2: pass 1 of 3",
                                 line + "Loop 1: pass 2 of 2, loop 2: pass 2 of 3",
                                 line + "Loop 1: pass 2 of 2, loop 2: pass 3 of 3"}));
    EXPECT_FALSE(progress().running());
    EXPECT_EQ(progress().lineCaption(), "");
}

TEST_F(RunProgressTest, WaitSecondsCountsTheSecondsLeftDown)
{
    QList<qint64> left;
    alsoOnAdvance([&](qint64) {
        if (progress().wait() == RunProgress::Wait::Seconds &&
            (left.isEmpty() || left.last() != progress().secondsLeft()))
            left.append(progress().secondsLeft());
    });
    EXPECT_FALSE(play({"WaitSeconds 4"}));
    EXPECT_EQ(left, (QList<qint64>{4, 3, 2, 1}));
    EXPECT_EQ(progress().wait(), RunProgress::Wait::None);
}

TEST_F(RunProgressTest, AWatchedPresetWaitReadsTheElapsedTimeOfThePresetsKind)
{
    SimulatedHost &host = useSimulatedHost(1024);
    progress().setWatched(true);
    QList<double> elapsed;
    alsoOnAdvance([&](qint64 ms) {
        host.advanceClock(ms / 1000.0);
        if (progress().wait() == RunProgress::Wait::Preset && progress().elapsedSeconds() >= 0 &&
            (elapsed.isEmpty() || elapsed.last() != progress().elapsedSeconds()))
            elapsed.append(progress().elapsedSeconds());
    });
    EXPECT_FALSE(
        play({"SetRealPreset 100", "SetLivePreset 6", "PresetsOn", "StartAcquire", "WaitPreset"}));
    EXPECT_EQ(progress().presetSeconds(), 6.0);
    ASSERT_GE(elapsed.size(), 3);
    EXPECT_TRUE(std::is_sorted(elapsed.begin(), elapsed.end()));
    EXPECT_EQ(elapsed.last(), 6.0) << "live time, which ends the acquisition at its preset";
}

TEST_F(RunProgressTest, AnUnwatchedPresetWaitAsksTheHostNothingMore)
{
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Reached Preset");
    EXPECT_FALSE(play({"SetLivePreset 60", "WaitPreset"}));
    EXPECT_EQ(m_recording->methods(), (QStringList{"SetLivePreset", "GetAcquireStatus"}));
}

TEST_F(RunProgressTest, AStoppedUnattendedStartEndsTheProgramWithoutConnectingAgain)
{
    writeFile(QStringLiteral("night.lsf"), "ConnectLMN\r\nWaitSeconds 3600\r\nStartAcquire\r\n");
    UnattendedStart start; // a display: a run that merely failed would open the window
    m_program->setUnattendedStart(std::ref(start));
    alsoOnAdvance([&](qint64) {
        if (progress().wait() == RunProgress::Wait::Seconds)
            model().runRecord().requestStop(RunRecord::kOperatorStop);
    });
    m_recording->calls.clear();
    EXPECT_EQ(m_program->startUp(file(QStringLiteral("night.lsf"))),
              SequaProgram::StartUpOutcome::EndProgram);
    EXPECT_EQ(start.exitStatus(), RunRecord::kStopped);
    EXPECT_EQ(m_recording->methods(), QStringList{"GetLibrary"}) << "only ConnectLMN's";
}

} // namespace
} // namespace lumen::sequa::test
