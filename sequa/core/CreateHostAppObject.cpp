// createHostAppObject: the one place that decides which host Sequa talks to.
#include "sequa/core/CreateHostAppObject.h"

#include "common/core/Failure.h"
#include "hostlink/HostLink.h"
#include "hostlink/TcpHostClient.h"
#include "hostsim/core/SimulatedHost.h"

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

} // namespace lumen::sequa
