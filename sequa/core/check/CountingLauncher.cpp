#include "sequa/core/check/CountingLauncher.h"

namespace lumen::sequa {

qint64 CountingLauncher::start(const QString &commandLine, bool)
{
    m_started.append(commandLine);
    return m_started.size();
}

ProcessEnd CountingLauncher::waitForEnd(qint64, const std::function<bool()> &)
{
    return {ProcessEnd::How::Exited, 0};
}

bool CountingLauncher::isRunning(qint64) const
{
    return false;
}

} // namespace lumen::sequa
