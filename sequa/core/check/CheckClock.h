#pragma once

#include "common/core/ManualClock.h"

#include <QElapsedTimer>
#include <QString>

namespace lumen::sequa {

/**
 * The clock of a trial play: time moves only while a wait waits, by a
 * quarter second (one tick) each time, so a run's waits cost no real time
 * and the lines between them cost none of the run's. A wait that would
 * never end (an outside signal that never comes) or a run beyond any night
 * gives up with PlayAbandoned, thrown through the player.
 */
class CheckClock : public ManualClock
{
public:
    /** Thrown out of a wait when the trial play gives up. */
    struct PlayAbandoned
    {
        QString reason;
    };

    /** When the play gives up. */
    struct Limits
    {
        double lineSeconds = 2.0 * 24 * 3600; ///< longest one line may wait, in seconds of the run
        double runSeconds = 31.0 * 24 * 3600; ///< longest run played
        double playSeconds = 60.0;            ///< longest the play may take in real time
    };

    static constexpr int kStepMs = 250;

    CheckClock(const QDateTime &start, const Limits &limits);

    /** Seconds of the run so far. */
    double runSeconds() const;

    void pumped() override;
    void waited() override;

private:
    Limits m_limits;
    QDateTime m_start;
    QDateTime m_lineStart;
    QElapsedTimer m_real;
};

} // namespace lumen::sequa
