// createHostAppObject: the one place that decides which host Sequa talks to,
// and so the one that reads and describes the host settings.
#include "sequa/core/CreateHostAppObject.h"

#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "common/core/ScaledClock.h"
#include "hostlink/HostLink.h"
#include "hostlink/TcpHostClient.h"
#include "sequa/core/HostSettings.h"
#include "sequa/core/run/HostHold.h"
#include "simhost/SimulatedHost.h"
#include "simhost/SimulatedHostSettings.h"

#include <memory>

namespace lumen::sequa {

std::shared_ptr<HostApp> createHostAppObject(const QString &identifier)
{
    // Automation identifiers are not case-sensitive.
    if (identifier.trimmed().compare(QLatin1String("LmnPro.clsLmn"), Qt::CaseInsensitive) != 0)
        throw Failure(QStringLiteral("Cannot create the automation object \"%1\"").arg(identifier));
    HostLink link = HostLink::fromEnvironment();
    link.holder = HostHold::current();
    if (link.kind == HostLink::Kind::Tcp)
        return std::make_shared<TcpHostClient>(link.host, link.port, link.timeoutMs, link.key,
                                               link.holder);
    return SimulatedHost::shared();
}

void HostSettings::check()
{
    const HostLink link = HostLink::fromEnvironment();
    if (link.kind == HostLink::Kind::InProcess)
        SimulatedHostSettings::fromEnvironment();
}

void HostSettings::useHostClock()
{
    static std::unique_ptr<ScaledClock> hostClock;
    SimulatedHostSettings settings;
    try {
        if (HostLink::fromEnvironment().kind != HostLink::Kind::InProcess)
            return;
        settings = SimulatedHostSettings::fromEnvironment();
    } catch (const Failure &) {
        return;
    }
    if (settings.speed == 1.0 && !settings.start.isValid())
        return;
    static SystemClock realTime;
    auto clock = std::make_unique<ScaledClock>(
        realTime, settings.start.isValid() ? settings.start : realTime.now(), settings.speed);
    setCurrentClock(clock.get());
    hostClock = std::move(clock);
    // The host follows the current clock, which is now its own: at speed 1 from there.
    settings.speed = 1.0;
    settings.start = QDateTime();
    SimulatedHost::resetShared(std::make_shared<SimulatedHost>(settings));
}

QString HostSettings::describe()
{
    try {
        const HostLink link = HostLink::fromEnvironment();
        if (link.kind == HostLink::Kind::Tcp)
            return QStringLiteral("host bridge tcp://%1:%2 (time-out %3 s)")
                .arg(link.host)
                .arg(link.port)
                .arg(link.timeoutMs / 1000.0);
        const SimulatedHostSettings s = SimulatedHostSettings::fromEnvironment();
        return QStringLiteral("simulated host, seed %1, speed %2")
            .arg(s.seed ? QString::number(*s.seed) : QStringLiteral("fresh"))
            .arg(s.speed);
    } catch (const Failure &failure) {
        return QStringLiteral("host settings not readable: ") + failure.description();
    }
}
} // namespace lumen::sequa
