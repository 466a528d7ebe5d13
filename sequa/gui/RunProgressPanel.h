#pragma once

#include <QGroupBox>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lumen::sequa {

class MainModel;

/**
 * What a playing script is doing, shown from the model's RunProgress: the
 * line out of the script's lines, each open loop's pass, the preset wait as
 * a bar and the seconds left of WaitSeconds, and a pause; "Stop Script"
 * (or Esc), which ends the run at once, inside any wait, and beside it
 * "Pause Script", which holds the run (RunPause) and reads "Resume" then.
 */
class RunProgressPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit RunProgressPanel(MainModel &model, QWidget *parent = nullptr);
    ~RunProgressPanel() override;

    QPushButton *stopButton() const { return m_stop; }
    QPushButton *pauseButton() const { return m_pause; }

private:
    void refresh();
    void pauseOrResume();

    MainModel &m_model;
    QLabel *m_line = nullptr;
    QLabel *m_loops = nullptr;
    QLabel *m_wait = nullptr;
    QLabel *m_paused = nullptr;
    QProgressBar *m_preset = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_pause = nullptr;
};

} // namespace lumen::sequa
