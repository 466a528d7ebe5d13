// Pause Script pressed while a script plays from the window: where the run
// holds, what the panel and journal say, and how Resume, Stop and Exit end it.
#include "sequa/gui/RxMainWindow.h"
#include "sequa/gui/ScriptButtonPanel.h"
#include "sequa/tests/PlayerTestBench.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <vector>

namespace lumen::sequa::test {
namespace {

class PauseScriptTest : public PlayerTestBench
{
protected:
    PauseScriptTest() : m_window(*m_program)
    {
        new ScriptButtonPanel(m_window, *m_program);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_pause = control<QPushButton>("cmdPauseScript");
    }

    template <typename T> T *control(const char *name)
    {
        T *found = m_window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char *label) { return control<QLabel>(label)->text(); }
    void click(const char *button)
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    /** Plays the script from the window; each step runs once the fake clock reaches its second. */
    void playWithSteps(const QString &script,
                       std::vector<std::pair<int, std::function<void()>>> steps)
    {
        model().setScriptText(script);
        m_elapsed = 0;
        m_startedAt = -1;
        m_recording->onCall = [this](const HostCall &call) {
            if (call.method == QLatin1String("StartAcquire"))
                m_startedAt = m_elapsed;
        };
        std::size_t next = 0;
        alsoOnAdvance([&, this](qint64 ms) {
            m_elapsed += ms;
            if (next < steps.size() && m_elapsed >= steps[next].first * 1000LL)
                steps[next++].second();
        });
        click("cmdScript_3");
        QCoreApplication::processEvents(); // the run starts from the event loop
        m_clock.onAdvance({});
        m_recording->onCall = {};
        EXPECT_EQ(next, steps.size()) << "the run ended before its last step";
    }

    RxMainWindow m_window;
    QPushButton *m_pause = nullptr;
    qint64 m_elapsed = 0;
    qint64 m_startedAt = -1; ///< ms into the run when StartAcquire reached the host
};

TEST_F(PauseScriptTest, AWaitSecondsCountdownHoldsAndGoesOnWithTheTimeItHadLeft)
{
    ASSERT_TRUE(m_pause);
    EXPECT_EQ(m_pause->text(), "Pause Script");
    EXPECT_FALSE(m_pause->isEnabled()) << "nothing plays";
    QString waitShown, waitHeld;
    playWithSteps(
        QStringLiteral("WaitSeconds 60\r\nStartAcquire"),
        {{3,
          [&] {
              click("cmdPauseScript");
              EXPECT_EQ(m_pause->text(), "Resume");
          }},
         {4, [&] { waitShown = text("lblRunWait"); }},
         {103, [&] {
              waitHeld = text("lblRunWait");
              EXPECT_TRUE(text("lblRunPaused").startsWith("Paused by the operator for 0:01:3"))
                  << text("lblRunPaused").toStdString();
              EXPECT_EQ(m_startedAt, -1);
              click("cmdPauseScript");
              EXPECT_EQ(m_pause->text(), "Pause Script");
          }}});
    EXPECT_EQ(waitHeld, waitShown) << "the countdown stood still";
    // 60 s of waiting, 100 s held.
    EXPECT_GE(m_startedAt, 159000);
    EXPECT_LE(m_startedAt, 162000);
    const QString journal = journalText();
    for (const char *entry :
         {"Paused by the operator at line 1",
          "Resumed by the operator after 0:01:", "Line 1: WaitSeconds 60 -> OK", "Exit status: 0"})
        EXPECT_TRUE(journal.contains(QString::fromLatin1(entry))) << entry << "\n"
                                                                  << journal.toStdString();
    EXPECT_FALSE(m_pause->isEnabled());
}

TEST_F(PauseScriptTest, WaitPresetPollsOnAndTheRunHoldsAfterIt)
{
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Acquiring");
    qsizetype pollsWhileAsked = 0;
    playWithSteps(
        QStringLiteral("WaitPreset\r\nStartAcquire"),
        {{3,
          [&] {
              click("cmdPauseScript");
              EXPECT_EQ(text("lblRunPaused"),
                        "Paused by the operator: the run holds when this line ends");
              pollsWhileAsked = m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size();
          }},
         {10,
          [&] {
              pollsWhileAsked =
                  m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size() - pollsWhileAsked;
              m_recording->replies[QStringLiteral("GetAcquireStatus")] =
                  QStringLiteral("Reached Preset");
          }},
         {40, [&] {
              EXPECT_EQ(m_startedAt, -1) << "held after WaitPreset";
              EXPECT_TRUE(text("lblRunPaused").startsWith("Paused by the operator for 0:00:2"))
                  << text("lblRunPaused").toStdString();
              click("cmdPauseScript");
          }}});
    EXPECT_GE(pollsWhileAsked, 4) << "the host keeps counting, so the wait keeps polling";
    EXPECT_GE(m_startedAt, 40000);
    EXPECT_TRUE(journalText().contains("Line 1: WaitPreset -> OK")) << journalText().toStdString();
}

TEST_F(PauseScriptTest, StopOrExitEndsAPausedRunAtOnce)
{
    for (const char *how : {"stop", "exit"}) {
        SCOPED_TRACE(how);
        playWithSteps(
            QStringLiteral("WaitSeconds 3600\r\nStartAcquire"),
            {{3, [&] { click("cmdPauseScript"); }}, {10, [&] {
                                                         if (QByteArray(how) == "stop")
                                                             click("cmdStopScript");
                                                         else
                                                             control<QAction>("mnuExit")->trigger();
                                                     }}});
        EXPECT_LT(m_elapsed, 11000) << "never held past the stop";
        EXPECT_EQ(m_startedAt, -1);
        EXPECT_FALSE(model().playing());
        EXPECT_FALSE(model().runRecord().paused());
        EXPECT_FALSE(m_pause->isEnabled());
        EXPECT_EQ(m_pause->text(), "Pause Script");
        EXPECT_TRUE(temporaryFiles().isEmpty());
        EXPECT_TRUE(journalText().contains("interrupted (stopped by the operator)"))
            << journalText().toStdString();
        model().runRecord().clearStop();
    }
}

} // namespace
} // namespace lumen::sequa::test
