// Stop Script pressed while a script plays from the window, inside its waits.
#include "sequa/gui/RunProgressPanel.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/gui/ScriptButtonPanel.h"
#include "sequa/tests/PlayerTestBench.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace lumen::sequa::test {
namespace {

class StopScriptTest : public PlayerTestBench
{
protected:
    StopScriptTest() : m_window(*m_program)
    {
        new ScriptButtonPanel(m_window, *m_program);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    template <typename T> T *control(const char *name)
    {
        T *found = m_window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    RxMainWindow m_window;
};

TEST_F(StopScriptTest, StopEndsTheRunInsideEitherWaitWithTheCloseOutOfAStoppedRun)
{
    m_recording->replies[QStringLiteral("GetAcquireStatus")] = QStringLiteral("Acquiring");
    m_recording->replies[QStringLiteral("GetElapsedLive")] = QStringLiteral("12");
    const struct
    {
        const char *wait;
        bool escape;       ///< Esc instead of a click
        const char *shown; ///< how the wait shows, its start
        int bar;           ///< thousandths of the preset; -1: no bar
    } cases[] = {
        {"WaitPreset", false, "Live time 0:00:12 of 0:01:00", 200},
        {"WaitSeconds 3600", false, "Time left 0:59:5", -1},
        {"WaitSeconds 3600", true, "Time left 0:59:5", -1},
    };
    QPushButton *stop = control<QPushButton>("cmdStopScript");
    QPushButton *play = control<QPushButton>("cmdScript_3");
    ASSERT_TRUE(stop && play);
    EXPECT_EQ(stop->text(), "Stop Script");
    EXPECT_FALSE(stop->isEnabled()) << "no run to stop";

    for (const auto &c : cases) {
        SCOPED_TRACE(c.wait);
        model().setScriptText(QStringLiteral("SetLivePreset 60\r\nDoNumPass 2\r\nLoopBeg\r\n") +
                              QString::fromLatin1(c.wait) +
                              QStringLiteral("\r\nStartAcquire\r\nLoopEnd\r\n"));
        m_recording->calls.clear();
        QString line, loops, shown;
        int bar = -1;
        qint64 elapsed = 0;
        alsoOnAdvance([&](qint64 ms) {
            if ((elapsed += ms) < 3000 || model().runRecord().stopRequested())
                return;
            line = control<QLabel>("lblRunLine")->text();
            loops = control<QLabel>("lblRunLoops")->text();
            shown = control<QLabel>("lblRunWait")->text();
            auto *preset = control<QProgressBar>("prgPreset");
            bar = preset->isVisibleTo(&m_window) ? preset->value() : -1;
            if (c.escape) {
                // The operator brings the minimized or covered window up first.
                m_window.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
                QTest::keyClick(&m_window, Qt::Key_Escape);
            } else
                QTest::mouseClick(stop, Qt::LeftButton);
        });
        QTest::mouseClick(play, Qt::LeftButton);
        QCoreApplication::processEvents();
        m_clock.onAdvance({});

        EXPECT_EQ(line, QStringLiteral("Line 4 of 6: ") + c.wait);
        EXPECT_EQ(loops, "Loop 1: pass 1 of 2");
        EXPECT_TRUE(shown.startsWith(QString::fromLatin1(c.shown))) << shown.toStdString();
        EXPECT_EQ(bar, c.bar);
        EXPECT_LT(elapsed, 10000) << "the run ended at once";
        EXPECT_TRUE(m_recording->callsOf(QStringLiteral("StartAcquire")).isEmpty());
        EXPECT_FALSE(model().playing());
        EXPECT_FALSE(stop->isEnabled());
        EXPECT_TRUE(temporaryFiles().isEmpty());
        EXPECT_TRUE(journalText().contains("interrupted (stopped by the operator)"))
            << journalText().toStdString();
        EXPECT_TRUE(journalText().contains("Exit status: 1"));
    }
}

} // namespace
} // namespace lumen::sequa::test
