#include "sequa/core/QuarterSecondTimer.h"

#include "common/core/Clock.h"
#include "common/core/ManualClock.h"
#include "sequa/core/MainModel.h"

#include <algorithm>
#include <cmath>

namespace lumen::sequa {

namespace {
// More ticks than this at one firing means the clock leapt (the machine
// slept): they are skipped, not counted one by one.
constexpr qint64 kMostTicksAtOnce = 1000;
} // namespace

QuarterSecondTimer::QuarterSecondTimer(MainModel &model, QObject *parent)
    : QObject(parent), m_model(model)
{
    m_timer.setInterval(MainModel::kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_lastTick.isValid())
            tickByClock();
        else
            m_model.onTick();
    });
}

QuarterSecondTimer::~QuarterSecondTimer()
{
    // The clock outlives us in tests; leave it with no listener into a dead object.
    if (m_followed)
        m_followed->onAdvance({});
}

void QuarterSecondTimer::start()
{
    const double speed = currentClock().speed();
    if (speed > 1.0) {
        // The timer fires as often as a quarter second of the clock passes,
        // up to once a real millisecond; each firing counts the ticks due.
        m_timer.setInterval(std::max(1, int(std::lround(MainModel::kTickMs / speed))));
        m_timer.setTimerType(Qt::PreciseTimer);
        m_lastTick = currentClock().now();
    }
    m_timer.start();
}

void QuarterSecondTimer::tickByClock()
{
    const QDateTime now = currentClock().now();
    // A clock set back is no time passed: count on from its new reading.
    if (now < m_lastTick || m_lastTick.msecsTo(now) > kMostTicksAtOnce * MainModel::kTickMs)
        m_lastTick = now;
    while (m_lastTick.msecsTo(now) >= MainModel::kTickMs) {
        m_lastTick = m_lastTick.addMSecs(MainModel::kTickMs);
        m_model.onTick();
    }
}

void QuarterSecondTimer::followClock(ManualClock &clock, double factor)
{
    m_timer.stop();
    m_followed = &clock;
    m_pendingMs = 0;
    clock.onAdvance([this, factor](qint64 ms) {
        m_pendingMs += double(ms) * factor;
        while (m_pendingMs >= MainModel::kTickMs) {
            m_pendingMs -= MainModel::kTickMs;
            m_model.onTick();
        }
    });
}

} // namespace lumen::sequa
