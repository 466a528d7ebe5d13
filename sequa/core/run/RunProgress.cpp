#include "sequa/core/run/RunProgress.h"

#include "common/core/NumberText.h"
#include "hostlink/HostApp.h"
#include "sequa/core/run/ClockText.h"

#include <exception>

namespace lumen::sequa {

RunProgress::RunProgress(QObject *parent) : QObject(parent) {}

void RunProgress::runStarted(int scriptLines)
{
    m_running = true;
    m_scriptLines = scriptLines;
    m_lineNumber = 0;
    m_lineText.clear();
    m_loops.clear();
    m_wait = Wait::None;
    m_pause = Pause::None;
    Q_EMIT changed();
}

void RunProgress::runEnded()
{
    m_running = false;
    m_wait = Wait::None;
    m_pause = Pause::None;
    Q_EMIT changed();
}

void RunProgress::lineStarted(int number, const QString &text, const QList<Loop> &loops)
{
    m_lineNumber = number;
    m_lineText = text;
    m_loops = loops;
    Q_EMIT changed();
}

void RunProgress::notePreset(PresetKind kind, double seconds)
{
    m_presetKind = kind;
    m_presetSeconds = seconds > 0 ? seconds : 0;
}

void RunProgress::presetWaitStarted()
{
    m_wait = Wait::Preset;
    m_elapsedSeconds = -1;
    Q_EMIT changed();
}

void RunProgress::readPresetElapsed(HostApp &host)
{
    if (!m_watched)
        return;
    try {
        const QString elapsed =
            m_presetKind == PresetKind::Live ? host.GetElapsedLive() : host.GetElapsedReal();
        m_elapsedSeconds = numericValue(elapsed);
    } catch (const std::exception &) {
        // The wait's own poll tells of a host in trouble; the bar just stays put.
        return;
    }
    Q_EMIT changed();
}

void RunProgress::showSecondsLeft(qint64 seconds)
{
    if (m_wait == Wait::Seconds && m_secondsLeft == seconds)
        return;
    m_wait = Wait::Seconds;
    m_secondsLeft = seconds;
    Q_EMIT changed();
}

void RunProgress::pauseAsked(const QString &by)
{
    m_pause = Pause::Asked;
    m_pausedBy = by;
    m_heldSeconds = 0;
    Q_EMIT changed();
}

void RunProgress::showHeld(qint64 seconds)
{
    if (m_pause == Pause::Held && m_heldSeconds == seconds)
        return;
    m_pause = Pause::Held;
    m_heldSeconds = seconds;
    Q_EMIT changed();
}

void RunProgress::pauseEnded()
{
    if (m_pause == Pause::None)
        return;
    m_pause = Pause::None;
    Q_EMIT changed();
}

void RunProgress::waitEnded()
{
    if (m_wait == Wait::None)
        return;
    m_wait = Wait::None;
    Q_EMIT changed();
}

QString RunProgress::lineCaption() const
{
    if (!m_running || m_lineNumber < 1)
        return QString();
    return QStringLiteral("Line %1 of %2: %3").arg(m_lineNumber).arg(m_scriptLines).arg(m_lineText);
}

QString RunProgress::loopsCaption() const
{
    QStringList passes;
    for (const Loop &loop : m_loops)
        passes.append(QStringLiteral("loop %1: pass %2 of %3")
                          .arg(passes.size() + 1)
                          .arg(loop.pass)
                          .arg(loop.passes));
    if (!m_running || passes.isEmpty())
        return QString();
    QString caption = passes.join(QStringLiteral(", "));
    caption[0] = caption[0].toUpper();
    return caption;
}

QString RunProgress::waitCaption() const
{
    switch (m_wait) {
    case Wait::Seconds:
        return QStringLiteral("Time left ") + clockText(double(m_secondsLeft));
    case Wait::Preset: {
        const QString kind = m_presetKind == PresetKind::Live ? QStringLiteral("Live time")
                                                              : QStringLiteral("Real time");
        const QString elapsed =
            m_elapsedSeconds < 0 ? QStringLiteral("-:--:--") : clockText(m_elapsedSeconds);
        if (m_presetSeconds <= 0)
            return QStringLiteral("Waiting for the preset: %1 %2").arg(kind.toLower(), elapsed);
        return QStringLiteral("%1 %2 of %3").arg(kind, elapsed, clockText(m_presetSeconds));
    }
    case Wait::None:
        break;
    }
    return QString();
}

QString RunProgress::pauseCaption() const
{
    switch (m_pause) {
    case Pause::Asked:
        return QStringLiteral("Paused by %1: the run holds when this line ends").arg(m_pausedBy);
    case Pause::Held:
        return QStringLiteral("Paused by %1 for %2")
            .arg(m_pausedBy, clockText(double(m_heldSeconds)));
    case Pause::None:
        break;
    }
    return QString();
}

} // namespace lumen::sequa
