#include "common/core/DateText.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/tests/RecorderTestBench.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <tuple>

namespace lumen::sequa::test {
namespace {

class RecorderPanelTest : public RecorderTestBench
{
protected:
    RecorderPanelTest() : m_window(*m_program)
    {
        // The window's own buttons follow the efficiency box; the bench's
        // second set would record each change twice.
        QObject::disconnect(&model(), nullptr, &m_buttons, nullptr);
        model().setDoNow(false);
        m_window.show();
    }

    template <typename T = QPushButton> T *control(const QString &name)
    {
        T *found = m_window.findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    void click(const QString &name)
    {
        if (auto *button = control<QAbstractButton>(name))
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    QStringList shownScript()
    {
        return control<QPlainTextEdit>("txtScript")->toPlainText().split('\n', Qt::SkipEmptyParts);
    }

    RxMainWindow m_window;
};

TEST_F(RecorderPanelTest, ClickingThroughThePanelRecordsTheExampleLines)
{
    m_operator.queueInput(QStringLiteral("300"));
    click("cmdPreset_2");
    auto *passes = control<QLineEdit>("NumPassLoop");
    passes->clear();
    QTest::keyClicks(passes, "20000");
    click("DoLoops");
    passes->clear();
    QTest::keyClicks(passes, "-4");
    click("DoLoops");
    passes->clear();
    QTest::keyClicks(passes, "abc");
    click("DoLoops");
    auto *root = control<QLineEdit>("RootName");
    root->clear();
    QTest::keyClicks(root, "SPECTRA");
    click("AutoSaveS");
    root->clear();
    QTest::keyClicks(root, "  AB ");
    click("AutoSaveS");
    m_operator.queueInput(QStringLiteral("3"));
    m_operator.queueInput(QStringLiteral("5"));
    click("cmdcopyspec");
    m_operator.queueInput(QStringLiteral("3"));
    click("cmdGetROIData");
    m_operator.queueInput(QStringLiteral("1"));
    m_operator.queueInput(QStringLiteral("1"));
    click("cmdWait_2");
    click("chkExtOut_1");
    click("appendROIs");
    click("cmdAcquire_0");
    click("cmdGetElapsed_0"); // runs, never records

    EXPECT_EQ(
        shownScript(),
        QStringList({"SetRealPreset 300", "DoNumPass 9999", "DoNumPass 0", "DoNumPass 0",
                     "AutoSaveSpcSPEC", "AutoSaveSpcAB", "CopySpectrum 5, 3", "GetROIData 3, NET",
                     "WaitInput 1, 1", "SetExtOut 1, 1", "LogROIs 6", "StartAcquire"}));
    EXPECT_EQ(control<QLineEdit>("txtStatus")->text(), "OK");
    EXPECT_TRUE(m_recording->calls.isEmpty());
}

TEST_F(RecorderPanelTest, InImmediateTestModeTheClicksReachTheSimulatedHost)
{
    SimulatedHost &host = useSimulatedHost(1024);
    click("DoNow");
    ASSERT_TRUE(model().doNow());
    click("cmdPreset_1");
    m_operator.queueInput(QStringLiteral("300"));
    click("cmdPreset_2");
    m_operator.queueInput(QStringLiteral("12 g"));
    click("AskQuantity");
    click("AskDate"); // no answer: today
    m_operator.queueInput(QStringLiteral("1"));
    m_operator.queueInput(QStringLiteral("4"));
    click("cmdcopyspec");
    click("chkExtOut_2");

    EXPECT_TRUE(host.memory(1).presetsOn);
    EXPECT_EQ(host.memory(1).realPreset, 300);
    EXPECT_EQ(host.memory(1).sampleDate, formatDate(m_clock.today(), u"DD-MMM-YYYY"));
    EXPECT_EQ(host.memory(1).quantity, 0); // "12 g" is no number: kept, not sent
    EXPECT_EQ(linesOf(QStringLiteral("Wt.txt")), QStringList{"12 g"});
    EXPECT_EQ(linesOf(QStringLiteral("Date.txt")),
              QStringList{formatDate(m_clock.today(), u"DD-MMM-YYYY")});
    EXPECT_EQ(host.memory(4).realPreset, 300); // copied with its presets
    EXPECT_TRUE(host.externalOutput(2));
    EXPECT_EQ(shownScript(), QStringList({"PresetsOn", "SetRealPreset 300", "AskQuantity",
                                          "AskDate", "CopySpectrum 4, 1", "SetExtOut 2, 1"}));
    EXPECT_TRUE(m_operator.messages().isEmpty()) << m_operator.messages().join('|').toStdString();
}

TEST_F(RecorderPanelTest, TheLibraryControlsFollowTheirButtons)
{
    auto *useLibEff = control<QCheckBox>("chkUseLibEff");
    click("chkUseLibEff");
    EXPECT_TRUE(model().useLibEff());
    click("cmdGetLib");
    EXPECT_EQ(control<QLineEdit>("txtLib")->text(), "OK");
    EXPECT_FALSE(useLibEff->isChecked());
    EXPECT_EQ(recorded(),
              QStringList({"SetUseLibEff", "GetLibrary", "GetUseLibEff", "ClearUseLibEff"}));

    click("cmdAnalyze_0");
    EXPECT_EQ(m_operator.messages(), QStringList{"Must select type of analysis."});
    model().setAnalysisTypes(kAnalysisTypes);
    control<QComboBox>("cboAnalType")->setCurrentIndex(1);
    model().setScriptText(QString());
    click("cmdAnalyze_1");
    EXPECT_EQ(recorded(), QStringList{"PrintRprtPeakIdent"});
}

TEST_F(RecorderPanelTest, ControlsCarryTheirCaptionsAndTips)
{
    const QList<std::tuple<QString, QString, QString>> samples = {
        {"cmdAcquire_0", "Acquire", "Start data acquire"},
        {"cmdPreset_2", "Set Real ", "Set real time preset"},
        {"AskTIme", "Time", "Promt the user to enter Time of decay corrected sample collection"},
        {"cmdSetInfo", "Set  ID", "Set Spectrum ID (Not for use inside loop)"},
        {"cmdLoadCfg", "Config.", "Load an MCA configuration"},
        {"DoLoops", "#", "If 0, user will be prompted for number of passes at run time"},
        {"KillFile", "Kill", ""},
        {"cmdWait_3", "Msg", "Put message on screen and wait for response"},
        {"appendROIs", "Append ROI data to todays file",
         "Create and/or append ROI data to date coded text file"},
        {"ROIdata", "View ROI", "Show all the ROI data in a text box"},
        {"cmdResize_1", "Maximize", "Make the MCA screen fill the CRT"},
        {"chkExtOut_2", "Ext Out 2", ""},
        {"chkUseLibEff", "Use Library Efficiencies",
         "Set or clear flag to use Library Efficiencies"},
    };
    for (const auto &[name, caption, tip] : samples) {
        auto *button = control<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), caption) << name.toStdString();
        EXPECT_EQ(button->toolTip(), tip) << name.toStdString();
    }
    // Every frame holds its buttons: the frames switch them off together.
    const QList<std::pair<QString, int>> counts = {
        {"frmAcquisition", 4}, {"frmPresets", 6}, {"frmElapsed", 4},
        {"frmSpectrum", 18},   {"frmLoad", 2},    {"frmAnalysis", 6},
        {"frmLoops", 5},       {"frmExtProg", 3}, {"frmWait", 4}};
    for (const auto &[frame, buttons] : counts)
        EXPECT_EQ(control<QGroupBox>(frame)->findChildren<QPushButton *>().size(), buttons)
            << frame.toStdString();
}

TEST_F(RecorderPanelTest, TabOrderFollowsTheFramesAndTheWindowFitsTheScreen)
{
    QStringList order;
    QWidget *widget = control<QWidget>("cmdAcquire_0");
    for (int i = 0; widget && i < 120 && !order.contains(widget->objectName()); ++i) {
        order.append(widget->objectName());
        widget = widget->nextInFocusChain();
        while (widget && !(widget->focusPolicy() & Qt::TabFocus))
            widget = widget->nextInFocusChain();
    }
    const auto at = [&](const char *name) { return order.indexOf(QString::fromLatin1(name)); };
    EXPECT_LT(at("cmdAcquire_3"), at("AskLive"));
    EXPECT_LT(at("cmdPreset_3"), at("cmdDTfile"));
    EXPECT_LT(at("cmdGetElapsed_1"), at("AskTIme"));
    EXPECT_LT(at("AskTIme"), at("AskDate"));
    EXPECT_LT(at("AskName"), at("cmdTime")); // down the asking column first
    EXPECT_LT(at("GoGetSPM"), at("cmdGetCounts"));
    EXPECT_LT(at("cmdSaveSpec"), at("cmdLoadROIs"));
    EXPECT_LT(at("cmdLoadCfg"), at("cmdAnalyze_0"));
    EXPECT_LT(at("cmdSelLib"), at("RootName"));
    EXPECT_LT(at("DoLoops"), at("KillFile"));
    EXPECT_LT(at("WaitExtProg"), at("cmdWait_0"));
    EXPECT_LT(at("cmdWait_3"), at("DoNow"));
    EXPECT_LT(at("txt_NumbROIs"), at("appendROIs"));
    EXPECT_LT(at("appendROIs"), at("ROInumb"));
    EXPECT_GE(at("cmdWait_3"), 0);

    const QSize needed = m_window.minimumSizeHint();
    EXPECT_LE(needed.width(), 1366);
    EXPECT_LE(needed.height(), 768 - 60); // room for a title bar and a task bar
}

} // namespace
} // namespace lumen::sequa::test
