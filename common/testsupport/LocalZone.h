#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <ctime>

namespace lumen::test {

/** Sets the local time zone for as long as it lives, as TZ does for a program. */
class LocalZone
{
public:
    explicit LocalZone(const char *zone)
        : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        ::tzset();
    }
    ~LocalZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        ::tzset();
    }
    LocalZone(const LocalZone &) = delete;
    LocalZone &operator=(const LocalZone &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

} // namespace lumen::test
