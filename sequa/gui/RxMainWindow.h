#pragma once

#include "sequa/gui/MessagePanelWindow.h"
#include "sequa/gui/ScriptCheckWindow.h"

#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace lumen::sequa {

class RecorderPanel;
class RunProgressPanel;
class SequaProgram;

/**
 * frmRxMain: shows the program's MainModel and forwards the operator's
 * clicks and edits to it. The recorder buttons live in the nine command
 * frames, reachable through commandFrame().
 */
class RxMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit RxMainWindow(SequaProgram &program, QWidget *parent = nullptr);
    ~RxMainWindow() override;

    /** One of the nine frames by object name ("frmAcquisition" ...), or nullptr. */
    QGroupBox *commandFrame(const QString &name) const;
    /** The script button of an index: 0 Load, 1 Save, 2 Erase, 3 Play. */
    QPushButton *scriptButton(int index) const;
    /** Check Script: what --check finds in the script, in a window of its own. */
    QPushButton *checkButton() const { return m_check; }
    /** The window of the last Check Script, else nullptr. */
    ScriptCheckWindow *checkWindow() const { return m_checkWindow; }
    /** The message panel while it is shown, else nullptr. */
    MessagePanelWindow *messagePanel() const { return m_panel; }
    /** The recorder buttons filling the frames and value rows. */
    RecorderPanel *recorderPanel() const { return m_recorder; }
    /** Where a playing script is, and its Stop Script button. */
    RunProgressPanel *runProgressPanel() const { return m_progress; }
    /** The column beside the frames: Immediate Test Mode, value rows, script, status. */
    QVBoxLayout *sideColumn() const { return m_side; }
    /** The value rows: txt_NumbROIs (row 0), ROInumb (1), txtPrimNum (2), in column 1. */
    QGridLayout *valueGrid() const { return m_values; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void wireEdits();
    void refresh();
    void refreshPlayingLine();
    void refreshMessagePanel();
    void checkScript();
    void showScriptLine(int line);
    void exitProgram();

    SequaProgram &m_program;
    bool m_refreshing = false;

    QPlainTextEdit *m_script = nullptr;
    QLineEdit *m_status = nullptr;
    QLineEdit *m_lastCmd = nullptr;
    QCheckBox *m_doNow = nullptr;
    QLineEdit *m_library = nullptr;
    QCheckBox *m_useLibEff = nullptr;
    QComboBox *m_analysisType = nullptr;
    QLineEdit *m_numPassLoop = nullptr;
    QLineEdit *m_rootName = nullptr;
    QLineEdit *m_primaryNumber = nullptr;
    QLineEdit *m_roiCount = nullptr;
    QLineEdit *m_roiNumber = nullptr;
    QAction *m_connectApp = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_checkAction = nullptr;
    QList<QGroupBox *> m_frames;
    std::array<QPushButton *, 4> m_scriptButtons{};
    QPushButton *m_check = nullptr;
    QPointer<ScriptCheckWindow> m_checkWindow;
    QPointer<MessagePanelWindow> m_panel;
    QVBoxLayout *m_side = nullptr;
    QGridLayout *m_values = nullptr;
    RecorderPanel *m_recorder = nullptr;
    RunProgressPanel *m_progress = nullptr;
};

} // namespace lumen::sequa
