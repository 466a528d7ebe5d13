#include "common/core/RunOrigin.h"

#include <QtGlobal>

namespace lumen {

RunOrigin RunOrigin::fromEnvironment()
{
    RunOrigin origin;
    origin.run = qEnvironmentVariable("LUMEN_RUN");
    origin.pass = qEnvironmentVariable("LUMEN_RUN_PASS");
    bool ok = false;
    const int line = qEnvironmentVariable("LUMEN_RUN_LINE").toInt(&ok);
    origin.line = ok && line > 0 ? line : 0;
    return origin;
}

} // namespace lumen
