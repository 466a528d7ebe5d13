#include "sequa/gui/RxMainWindow.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/gui/MessagePanelWindow.h"
#include "sequa/tests/SequaTestBench.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace lumen::sequa::test {
namespace {

class MainWindow : public SequaTestBench
{
protected:
    MainWindow() : m_window(*m_program) { m_window.show(); }

    template <typename T> T *control(const char *name)
    {
        T *found = m_window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    RxMainWindow m_window;
};

TEST_F(MainWindow, ClickingTheConnectMenuConnectsChecksAndRecords)
{
    QMenu *menu = control<QMenu>("mnuConnect");
    QAction *item = control<QAction>("mnuConnectApp");
    ASSERT_TRUE(menu && item);
    EXPECT_EQ(menu->title(), "&Connect");
    EXPECT_EQ(item->text(), "Lumen ");
    EXPECT_FALSE(item->isChecked());

    QMenuBar *bar = m_window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());

    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(control<QLineEdit>("txtStatus")->text(), "Connected to Lumen");
    EXPECT_EQ(control<QPlainTextEdit>("txtScript")->toPlainText(), "ConnectLMN\n");
    EXPECT_EQ(model().scriptText(), "ConnectLMN\r\n");
}

TEST_F(MainWindow, HasTheDesignControlsCaptionsAndTips)
{
    EXPECT_EQ(m_window.objectName(), "frmRxMain");
    EXPECT_EQ(control<QLineEdit>("txtStatus")->toolTip(), "Command Status");
    EXPECT_EQ(control<QLineEdit>("LastCmd")->text(), "Last Script Command Processed");
    EXPECT_EQ(control<QCheckBox>("DoNow")->text(), "Immediate Test Mode");
    EXPECT_FALSE(control<QCheckBox>("DoNow")->isChecked());
    EXPECT_EQ(control<QLineEdit>("txtLib")->toolTip(), "Shows library selected");
    EXPECT_EQ(control<QCheckBox>("chkUseLibEff")->text(), "Use Library Efficiencies");
    EXPECT_EQ(control<QLineEdit>("NumPassLoop")->text(), "0");
    EXPECT_EQ(control<QLineEdit>("RootName")->text(), "SPEC");
    EXPECT_EQ(control<QLineEdit>("txt_NumbROIs")->text(), "6");
    EXPECT_EQ(control<QPushButton>("cmdScript_3")->text(), "Play Script");
    EXPECT_EQ(control<QAction>("mnuExit")->text(), "&Exit");
    EXPECT_EQ(control<QGroupBox>("frmElapsed")->title(), "Elapsed Times");
    EXPECT_EQ(control<QGroupBox>("frmExtProg")->title(), "External");

    m_program->startUp(QString());
    QComboBox *types = control<QComboBox>("cboAnalType");
    EXPECT_EQ(types->count(), 4);
    EXPECT_EQ(types->itemText(3), "ROIDirected");
    EXPECT_EQ(types->currentIndex(), -1);
}

TEST_F(MainWindow, FramesFollowTheModelAndOperatorEditsReachIt)
{
    model().EnableCommandFrames(false);
    for (const QString &name : kCommandFrames)
        EXPECT_FALSE(control<QGroupBox>(name.toLatin1().constData())->isEnabled());
    EXPECT_TRUE(control<QCheckBox>("DoNow")->isEnabled());
    model().EnableCommandFrames(true);
    EXPECT_TRUE(control<QGroupBox>("frmWait")->isEnabled());

    QCheckBox *doNow = control<QCheckBox>("DoNow");
    QTest::mouseClick(doNow, Qt::LeftButton, {}, QPoint(6, doNow->height() / 2));
    EXPECT_TRUE(model().doNow());
    QLineEdit *root = control<QLineEdit>("RootName");
    root->clear();
    QTest::keyClicks(root, "RUN");
    EXPECT_EQ(model().rootNameText(), "RUN");
    QPlainTextEdit *script = control<QPlainTextEdit>("txtScript");
    QTest::keyClicks(script, "Beep");
    QTest::keyClick(script, Qt::Key_Return);
    EXPECT_EQ(model().scriptText(), "Beep\r\n");
}

TEST_F(MainWindow, TheMessagePanelIsATopmostWindowThatExistsOnlyWhileShown)
{
    EXPECT_EQ(m_window.messagePanel(), nullptr);
    model().ShowMessagePanel(QStringLiteral("Working"));
    MessagePanelWindow *panel = m_window.messagePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->objectName(), "MsgForm");
    EXPECT_EQ(panel->windowTitle(), "Message");
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->findChild<QLabel *>("MsgPanel")->text(), "Working");
    model().HideMessagePanel();
    EXPECT_EQ(m_window.messagePanel(), nullptr);
}

} // namespace
} // namespace lumen::sequa::test
