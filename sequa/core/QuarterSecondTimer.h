#pragma once

#include <QDateTime>
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
 * follows a ManualClock: one tick per 250 ms that clock advances. On a
 * clock faster than real time (a simulated host's) the ticks are its
 * quarter seconds, not the real ones.
 */
class QuarterSecondTimer : public QObject
{
    Q_OBJECT

public:
    explicit QuarterSecondTimer(MainModel &model, QObject *parent = nullptr);
    ~QuarterSecondTimer() override;

    /** Starts the real timer on the current clock; it runs until the program ends. */
    void start();
    /**
     * Ticks from the manual clock's advances instead of real time. `factor`:
     * the current clock's seconds per second of the followed one, when the
     * current clock runs faster over it.
     */
    void followClock(ManualClock &clock, double factor = 1.0);

private:
    /** Counts the current clock's quarter seconds since the last tick counted. */
    void tickByClock();

    MainModel &m_model;
    QTimer m_timer;
    ManualClock *m_followed = nullptr;
    double m_pendingMs = 0; ///< fake-clock milliseconds not yet counted as a tick
    QDateTime m_lastTick;   ///< on a clock faster than real time: when the last tick fell
};

} // namespace lumen::sequa
