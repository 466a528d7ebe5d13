#include "sequa/core/HostSettings.h"

#include "common/core/Failure.h"
#include "hostlink/HostLink.h"
#include "hostsim/core/SimulatedHostSettings.h"

namespace lumen::sequa {

void HostSettings::check()
{
    const HostLink link = HostLink::fromEnvironment();
    if (link.kind == HostLink::Kind::InProcess)
        SimulatedHostSettings::fromEnvironment();
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
