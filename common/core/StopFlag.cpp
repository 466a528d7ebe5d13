#include "common/core/StopFlag.h"

#include "common/core/StopSignals.h"

#include <atomic>

namespace lumen::stopflag {

namespace {
std::atomic<int> g_signal{0};
// A signal handler may only touch an atomic that needs no lock.
static_assert(std::atomic<int>::is_always_lock_free);
} // namespace

void raise(int signo) noexcept
{
    int none = 0;
    g_signal.compare_exchange_strong(none, signo);
}

int raised() noexcept
{
    return g_signal.load();
}

QString raisedBy()
{
    const int signo = raised();
    if (signo == 0)
        return QString();
    const QString name = StopSignals::signalName(signo);
    return name.isEmpty() ? QStringLiteral("signal %1").arg(signo) : name;
}

void lower() noexcept
{
    g_signal.store(0);
}

} // namespace lumen::stopflag
