#include "sequa/gui/RxMainWindow.h"

#include "sequa/core/SequaProgram.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/check/ScriptCheckReport.h"
#include "sequa/gui/MessagePanelWindow.h"
#include "sequa/gui/RecorderPanel.h"
#include "sequa/gui/RunProgressPanel.h"
#include "sequa/gui/ScriptCheckWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QVBoxLayout>
#include <cstdlib>

namespace lumen::sequa {

namespace {

const QStringList kFrameCaptions = {
    QStringLiteral("Acquisition"), QStringLiteral("Presets"),  QStringLiteral("Elapsed Times"),
    QStringLiteral("Spectrum"),    QStringLiteral("Load"),     QStringLiteral("Analysis"),
    QStringLiteral("Loops"),       QStringLiteral("External"), QStringLiteral("Wait")};

const QStringList kScriptButtonCaptions = {
    QStringLiteral("Load Script"), QStringLiteral("Save Script"), QStringLiteral("Erase Script"),
    QStringLiteral("Play Script")};

// The script box shows plain line feeds; the script itself keeps CR LF.
QString shownScript(const QString &script)
{
    QString shown = script;
    return shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString storedScript(const QString &shown)
{
    QString stored = shown;
    return stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QLineEdit *makeBox(const char *name, const QString &toolTip = QString())
{
    auto *box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    if (!toolTip.isEmpty())
        box->setToolTip(toolTip);
    return box;
}

void setBoxText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

} // namespace

RxMainWindow::RxMainWindow(SequaProgram &program, QWidget *parent)
    : QMainWindow(parent), m_program(program)
{
    setObjectName(QStringLiteral("frmRxMain"));
    setWindowTitle(kProgramTitle);
    buildControls();
    buildMenus();
    wireEdits();
    m_recorder = new RecorderPanel(*this, m_program);
    MainModel &model = m_program.model();
    connect(&model, &MainModel::changed, this, &RxMainWindow::refresh);
    connect(&model, &MainModel::messagePanelChanged, this, &RxMainWindow::refreshMessagePanel);
    connect(&model.runProgress(), &RunProgress::changed, this, &RxMainWindow::refreshPlayingLine);
    refresh();
    refreshMessagePanel();
}

RxMainWindow::~RxMainWindow()
{
    delete m_panel;
}

void RxMainWindow::buildControls()
{
    auto *central = new QWidget(this);
    auto *outer = new QHBoxLayout(central);

    auto *frames = new QGridLayout;
    for (int i = 0; i < kCommandFrames.size(); ++i) {
        auto *frame = new QGroupBox(kFrameCaptions[i]);
        frame->setObjectName(kCommandFrames[i]);
        frame->setLayout(new QVBoxLayout);
        m_frames.append(frame);
        frames->addWidget(frame, i / 3, i % 3);
    }

    QGroupBox *analysis = commandFrame(QStringLiteral("frmAnalysis"));
    m_useLibEff = new QCheckBox(QStringLiteral("Use Library Efficiencies"));
    m_useLibEff->setObjectName(QStringLiteral("chkUseLibEff"));
    m_library = makeBox("txtLib", QStringLiteral("Shows library selected"));
    m_analysisType = new QComboBox;
    m_analysisType->setObjectName(QStringLiteral("cboAnalType"));
    m_analysisType->setToolTip(QStringLiteral("Select analysis method"));
    analysis->layout()->addWidget(m_useLibEff);
    analysis->layout()->addWidget(m_library);
    analysis->layout()->addWidget(m_analysisType);

    QGroupBox *loops = commandFrame(QStringLiteral("frmLoops"));
    m_rootName =
        makeBox("RootName", QStringLiteral("File name root - used by AutoSave inside loop"));
    m_numPassLoop =
        makeBox("NumPassLoop",
                QStringLiteral("If 0, user will be prompted for number of passes at run time"));
    loops->layout()->addWidget(m_rootName);
    loops->layout()->addWidget(m_numPassLoop);

    auto *side = new QVBoxLayout;
    m_side = side;
    m_doNow = new QCheckBox(QStringLiteral("Immediate Test Mode"));
    m_doNow->setObjectName(QStringLiteral("DoNow"));
    m_doNow->setToolTip(
        QStringLiteral("Allows testing the selected task immediately when clicked"));
    side->addWidget(m_doNow);

    auto *values = new QGridLayout;
    m_values = values;
    m_roiCount = makeBox("txt_NumbROIs");
    m_roiNumber = makeBox("ROInumb");
    m_primaryNumber = makeBox("txtPrimNum");
    // The label stands above its box, so the column stays narrow enough for
    // the window to fit a small screen at 125 %.
    side->addWidget(new QLabel(QStringLiteral("Number of ROIs to Log: ")));
    values->addWidget(m_roiCount, 0, 1);
    values->addWidget(m_roiNumber, 1, 1);
    values->addWidget(m_primaryNumber, 2, 1);
    side->addLayout(values);

    m_lastCmd = makeBox("LastCmd", QStringLiteral("Last Command Processed while Playing Script"));
    m_lastCmd->setReadOnly(true);
    side->addWidget(m_lastCmd);

    m_progress = new RunProgressPanel(m_program.model());
    side->addWidget(m_progress);

    // Two rows: Load, Save, Erase above Check and Play, so the column stays narrow.
    auto *buttons = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto *button = new QPushButton(kScriptButtonCaptions[i]);
        button->setObjectName(QStringLiteral("cmdScript_%1").arg(i));
        m_scriptButtons[static_cast<std::size_t>(i)] = button;
    }
    m_check = new QPushButton(QStringLiteral("Check Script"));
    m_check->setObjectName(QStringLiteral("cmdCheckScript"));
    m_check->setToolTip(QStringLiteral("What the script will fail at, and its run time"));
    connect(m_check, &QPushButton::clicked, this, &RxMainWindow::checkScript, Qt::QueuedConnection);
    buttons->addWidget(m_scriptButtons[0], 0, 0);
    buttons->addWidget(m_scriptButtons[1], 0, 1);
    buttons->addWidget(m_scriptButtons[2], 0, 2);
    buttons->addWidget(m_check, 1, 1);
    buttons->addWidget(m_scriptButtons[3], 1, 2);
    side->addLayout(buttons);

    m_script = new QPlainTextEdit;
    m_script->setObjectName(QStringLiteral("txtScript"));
    // Tab moves on to the next control: a tab typed into a script is no command.
    m_script->setTabChangesFocus(true);
    side->addWidget(m_script, 1);

    m_status = makeBox("txtStatus", QStringLiteral("Command Status"));
    side->addWidget(m_status);

    outer->addLayout(frames, 3);
    outer->addLayout(side, 2);
    setCentralWidget(central);
}

void RxMainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    const auto addFileAction = [this, file](const char *name, const QString &text,
                                            const QKeySequence &keys, QPushButton *button) {
        QAction *action = file->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        // The menu does what its button does; a disabled button does nothing.
        connect(action, &QAction::triggered, button, &QPushButton::click);
        return action;
    };
    m_openAction = addFileAction("mnuOpen", QStringLiteral("&Open Script..."), QKeySequence::Open,
                                 m_scriptButtons[0]);
    addFileAction("mnuSave", QStringLiteral("&Save Script..."), QKeySequence::Save,
                  m_scriptButtons[1]);
    m_checkAction = addFileAction("mnuCheck", QStringLiteral("&Check Script"),
                                  QKeySequence(Qt::Key_F7), m_check);
    file->addSeparator();
    QAction *exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &RxMainWindow::exitProgram);

