#pragma once

#include <QObject>
#include <QTimer>

namespace lumen {
class ManualClock;
}

namespace lumen::sequa {

class MainModel;

/**
 * The main window's 250 ms timer, which advances TickCount. It runs on the
 * event loop (ticks arrive while a command pumps events), or, in tests,
 * follows a ManualClock: one tick per 250 ms that clock advances.
 */
class QuarterSecondTimer : public QObject
{
    Q_OBJECT

public:
    explicit QuarterSecondTimer(MainModel &model, QObject *parent = nullptr);
    ~QuarterSecondTimer() override;

    /** Starts the real timer; it runs until the program ends. */
    void start();
    /** Ticks from the fake clock's advances instead of real time. */
    void followClock(ManualClock &clock);

private:
    MainModel &m_model;
    QTimer m_timer;
    ManualClock *m_followed = nullptr;
    qint64 m_pendingMs = 0; ///< fake-clock milliseconds not yet counted as a tick
};

} // namespace lumen::sequa
