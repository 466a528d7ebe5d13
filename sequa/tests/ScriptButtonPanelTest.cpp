#include "sequa/gui/ScriptButtonPanel.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/tests/PlayerTestBench.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace lumen::sequa::test {
namespace {

class ScriptButtonPanelTest : public PlayerTestBench
{
protected:
    ScriptButtonPanelTest() : m_window(*m_program)
    {
        new ScriptButtonPanel(m_window, *m_program);
        m_window.show();
    }

    QPushButton *button(int index)
    {
        auto *found = m_window.findChild<QPushButton *>(QStringLiteral("cmdScript_%1").arg(index));
        EXPECT_NE(found, nullptr) << index;
        return found;
    }

    void click(int index)
    {
        QTest::mouseClick(button(index), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    RxMainWindow m_window;
};

TEST_F(ScriptButtonPanelTest, PlayButtonRunsTheScriptAndIsDisabledMeanwhile)
{
    model().setDoNow(false);
    model().setScriptText(QStringLiteral("StartAcquire\r\n"));
    bool enabledDuringRun = true;
    bool doNowShown = false;
    m_recording->onCall = [&](const HostCall &) {
        QCoreApplication::processEvents();
        enabledDuringRun = button(ScriptButtons::PlayScript)->isEnabled();
        doNowShown = m_window.findChild<QCheckBox *>(QStringLiteral("DoNow"))->isChecked();
    };
    click(ScriptButtons::PlayScript);
    EXPECT_EQ(m_recording->methods(), QStringList{"StartAcquire"});
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_TRUE(doNowShown);
    EXPECT_TRUE(button(ScriptButtons::PlayScript)->isEnabled());
    EXPECT_FALSE(model().doNow());
}

TEST_F(ScriptButtonPanelTest, EraseButtonAsksAndClearsTheScriptBox)
{
    model().setScriptText(QStringLiteral("Beep\r\n"));
    m_operator.queueAnswer(MessageAnswer::Ok);
    click(ScriptButtons::EraseScript);
    EXPECT_EQ(m_operator.messages(), QStringList{"Are you sure?"});
    EXPECT_EQ(m_window.findChild<QPlainTextEdit *>(QStringLiteral("txtScript"))->toPlainText(), "");
}

} // namespace
} // namespace lumen::sequa::test
