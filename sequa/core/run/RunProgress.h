#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace lumen {
class HostApp;
}

namespace lumen::sequa {

/**
 * Where a playing script is, for whoever watches the run: the line being
 * executed out of the script's lines, the pass of each open loop, and inside
 * a wait how far it has come. The player and the waits update it; the main
 * window reads it. Every change emits changed().
 */
class RunProgress : public QObject
{
    Q_OBJECT

public:
    enum class Wait
    {
        None,
        Preset, ///< WaitPreset: the acquisition's elapsed time against its preset
        Seconds ///< WaitSeconds: the seconds left
    };
    /** The kind of the acquisition preset a script set last. */
    enum class PresetKind
    {
        Real,
        Live
    };
    /** Where a pause is: asked while a line plays, or holding the run. */
    enum class Pause
    {
        None,
        Asked, ///< the line goes on; the run holds when it ends (WaitPreset, a program)
        Held   ///< nothing of the script moves on (a WaitSeconds countdown included)
    };
    struct Loop
    {
        int pass = 1;
        int passes = 1;
        bool operator==(const Loop &) const = default;
    };

    explicit RunProgress(QObject *parent = nullptr);

    /** A run begins: `scriptLines` is the count of lines the script holds. */
    void runStarted(int scriptLines);
    void runEnded();
    bool running() const { return m_running; }

    /** The player is about to execute line `number` (1-based); `loops` from the outermost in. */
    void lineStarted(int number, const QString &text, const QList<Loop> &loops);
    int lineNumber() const { return m_lineNumber; }
    int scriptLines() const { return m_scriptLines; }
    const QString &lineText() const { return m_lineText; }
    const QList<Loop> &loops() const { return m_loops; }

    /** A preset command reached the host: the preset a later WaitPreset waits for. */
    void notePreset(PresetKind kind, double seconds);

    /**
     * Someone shows the progress. Only then does a preset wait ask the host
     * for the elapsed time: an unattended run without a window keeps the
     * host's traffic as the script makes it.
     */
    void setWatched(bool watched) { m_watched = watched; }
    bool watched() const { return m_watched; }

    /** WaitPreset began; the elapsed time is unknown until the first reading. */
    void presetWaitStarted();
    /**
     * Reads the acquisition's elapsed time of the preset's kind from the host,
     * when watched. A host that cannot tell leaves the last reading.
     */
    void readPresetElapsed(HostApp &host);
    /** WaitSeconds: whole seconds left. */
    void showSecondsLeft(qint64 seconds);
    void waitEnded();

    /** A pause `by` someone ("the operator", "SIGUSR1") was asked. */
    void pauseAsked(const QString &by);
    /** The run holds and has held for `seconds`. */
    void showHeld(qint64 seconds);
    void pauseEnded();
    Pause pause() const { return m_pause; }
    /** Whole seconds the current hold has lasted. */
    qint64 heldSeconds() const { return m_heldSeconds; }

    Wait wait() const { return m_wait; }
    /** Seconds of the preset a preset wait waits for; 0 when no preset is known. */
    double presetSeconds() const { return m_presetSeconds; }
    /** The last elapsed time read during a preset wait; negative before the first. */
    double elapsedSeconds() const { return m_elapsedSeconds; }
    qint64 secondsLeft() const { return m_secondsLeft; }

    /** "Line 4 of 12: WaitPreset"; empty when no run plays. */
    QString lineCaption() const;
    /** "Loop 1: pass 2 of 3, loop 2: pass 1 of 5"; empty outside loops. */
    QString loopsCaption() const;
    /** "Live time 0:00:42 of 0:05:00", "Time left 0:12:03"; empty outside a wait. */
    QString waitCaption() const;
    /** "Paused by SIGUSR1 for 0:02:10"; empty when no pause was asked. */
    QString pauseCaption() const;

Q_SIGNALS:
    void changed();

private:
    bool m_running = false;
    bool m_watched = false;
    int m_scriptLines = 0;
    int m_lineNumber = 0;
    QString m_lineText;
    QList<Loop> m_loops;
    PresetKind m_presetKind = PresetKind::Real;
    double m_presetSeconds = 0;
    Wait m_wait = Wait::None;
    double m_elapsedSeconds = -1;
    qint64 m_secondsLeft = 0;
    Pause m_pause = Pause::None;
    QString m_pausedBy;
    qint64 m_heldSeconds = 0;
};

} // namespace lumen::sequa
