#include "sequa/core/run/RunRecord.h"

namespace lumen::sequa {

void RunRecord::reset()
{
    m_stopReason.clear();
    m_hostReached = false;
    m_failedLines = 0;
}

void RunRecord::requestStop(const QString &reason)
{
    if (m_stopReason.isEmpty())
        m_stopReason = reason.isEmpty() ? QStringLiteral("stopped") : reason;
}

int RunRecord::exitStatus(bool stoppedEarly) const
{
    // A run that never reached the host did nothing a lab asked for.
    if (stoppedEarly || stopRequested() || !m_hostReached)
        return kStopped;
    return m_failedLines > 0 ? kLinesFailed : kCompleted;
}

QString RunRecord::outcomeText(bool stoppedEarly) const
{
    if (stopRequested())
        return QStringLiteral("the run was interrupted (%1)").arg(m_stopReason);
    if (stoppedEarly)
        return QStringLiteral("the run was stopped before the end of the script");
    if (!m_hostReached)
        return QStringLiteral("the run ended without ever reaching the host");
    if (m_failedLines > 0)
        return QStringLiteral("the run reached the end of the script; %1 line(s) gave an error "
                              "reply")
            .arg(m_failedLines);
    return QStringLiteral("the run reached the end of the script; every line answered OK");
}

} // namespace lumen::sequa
