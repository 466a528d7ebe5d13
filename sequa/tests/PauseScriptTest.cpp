// Pause Script pressed while a script plays from the window: where the run
// holds, what the panel and journal say, and how Resume, Stop and Exit end it.
#include "sequa/gui/RxMainWindow.h"
#include "sequa/gui/ScriptButtonPanel.h"
#include "sequa/tests/PlayerTestBench.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
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

TEST_F(PauseScriptTest, TheRunHoldsInWaitSecondsOrAfterWaitPresetUntilResumed)
{
    const struct
    {
        const char *wait;
        int resumeAt;               ///< second of the run
        const char *askedShown;     ///< the pause, a second after it was asked
        const char *heldShown;      ///< the pause and the wait at 30 s (a pattern)
        int startedFrom, startedTo; ///< seconds when the next line reached the host
    } cases[] = {
        // 60 s of countdown and 100 held; the countdown stood still meanwhile.
        {"WaitSeconds 60", 103, "Paused by the operator for 0:00:0",
         R"(Paused by the operator for 0:00:2\d \| Time left 0:00:5\d)", 159, 162},
        // The host counts on, so the wait polls on to its end (at 10 s, then 2 s more).
        {"WaitPreset", 40, "Paused by the operator: the run holds when this line ends",
         R"(Paused by the operator for 0:00:1\d \| )", 40, 41},
    };
    ASSERT_TRUE(m_pause);
    EXPECT_FALSE(m_pause->isEnabled()) << "nothing plays";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.wait);
        m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Acquiring");
        QString asked, held;
        qsizetype polls = 0;
        const auto pollCount = [this] {
            return m_recording->callsOf(QStringLiteral("GetAcquireStatus")).size();
        };
        playWithSteps(
            QString::fromLatin1(c.wait) + QStringLiteral("\r\nStartAcquire"),
            {{3,
              [&] {
                  click("cmdPauseScript");
                  EXPECT_EQ(m_pause->text(), "Resume");
              }},
             {4,
              [&] {
                  asked = text("lblRunPaused");
                  polls = pollCount();
              }},
             {10,
              [&] {
                  polls = pollCount() - polls;
                  m_recording->replies[QStringLiteral("GetAcquireStatus")] =
                      QStringLiteral("Reached Preset");
              }},
             {30, [&] { held = text("lblRunPaused") + " | " + text("lblRunWait"); }},
             {35,
              [&] {
                  EXPECT_FALSE(runner().ExecuteCommandLine(QStringLiteral("WaitSeconds 2"), false))
                      << "a recorder button's wait during the hold waits, unheld";
              }},
             {c.resumeAt, [&] {
                  EXPECT_EQ(m_startedAt, -1);
                  click("cmdPauseScript");
                  EXPECT_EQ(m_pause->text(), "Pause Script");
              }}});
        EXPECT_TRUE(asked.startsWith(QString::fromLatin1(c.askedShown))) << asked.toStdString();
        EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(c.heldShown))
                        .match(held)
                        .hasMatch())
            << held.toStdString();
        EXPECT_GE(m_startedAt, c.startedFrom * 1000);
        EXPECT_LE(m_startedAt, c.startedTo * 1000);
        if (QByteArray(c.wait) == "WaitPreset") {
            EXPECT_GE(polls, 4) << "polls while the pause was asked";
        }
        const QString journal = journalText();
        for (const QString &entry :
             {QStringLiteral("Paused by the operator at line 1"),
              QStringLiteral("Resumed by the operator after 0:0"),
              QStringLiteral("Line 1: %1 -> OK").arg(c.wait), QStringLiteral("Exit status: 0")})
            EXPECT_TRUE(journal.contains(entry)) << entry.toStdString() << "\n"
                                                 << journal.toStdString();
    }
}

TEST_F(PauseScriptTest, StopOrExitEndsAPausedRunAtOnce)
{
    const std::function<void()> ends[] = {[this] { click("cmdStopScript"); },
                                          [this] { control<QAction>("mnuExit")->trigger(); },
                                          [this] { m_window.close(); }};
    for (const auto &end : ends) {
        playWithSteps(QStringLiteral("WaitSeconds 3600\r\nStartAcquire"),
                      {{3, [this] { click("cmdPauseScript"); }}, {10, end}});
        EXPECT_LT(m_elapsed, 11000) << "never held past the stop";
        EXPECT_EQ(m_startedAt, -1);
        EXPECT_FALSE(model().runRecord().paused());
        EXPECT_FALSE(m_pause->isEnabled());
        EXPECT_EQ(m_pause->text(), "Pause Script");
        EXPECT_TRUE(temporaryFiles().isEmpty());
        EXPECT_TRUE(journalText().contains("interrupted (stopped by the operator)"))
            << journalText().toStdString();
    }
}

} // namespace
} // namespace lumen::sequa::test
