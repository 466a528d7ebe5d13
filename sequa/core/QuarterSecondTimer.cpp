#include "sequa/core/QuarterSecondTimer.h"

#include "common/core/ManualClock.h"
#include "sequa/core/MainModel.h"

namespace lumen::sequa {

QuarterSecondTimer::QuarterSecondTimer(MainModel &model, QObject *parent)
    : QObject(parent), m_model(model)
{
    m_timer.setInterval(MainModel::kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_model.onTick(); });
}

QuarterSecondTimer::~QuarterSecondTimer()
{
    // The clock outlives us in tests; leave it with no listener into a dead object.
    if (m_followed)
        m_followed->onAdvance({});
}

void QuarterSecondTimer::start()
{
    m_timer.start();
}

void QuarterSecondTimer::followClock(ManualClock &clock)
{
    m_timer.stop();
    m_followed = &clock;
    m_pendingMs = 0;
    clock.onAdvance([this](qint64 ms) {
        m_pendingMs += ms;
        while (m_pendingMs >= MainModel::kTickMs) {
            m_pendingMs -= MainModel::kTickMs;
            m_model.onTick();
        }
    });
}

} // namespace lumen::sequa