    QMenu *connectMenu = menuBar()->addMenu(QStringLiteral("&Connect"));
    connectMenu->setObjectName(QStringLiteral("mnuConnect"));
    m_connectApp = connectMenu->addAction(QStringLiteral("Lumen "));
    m_connectApp->setObjectName(QStringLiteral("mnuConnectApp"));
    m_connectApp->setCheckable(true);
    connect(m_connectApp, &QAction::triggered, this, [this] {
        m_program.connectMenu();
        refresh();
    });
}

void RxMainWindow::wireEdits()
{
    MainModel &model = m_program.model();
    connect(m_script, &QPlainTextEdit::textChanged, this, [this, &model] {
        if (!m_refreshing)
            model.setScriptText(storedScript(m_script->toPlainText()));
    });
    connect(m_doNow, &QCheckBox::toggled, this, [this, &model](bool on) {
        if (!m_refreshing)
            model.setDoNow(on);
    });
    connect(m_useLibEff, &QCheckBox::toggled, this, [this, &model](bool on) {
        if (!m_refreshing)
            model.setUseLibEff(on);
    });
    connect(m_analysisType, &QComboBox::currentIndexChanged, this, [this, &model](int index) {
        if (!m_refreshing)
            model.setAnalysisTypeIndex(index);
    });
    const auto forward = [this](QLineEdit *box, void (MainModel::*setter)(const QString &)) {
        connect(box, &QLineEdit::textEdited, this,
                [this, setter](const QString &text) { (m_program.model().*setter)(text); });
    };
    forward(m_status, &MainModel::setStatusText);
    forward(m_library, &MainModel::setLibraryText);
    forward(m_numPassLoop, &MainModel::setNumPassLoopText);
    forward(m_rootName, &MainModel::setRootNameText);
    forward(m_primaryNumber, &MainModel::setPrimaryNumberText);
    forward(m_roiCount, &MainModel::setRoiCountText);
    forward(m_roiNumber, &MainModel::setRoiNumberText);
}

