// createHostAppObject: the one place that decides which host Sequa talks to,
// and so the one that reads and describes the host settings.
#include "sequa/core/CreateHostAppObject.h"

#include "common/core/Failure.h"
#include "hostlink/HostLink.h"
#include "hostlink/TcpHostClient.h"
#include "hostsim/core/SimulatedHost.h"
#include "hostsim/core/SimulatedHostSettings.h"
#include "sequa/core/HostSettings.h"

namespace lumen::sequa {

std::shared_ptr<HostApp> createHostAppObject(const QString &identifier)
{
    // Automation identifiers are not case-sensitive.
    if (identifier.trimmed().compare(QLatin1String("LmnPro.clsLmn"), Qt::CaseInsensitive) != 0)
        throw Failure(QStringLiteral("Cannot create the automation object \"%1\"").arg(identifier));
    const HostLink link = HostLink::fromEnvironment();
    if (link.kind == HostLink::Kind::Tcp)
        return std::make_shared<TcpHostClient>(link.host, link.port, link.timeoutMs);
    return SimulatedHost::shared();
}

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
