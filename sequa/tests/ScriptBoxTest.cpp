#include "sequa/core/check/ScriptCheckMode.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/gui/ScriptButtonPanel.h"
#include "sequa/gui/ScriptCheckWindow.h"
#include "sequa/tests/PlayerTestBench.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

namespace lumen::sequa::test {
namespace {

// The window as the operator meets it: script buttons wired, shown, active.
class ScriptBoxTest : public PlayerTestBench
{
protected:
    ScriptBoxTest() : m_window(*m_program)
    {
        new ScriptButtonPanel(m_window, *m_program);
        model().setDoNow(false);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    template <typename T = QPushButton> T *control(const char *name)
    {
        T *found = m_window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QPlainTextEdit *box() { return control<QPlainTextEdit>("txtScript"); }

    void click(const char *name)
    {
        QTest::mouseClick(control(name), Qt::LeftButton);
        QApplication::processEvents();
    }

    RxMainWindow m_window;
};

TEST_F(ScriptBoxTest, TabLeavesTheScriptBoxForTheNextControlAndBackTabReachesPlay)
{
    box()->setFocus();
    QTest::keyClick(box(), Qt::Key_Tab);
    EXPECT_EQ(box()->toPlainText(), "");
    EXPECT_FALSE(box()->hasFocus());

    box()->setFocus();
    QTest::keyClick(box(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), control("cmdScript_3"));
    EXPECT_EQ(model().scriptText(), "");
}

TEST_F(ScriptBoxTest, WhileARunPlaysNothingEditsItsScript)
{
    const QString script = QStringLiteral("StartAcquire\r\nStopAcquire");
    model().setScriptText(script);
    struct Seen
    {
        bool readOnly = false, loadEnabled = true, eraseEnabled = true, checkEnabled = true;
        QString script;
    } seen;
    m_recording->onCall = [&](const HostCall &) {
        if (!seen.script.isEmpty())
            return;
        // The recorder's buttons still act, but record nothing.
        QTest::mouseClick(control("cmdAlert_0"), Qt::LeftButton);
        QTest::keyClicks(box(), "Beep");
        m_operator.queueFile(file("other.lsf"));
        control("cmdScript_0")->click();
        seen = {box()->isReadOnly(), control("cmdScript_0")->isEnabled(),
                control("cmdScript_2")->isEnabled(), control("cmdCheckScript")->isEnabled(),
                model().scriptText()};
    };
    click("cmdScript_3");
    EXPECT_EQ(seen.script, script);
    EXPECT_TRUE(seen.readOnly);
    EXPECT_FALSE(seen.loadEnabled || seen.eraseEnabled || seen.checkEnabled);

    // Once the run has ended, the recorder records again.
    EXPECT_FALSE(box()->isReadOnly());
    click("cmdAlert_0");
    EXPECT_EQ(model().scriptText(), script + "Beep\r\n");
}

TEST_F(ScriptBoxTest, TheLineBeingPlayedIsMarkedUntilTheRunEnds)
{
    model().setScriptText(QStringLiteral("Beep\r\nBeep\r\nBeep\r\n"));
    RunProgress &progress = model().runProgress();
    progress.runStarted(3);
    progress.lineStarted(2, QStringLiteral("Beep"), {});
    const QList<QTextEdit::ExtraSelection> marks = box()->extraSelections();
    ASSERT_EQ(marks.size(), 1);
    EXPECT_EQ(marks.first().cursor.blockNumber(), 1);
    progress.runEnded();
    EXPECT_TRUE(box()->extraSelections().isEmpty());
}

TEST_F(ScriptBoxTest, TheTitleNamesTheScriptLoadedOrSavedUntilItIsErased)
{
    textfile::writeAll(file("night.lsf"), QStringLiteral("Beep\r\n"));
    m_operator.queueFile(file("night.lsf"));
    QTest::keyClick(&m_window, Qt::Key_O, Qt::ControlModifier); // File > Open Script
    QApplication::processEvents();
    EXPECT_EQ(m_window.windowTitle(), "night.lsf - Sequa");

    m_operator.queueFile(file("day.lsf"));
    QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier); // File > Save Script
    QApplication::processEvents();
    EXPECT_EQ(m_window.windowTitle(), "day.lsf - Sequa");
    EXPECT_EQ(textfile::readAll(file("day.lsf")), "Beep\r\n\r\n");

    m_operator.queueAnswer(MessageAnswer::Ok);
    click("cmdScript_2");
    EXPECT_EQ(m_window.windowTitle(), "Sequa");
}

// The window shows what --check says of the file Save Script writes, and a
// finding's row leads to its line.
TEST_F(ScriptBoxTest, CheckScriptShowsWhatTheCommandLineCheckFinds)
{
    const QString script = QStringLiteral("ConnectLMN\r\nBogusCommand\r\nWaitSeconds 5\r\n");
    const QString path = file("night.lsf");
    textfile::writeAll(path, script + "\r\n");
    model().setScriptText(script);
    model().setScriptFile(path);

    QString said;
    QTextStream out(&said), err(&said);
    ScriptCheckMode::run({QStringLiteral("--check"), path}, out, err);
    QStringList expected = said.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(expected.size(), 2) << said.toStdString();
    const QString estimate = expected.takeLast();
    expected.replaceInStrings(path, QStringLiteral("night.lsf"));

    QTest::keyClick(&m_window, Qt::Key_F7); // File > Check Script
    QApplication::processEvents();
    ScriptCheckWindow *shown = m_window.checkWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(m_window.isEnabled());
    auto *rows = shown->findChild<QListWidget *>(QStringLiteral("lstFindings"));
    QStringList listed;
    for (int i = 0; i < rows->count(); ++i)
        listed.append(rows->item(i)->text());
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(listed.first().startsWith("night.lsf:2: error:")) << listed.first().toStdString();
    EXPECT_EQ(shown->findChild<QLabel *>(QStringLiteral("lblEstimate"))->text(), estimate);

    Q_EMIT rows->itemActivated(rows->item(0));
    EXPECT_EQ(box()->textCursor().selectedText(), "BogusCommand");
}

} // namespace
} // namespace lumen::sequa::test
