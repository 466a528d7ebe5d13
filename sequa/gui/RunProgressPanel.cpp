#include "sequa/gui/RunProgressPanel.h"

#include "sequa/core/MainModel.h"
#include "sequa/core/run/RunPause.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace lumen::sequa {

namespace {

// The bar counts in thousandths of the preset, so a short preset still moves smoothly.
constexpr int kBarSteps = 1000;

const QString kPauseCaption = QStringLiteral("Pause Script");
const QString kResumeCaption = QStringLiteral("Resume");

QLabel *makeLabel(const char *name)
{
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

RunProgressPanel::RunProgressPanel(MainModel &model, QWidget *parent)
    : QGroupBox(QStringLiteral("Script Run"), parent), m_model(model)
{
    setObjectName(QStringLiteral("frmRunProgress"));
    auto *layout = new QVBoxLayout(this);
    m_line = makeLabel("lblRunLine");
    m_loops = makeLabel("lblRunLoops");
    m_wait = makeLabel("lblRunWait");
    m_preset = new QProgressBar;
    m_preset->setObjectName(QStringLiteral("prgPreset"));
    m_preset->setRange(0, kBarSteps);
    m_stop = new QPushButton(QStringLiteral("Stop Script"));
    m_stop->setObjectName(QStringLiteral("cmdStopScript"));
    m_stop->setToolTip(QStringLiteral("Ends the running script at once (Esc)"));
    m_paused = makeLabel("lblRunPaused");
    m_pause = new QPushButton(kPauseCaption);
    m_pause->setObjectName(QStringLiteral("cmdPauseScript"));
    m_pause->setToolTip(
        QStringLiteral("Holds the running script after its line, or inside WaitSeconds"));

    layout->addWidget(m_line);
    layout->addWidget(m_loops);
    auto *waitRow = new QHBoxLayout;
    waitRow->addWidget(m_wait);
    waitRow->addWidget(m_preset, 1);
    layout->addLayout(waitRow);
    layout->addWidget(m_paused);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_stop);
    buttonRow->addWidget(m_pause);
    buttonRow->addStretch(1);
    layout->addLayout(buttonRow);

    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_model.runRecord().requestStop(RunRecord::kOperatorStop);
        refresh();
    });
    connect(m_pause, &QPushButton::clicked, this, &RunProgressPanel::pauseOrResume);
    // In the main window only: Esc in a dialog or the ROI viewer closes that.
    // A button's own shortcut would click it only after its animation.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_stop, &QPushButton::click);
    connect(&m_model.runProgress(), &RunProgress::changed, this, &RunProgressPanel::refresh);
    connect(&m_model, &MainModel::changed, this, &RunProgressPanel::refresh);
    m_model.runProgress().setWatched(true);
    refresh();
}

RunProgressPanel::~RunProgressPanel()
{
    m_model.runProgress().setWatched(false);
}

void RunProgressPanel::refresh()
{
    const RunProgress &progress = m_model.runProgress();
    m_line->setText(progress.lineCaption());
    m_loops->setText(progress.loopsCaption());
    m_loops->setVisible(!progress.loopsCaption().isEmpty());
    m_wait->setText(progress.waitCaption());

    const bool presetWait = progress.wait() == RunProgress::Wait::Preset;
    m_preset->setVisible(presetWait);
    if (presetWait) {
        if (progress.presetSeconds() <= 0) {
            m_preset->setRange(0, 0); // no preset known: a busy bar
        } else {
            m_preset->setRange(0, kBarSteps);
            const double done =
                std::clamp(progress.elapsedSeconds() / progress.presetSeconds(), 0.0, 1.0);
            m_preset->setValue(static_cast<int>(std::lround(done * kBarSteps)));
        }
    }
    const bool running = m_model.playing() && !m_model.runRecord().stopRequested();
    m_stop->setEnabled(running);
    m_paused->setText(progress.pauseCaption());
    m_paused->setVisible(!progress.pauseCaption().isEmpty());
    m_pause->setEnabled(running);
    m_pause->setText(running && m_model.runRecord().paused() ? kResumeCaption : kPauseCaption);
}

void RunProgressPanel::pauseOrResume()
{
    RunPause pause(m_model.runRecord(), m_model.runProgress());
    if (!pause.resume(RunPause::kByOperator))
        pause.pause(RunPause::kByOperator);
    refresh();
}

} // namespace lumen::sequa