void RxMainWindow::refresh()
{
    const MainModel &model = m_program.model();
    m_refreshing = true;
    const QString script = shownScript(model.scriptText());
    if (m_script->toPlainText() != script) {
        m_script->setPlainText(script);
        m_script->moveCursor(QTextCursor::End);
    }
    setBoxText(m_status, model.statusText());
    setBoxText(m_lastCmd, model.lastCommandText());
    m_doNow->setChecked(model.doNow());
    setBoxText(m_library, model.libraryText());
    m_useLibEff->setChecked(model.useLibEff());
    QStringList shownTypes;
    for (int i = 0; i < m_analysisType->count(); ++i)
        shownTypes.append(m_analysisType->itemText(i));
    if (shownTypes != model.analysisTypes()) {
        m_analysisType->clear();
        m_analysisType->addItems(model.analysisTypes());
    }
    m_analysisType->setCurrentIndex(model.analysisTypeIndex());
    setBoxText(m_numPassLoop, model.numPassLoopText());
    setBoxText(m_rootName, model.rootNameText());
    setBoxText(m_primaryNumber, model.primaryNumberText());
    setBoxText(m_roiCount, model.roiCountText());
    setBoxText(m_roiNumber, model.roiNumberText());
    m_connectApp->setChecked(model.connectMenuChecked());
    for (QGroupBox *frame : std::as_const(m_frames))
        frame->setEnabled(model.commandFramesEnabled());
    // The script that plays stays as it is, paused or not: a resume plays
    // the script its journal names.
    m_script->setReadOnly(model.playing());
    m_check->setEnabled(!model.playing());
    m_checkAction->setEnabled(!model.playing());
    m_openAction->setEnabled(!model.playing());
    setWindowTitle(model.scriptFile().isEmpty() ? kProgramTitle
                                                : QFileInfo(model.scriptFile()).fileName() +
                                                      QStringLiteral(" - ") + kProgramTitle);
    m_refreshing = false;
}

void RxMainWindow::refreshPlayingLine()
{
    RunProgress &progress = m_program.model().runProgress();
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = m_script->document()->findBlockByNumber(progress.lineNumber() - 1);
    if (progress.running() && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(m_script->palette().color(QPalette::Highlight));
        mark.format.setForeground(m_script->palette().color(QPalette::HighlightedText));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.cursor = QTextCursor(block);
        marks.append(mark);
        // The box is read-only while the run plays: its cursor follows the run.
        m_script->setTextCursor(mark.cursor);
        m_script->ensureCursorVisible();
    }
    m_script->setExtraSelections(marks);
}

void RxMainWindow::checkScript()
{
    MainModel &model = m_program.model();
    if (model.playing())
        return;
    // The trial play pumps events while it stands in for the clock and the
    // operator: nothing in the window may start anything meanwhile.
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ScriptCheckReport report = ScriptCheckReport::ofScriptBox(model);
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    if (!m_checkWindow) {
        m_checkWindow = new ScriptCheckWindow(this);
        connect(m_checkWindow, &ScriptCheckWindow::lineChosen, this, &RxMainWindow::showScriptLine);
    }
    m_checkWindow->showReport(report, model.scriptFile().isEmpty()
                                          ? QStringLiteral("script")
                                          : QFileInfo(model.scriptFile()).fileName());
}

void RxMainWindow::showScriptLine(int line)
{
    const QTextBlock block = m_script->document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_script->setTextCursor(cursor);
    activateWindow();
    m_script->setFocus();
}

void RxMainWindow::refreshMessagePanel()
{
    const MainModel &model = m_program.model();
    if (!model.messagePanelShown()) {
        delete m_panel; // the panel exists only while it is shown
        return;
    }
    if (!m_panel)
        m_panel = new MessagePanelWindow;
    m_panel->setText(model.messagePanelText());
    m_panel->show();
    m_panel->raise();
}

QGroupBox *RxMainWindow::commandFrame(const QString &name) const
{
    for (QGroupBox *frame : m_frames) {
        if (frame->objectName() == name)
            return frame;
    }
    return nullptr;
}

QPushButton *RxMainWindow::scriptButton(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_scriptButtons.size()))
        return nullptr;
    return m_scriptButtons[static_cast<std::size_t>(index)];
}

void RxMainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window during a run is Exit: the run would otherwise go on
    // unseen, or, paused, hold for ever. The window stays until the run has
    // closed out, so the program ends with a stopped run's status.
    if (m_program.model().playing() || m_program.model().waiting()) {
        exitProgram();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void RxMainWindow::exitProgram()
{
    // A run in progress is stopped first: it closes out at once (every wait
    // ends), so its temporary files go and its journal says why it ended;
    // the event loop then ends with the status of a stopped run.
    if (m_program.model().playing() || m_program.model().waiting()) {
        m_program.model().runRecord().requestStop(RunRecord::kOperatorStop);
        QCoreApplication::exit(RunRecord::kStopped);
        return;
    }
    QCoreApplication::exit(0);
}

} // namespace lumen::sequa
