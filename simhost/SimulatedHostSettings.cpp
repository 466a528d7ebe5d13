#include "simhost/SimulatedHostSettings.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"

#include <QtGlobal>

namespace lumen {

namespace {
QString variable(const char *name)
{
    return qEnvironmentVariable(name).trimmed();
}

[[noreturn]] void badValue(const char *name, const QString &value)
{
    throw Failure(QStringLiteral("Invalid value of %1: %2").arg(QLatin1String(name), value));
}
} // namespace

SimulatedHostSettings SimulatedHostSettings::fromEnvironment()
{
    SimulatedHostSettings s;
    bool ok = true;
    if (const QString v = variable("LUMEN_HOST_SEED"); !v.isEmpty()) {
        s.seed = v.toULongLong(&ok);
        if (!ok)
            badValue("LUMEN_HOST_SEED", v);
    }
    if (const QString v = variable("LUMEN_HOST_SPEED"); !v.isEmpty()) {
        s.speed = v.toDouble(&ok);
        if (!ok || !(s.speed > 0.0))
            badValue("LUMEN_HOST_SPEED", v);
    }
    if (const QString v = variable("LUMEN_HOST_CHANNELS"); !v.isEmpty()) {
        s.channels = v.toInt(&ok);
        if (!ok || s.channels < 1 || s.channels > 16384)
            badValue("LUMEN_HOST_CHANNELS", v);
    }
    if (const QString v = variable("LUMEN_HOST_START"); !v.isEmpty()) {
        // A start the clock cannot show is refused: an invalid start would mean "now".
        const auto start = parseDateTime(v);
        if (!start || !start->isValid())
            badValue("LUMEN_HOST_START", v);
        s.start = *start;
    }
    s.faults = HostFaults::parse(qEnvironmentVariable("LUMEN_HOST_FAULTS"));
    return s;
}

} // namespace lumen
