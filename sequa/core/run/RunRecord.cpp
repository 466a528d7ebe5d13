#include "sequa/core/run/RunRecord.h"

#include <QStringList>

namespace lumen::sequa {

namespace {
// A loop that fails every pass would make the outcome as long as the journal.
constexpr int kLinesNamed = 20;
} // namespace

QString RunRecord::failedProgramLines() const
{
    QStringList lines;
    for (int i = 0; i < m_failedPrograms.size() && i < kLinesNamed; ++i)
        lines << QString::number(m_failedPrograms[i]);
    if (m_failedPrograms.size() > kLinesNamed)
        lines << QStringLiteral("...");
    return lines.join(QStringLiteral(", "));
}

void RunRecord::reset()
{
    m_stopReason.clear();
    m_pausedBy.clear();
    m_qualityStop = false;
    m_hostReached = false;
    m_failedLines = 0;
    m_failedPrograms.clear();
    m_carriedFailedPrograms = 0;
    m_answersAsked = 0;
    m_unansweredBoxes = 0;
    m_answersRanOutAt = 0;
}

void RunRecord::noteUnansweredBox()
{
    if (m_unansweredBoxes++ == 0)
        m_answersRanOutAt = m_answersAsked;
    ++m_failedLines;
}

PassTally RunRecord::tally() const
{
    return {m_answersAsked, m_failedLines, m_carriedFailedPrograms + int(m_failedPrograms.size())};
}

void RunRecord::restoreTally(const PassTally &tally)
{
    m_answersAsked = tally.answers;
    m_failedLines = tally.failedLines;
    m_failedPrograms.clear();
    m_carriedFailedPrograms = tally.failedPrograms;
}

void RunRecord::requestStop(const QString &reason)
{
    if (m_stopReason.isEmpty())
        m_stopReason = reason.isEmpty() ? QStringLiteral("stopped") : reason;
}

void RunRecord::requestQualityStop(const QString &reason)
{
    if (!stopRequested())
        m_qualityStop = true;
    requestStop(reason);
}

int RunRecord::exitStatus(bool stoppedEarly) const
{
    if (m_qualityStop)
        return kQualityStop;
    // A run that never reached the host did nothing a lab asked for.
    if (stoppedEarly || stopRequested() || !m_hostReached)
        return kStopped;
    return m_failedLines > 0 || tally().failedPrograms > 0 ? kLinesFailed : kCompleted;
}

QString RunRecord::outcomeText(bool stoppedEarly) const
{
    if (m_qualityStop)
        return QStringLiteral("the run was ") + m_stopReason;
    if (stopRequested())
        return QStringLiteral("the run was interrupted (%1)").arg(m_stopReason);
    if (stoppedEarly)
        return QStringLiteral("the run was stopped before the end of the script");
    if (!m_hostReached)
        return QStringLiteral("the run ended without ever reaching the host");
    if (m_failedLines > 0 || tally().failedPrograms > 0) {
        QStringList what;
        if (m_failedLines > m_unansweredBoxes)
            what << QStringLiteral("%1 line(s) gave an error reply")
                        .arg(m_failedLines - m_unansweredBoxes);
        if (m_unansweredBoxes > 0)
            what << QStringLiteral("the answers ran out at answer %1: %2 box(es) cancelled")
                        .arg(m_answersRanOutAt)
                        .arg(m_unansweredBoxes);
        if (!m_failedPrograms.isEmpty())
            what << QStringLiteral("%1 program(s) ended with a failure (line %2)")
                        .arg(m_failedPrograms.size())
                        .arg(failedProgramLines());
        if (m_carriedFailedPrograms > 0)
            what << QStringLiteral("%1 program(s) ended with a failure before the resume")
                        .arg(m_carriedFailedPrograms);
        return QStringLiteral("the run reached the end of the script; ") +
               what.join(QStringLiteral("; "));
    }
    return QStringLiteral("the run reached the end of the script; every line answered OK");
}

} // namespace lumen::sequa
