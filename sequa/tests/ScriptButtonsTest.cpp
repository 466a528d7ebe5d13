#include "sequa/core/recorder/ScriptButtons.h"
#include "sequa/tests/PlayerTestBench.h"

namespace lumen::sequa::test {
namespace {

class ScriptButtonsTest : public PlayerTestBench
{
protected:
    ScriptButtons m_buttons{model(), runner()};
};

TEST_F(ScriptButtonsTest, LoadAsksForAnExistingScriptFileInTheProgramFolder)
{
    writeFile(QStringLiteral("a.lsf"), "StartAcquire\r\nWaitPreset\r\n");
    model().setScriptText(QStringLiteral("old\r\n"));
    m_operator.queueFile(file(QStringLiteral("a.lsf")));
    m_buttons.click(ScriptButtons::LoadScript);

    ASSERT_EQ(m_operator.prompts().size(), 1);
    const FileDialogRequest &dialog = m_operator.prompts()[0].dialog;
    EXPECT_EQ(dialog.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(dialog.title, "Load MCA Script");
    EXPECT_EQ(dialog.defaultExtension, "LSF");
    EXPECT_EQ(dialog.initialName, "*.lsf");
    EXPECT_EQ(dialog.filter, "Lumen Script Files (*.lsf)|*.lsf");
    EXPECT_EQ(dialog.initialFolder, m_folder.path());
    EXPECT_TRUE(dialog.mustExist);
    EXPECT_EQ(model().scriptText(), "StartAcquire\r\nWaitPreset\r\n");
}

TEST_F(ScriptButtonsTest, CancelledDialogsChangeNothingAndFailuresAreShown)
{
    model().setScriptText(QStringLiteral("keep\r\n"));
    m_buttons.load(); // nothing queued: cancelled
    m_buttons.save();
    EXPECT_EQ(model().scriptText(), "keep\r\n");
    EXPECT_TRUE(m_operator.messages().isEmpty());

    m_operator.queueFile(file(QStringLiteral("missing.lsf")));
    m_buttons.load();
    EXPECT_EQ(model().scriptText(), "keep\r\n") << "a file that cannot be read leaves the script";
    ASSERT_EQ(m_operator.messages().size(), 1);
    EXPECT_TRUE(m_operator.messages()[0].contains("missing.lsf"));

    m_operator.queueFile(file(QStringLiteral("no/such/folder/x.lsf")));
    m_buttons.save();
    EXPECT_EQ(m_operator.messages().size(), 2);
}

TEST_F(ScriptButtonsTest, SaveThenLoadAddsOneEmptyLineThatThePlayerIgnores)
{
    model().setScriptText(QStringLiteral("DoNumPass 2\r\nLoopBeg\r\nAutoID\r\nLoopEnd\r\n"));
    m_operator.queueFile(file(QStringLiteral("s.lsf")));
    m_buttons.save();
    EXPECT_EQ(m_operator.prompts()[0].dialog.title, "Save MCA Script");
    EXPECT_EQ(m_operator.prompts()[0].dialog.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(bytesOf(QStringLiteral("s.lsf")),
              "DoNumPass 2\r\nLoopBeg\r\nAutoID\r\nLoopEnd\r\n\r\n");

    m_operator.queueFile(file(QStringLiteral("s.lsf")));
    m_buttons.load();
    EXPECT_EQ(model().scriptText(), "DoNumPass 2\r\nLoopBeg\r\nAutoID\r\nLoopEnd\r\n\r\n");

    EXPECT_FALSE(m_buttons.play());
    EXPECT_EQ(argsOf("SetSpectrumID").size(), 2);
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(ScriptButtonsTest, LoadStopsTakingLinesOnceTheScriptHolds32000Characters)
{
    QByteArray content;
    const QByteArray line(100, 'x');
    for (int i = 0; i < 400; ++i)
        content += line + "\r\n";
    writeFile(QStringLiteral("big.lsf"), content);
    m_operator.queueFile(file(QStringLiteral("big.lsf")));
    m_buttons.load();
    // 313 lines hold 31926 characters, so a 314th is still taken.
    EXPECT_EQ(model().scriptText().size(), 314 * 102);
    EXPECT_EQ(m_operator.messages(), QStringList{"Script has reached maximum length."})
        << "told once";
}

TEST_F(ScriptButtonsTest, EraseAsksOnlyForANonEmptyScript)
{
    m_buttons.erase();
    EXPECT_TRUE(m_operator.prompts().isEmpty());

    model().setScriptText(QStringLiteral("Beep\r\n"));
    m_operator.queueAnswer(MessageAnswer::Cancel);
    m_buttons.erase();
    EXPECT_EQ(model().scriptText(), "Beep\r\n");
    ASSERT_EQ(m_operator.prompts().size(), 1);
    EXPECT_EQ(m_operator.prompts()[0].text, "Are you sure?");
    EXPECT_EQ(m_operator.prompts()[0].buttons, MessageButtons::OkCancel);

    m_operator.queueAnswer(MessageAnswer::Ok);
    m_buttons.erase();
    EXPECT_EQ(model().scriptText(), "");
}

TEST_F(ScriptButtonsTest, PlayRunsInImmediateModeAndPutsTheBoxBack)
{
    model().setDoNow(false);
    bool doNowDuringRun = false;
    m_recording->onCall = [&](const HostCall &) { doNowDuringRun = model().doNow(); };
    model().setScriptText(QStringLiteral("StartAcquire\r\n"));
    EXPECT_FALSE(m_buttons.play());
    EXPECT_TRUE(doNowDuringRun);
    EXPECT_FALSE(model().doNow());
    EXPECT_EQ(m_recording->methods(), QStringList{"StartAcquire"});
}

TEST_F(ScriptButtonsTest, PlayIsRefusedWhileARunIsInProgress)
{
    model().setScriptText(QStringLiteral("StartAcquire\r\n"));
    bool refused = false;
    bool enabledDuringRun = true;
    m_recording->onCall = [&](const HostCall &) {
        enabledDuringRun = m_buttons.playEnabled();
        refused = m_buttons.play();
    };
    EXPECT_FALSE(m_buttons.play());
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_TRUE(refused);
    EXPECT_EQ(m_recording->calls.size(), 1) << "no second run inside the first";
    EXPECT_TRUE(m_buttons.playEnabled());
}

} // namespace
} // namespace lumen::sequa::test
