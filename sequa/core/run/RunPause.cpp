#include "sequa/core/run/RunPause.h"

#include "common/core/EventPump.h"
#include "sequa/core/run/ClockText.h"
#include "sequa/core/run/DayStopwatch.h"
#include "sequa/core/run/RunJournal.h"
#include "sequa/core/run/RunProgress.h"
#include "sequa/core/run/RunRecord.h"

namespace lumen::sequa {

namespace {
// A hold may last hours: no need to look more often; events still wake it at once.
constexpr int kHoldPumpMs = 100;
} // namespace

RunPause::RunPause(RunRecord &record, RunProgress &progress)
    : m_record(record), m_progress(progress)
{
}

bool RunPause::pause(const QString &by)
{
    if (!m_progress.running() || m_record.paused() || m_record.stopRequested())
        return false;
    m_record.setPausedBy(by);
    if (RunJournal *journal = m_record.journal())
        journal->write(
            QStringLiteral("Paused by %1 at line %2").arg(by).arg(m_progress.lineNumber()));
    m_progress.pauseAsked(by);
    return true;
}

bool RunPause::resume(const QString &by)
{
    if (!m_record.paused())
        return false;
    m_record.setPausedBy(QString());
    if (RunJournal *journal = m_record.journal()) {
        const QString held =
            m_progress.pause() == RunProgress::Pause::Held
                ? QStringLiteral(" after %1 held").arg(clockText(double(m_progress.heldSeconds())))
                : QStringLiteral(" before the run held");
        journal->write(QStringLiteral("Resumed by %1%2").arg(by, held));
    }
    m_progress.pauseEnded();
    return true;
}

bool RunPause::hold()
{
    if (!m_record.paused() || m_progress.pause() == RunProgress::Pause::Held)
        return false;
    DayStopwatch held;
    while (m_record.paused() && !m_record.stopRequested()) {
        m_progress.showHeld(static_cast<qint64>(held.elapsed()));
        pumpEventsWhileWaiting(kHoldPumpMs);
    }
    m_record.setPausedBy(QString());
    m_progress.pauseEnded();
    return true;
}

} // namespace lumen::sequa
