#include "hostlink/HostLink.h"

#include "common/core/Failure.h"
#include "hostlink/HostKey.h"

#include <QUrl>
#include <cmath>

namespace lumen {

HostLink HostLink::parse(const QString &text, const QString &timeoutText)
{
    HostLink link;
    if (!timeoutText.trimmed().isEmpty()) {
        bool ok = false;
        const double seconds = timeoutText.trimmed().toDouble(&ok);
        if (!ok || !(seconds > 0.0) || seconds > 86400.0)
            throw Failure(QStringLiteral("Invalid value of LUMEN_HOST_TIMEOUT: ") + timeoutText);
        link.timeoutMs = int(std::ceil(seconds * 1000.0));
    }
    const QString value = text.trimmed();
    if (value.isEmpty() || value.compare(QLatin1String("sim"), Qt::CaseInsensitive) == 0)
        return link;
    const QUrl url(value, QUrl::StrictMode);
    if (url.isValid() && url.scheme() == QLatin1String("tcp") && !url.host().isEmpty() &&
        url.port() > 0 && url.path().isEmpty()) {
        link.kind = Kind::Tcp;
        link.host = url.host();
        link.port = quint16(url.port());
        return link;
    }
    throw Failure(QStringLiteral("Invalid value of LUMEN_HOST (expected tcp://HOST:PORT): ") +
                  value);
}

HostLink HostLink::fromEnvironment()
{
    HostLink link =
        parse(qEnvironmentVariable("LUMEN_HOST"), qEnvironmentVariable("LUMEN_HOST_TIMEOUT"));
    if (link.kind == Kind::Tcp)
        link.key = HostKey::fromEnvironment();
    return link;
}

} // namespace lumen
