#pragma once

#include "hostlink/HostApp.h"
#include "sequa/core/run/PlayFileReader.h"
#include "sequa/core/run/RunProgress.h"
#include "sequa/core/run/RunRecord.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <array>
#include <functional>
#include <memory>

namespace lumen::sequa {

/**
 * The state of the main window frmRxMain: the program-wide variables that
 * command execution, the player and the commands share, and the texts of the
 * controls that logic reads or writes. The window shows it and forwards the
 * operator's edits; tests drive it directly. Every change of a shown value
 * emits changed().
 */
class MainModel : public QObject
{
    Q_OBJECT

public:
    /** Creates the host object for an automation identifier; throws Failure when it cannot. */
    using HostFactory = std::function<std::shared_ptr<HostApp>(const QString &identifier)>;

    /** Characters the script box may reach before further lines are refused. */
    static constexpr int kScriptCapacity = 32000;
    /** TickCount runs 0..kTickLimit; the tick that would pass it starts again at 0. */
    static constexpr qint32 kTickLimit = 1000000;
    /** Milliseconds per timer tick. */
    static constexpr int kTickMs = 250;
    static constexpr int kLoopSlots = 10;

    explicit MainModel(HostFactory hostFactory, QObject *parent = nullptr);
    ~MainModel() override;

    // HostAppObject
    /**
     * Creates HostAppObject anew from the host identifier, replacing the old
     * one. When creation fails the old object stays and Failure is thrown.
     */
    void createHostAppObject();
    bool hasHostAppObject() const { return m_host != nullptr; }
    /** The host object; Failure when none was created yet. */
    HostApp &hostAppObject();
    void setHostFactory(HostFactory factory) { m_hostFactory = std::move(factory); }
    /**
     * Runs of this program hold the host against other processes and claim
     * the runs they resume (RunHold): set by the program, never by a test
     * that plays in process.
     */
    void setExclusiveRuns(bool on) { m_exclusiveRuns = on; }
    bool exclusiveRuns() const { return m_exclusiveRuns; }
    /**
     * Why the host last answered "No Connection" (testconnect's own text, a
     * host object that could not be created, another run holding the host);
     * empty once it answered.
     */
    const QString &noConnectionReason() const { return m_noConnectionReason; }
    void setNoConnectionReason(const QString &reason) { m_noConnectionReason = reason; }

    // Timer
    /** The 250 ms timer event; while a run plays, it keeps a bridge's host held now and then. */
    void onTick();
    /** Ticks between two keepAlive calls of a playing run. */
    static constexpr qint32 kKeepAliveTicks = 240;
    qint32 tickCount() const { return m_tickCount; }
    void setTickCount(qint32 ticks) { m_tickCount = ticks; }
    /** Ticks counted since `mark` was read from tickCount(), across the wrap to 0. */
    qint32 ticksSince(qint32 mark) const;
    /** Pumps window events until more than `ticks` ticks have passed, or the run is stopped. */
    void pumpForTicks(qint32 ticks);

    // Run state
    bool playing() const { return m_playing; }
    void setPlaying(bool on);
    bool waiting() const { return m_waiting; }
    void setWaiting(bool on) { m_waiting = on; }
    bool loading() const { return m_loading; }
    void setLoading(bool on) { m_loading = on; }
    qint16 currentLine() const { return m_currentLine; }
    void setCurrentLine(qint16 line) { m_currentLine = line; }
    qint16 loopDepth() const { return m_loopDepth; }
    void setLoopDepth(qint16 depth) { m_loopDepth = depth; }
    /** Loop slots are numbered 1..10; any other index throws Failure (subscript out of range). */
    qint16 &loopStartLine(int depth);
    qint16 &loopPasses(int depth);
    qint16 &loopCounter(int depth);
    /** The run's tally when the loop's current pass began: where a resume takes the pass up. */
    PassTally &loopPassStart(int depth);
    qint16 numPasses() const { return m_numPasses; }
    void setNumPasses(qint16 passes) { m_numPasses = passes; }
    const QString &playFile() const { return m_playFile; }
    void setPlayFile(const QString &path) { m_playFile = path; }
    /** The open read handle on PlayFile during a run. */
    PlayFileReader &playFileReader() { return m_playFileReader; }
    const QString &lastAnalysisType() const { return m_lastAnalysisType; }
    void setLastAnalysisType(const QString &type) { m_lastAnalysisType = type; }
    /** Dead-time file name offered by default ("DT.txt"). */
    const QString &deadTimeFileName() const { return m_deadTimeFileName; }
    void setDeadTimeFileName(const QString &name) { m_deadTimeFileName = name; }
    /**
     * Folder where value and data files named without a folder live: the
     * program directory unless one was set (tests point it at a scratch folder).
     */
    QString programFolder() const;
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    /** What the current or last run did: stop requests, failed lines, its journal. */
    RunRecord &runRecord() { return m_runRecord; }
    /** Where the playing script is, for the window to show. */
    RunProgress &runProgress() { return m_runProgress; }
    /** The reply of the last command line executed, trimmed. */
    const QString &lastReply() const { return m_lastReply; }
    void setLastReply(const QString &reply) { m_lastReply = reply; }

    // RunLog
    /** Opens (creates or replaces) the run log of a script run; Failure when it cannot. */
    void openRunLog(const QString &path);
    void closeRunLog();
    bool runLogOpen() const { return !m_runLogPath.isEmpty(); }
    /** Writes one line ended by CR LF (and to the run's journal); nothing when no run log is open.
     */
    void writeRunLogLine(const QString &line);
    /**
     * Every line written to the run log also goes to this stream as it is
     * written (a run without a display, where nobody sees the message panel);
     * nullptr for none.
     */
    void setRunLogEcho(QTextStream *echo) { m_runLogEcho = echo; }

    // Control texts
    const QString &scriptText() const { return m_script; }
    void setScriptText(const QString &text);
    /** The file the script was loaded from or saved to; empty for none. */
    const QString &scriptFile() const { return m_scriptFile; }
    void setScriptFile(const QString &path);
    const QString &statusText() const { return m_status; }
    void setStatusText(const QString &text);
    const QString &lastCommandText() const { return m_lastCommand; }
    void setLastCommandText(const QString &text);
    bool doNow() const { return m_doNow; }
    void setDoNow(bool checked);
    const QString &libraryText() const { return m_library; }
    void setLibraryText(const QString &text);
    bool useLibEff() const { return m_useLibEff; }
    void setUseLibEff(bool checked);
    const QStringList &analysisTypes() const { return m_analysisTypes; }
    void setAnalysisTypes(const QStringList &types);
    /** -1 when no item is selected. */
    int analysisTypeIndex() const { return m_analysisTypeIndex; }
    void setAnalysisTypeIndex(int index);
    const QString &numPassLoopText() const { return m_numPassLoop; }
    void setNumPassLoopText(const QString &text);
    const QString &rootNameText() const { return m_rootName; }
    void setRootNameText(const QString &text);
    const QString &primaryNumberText() const { return m_primaryNumber; }
    void setPrimaryNumberText(const QString &text);
    const QString &roiCountText() const { return m_roiCount; }
    void setRoiCountText(const QString &text);
    const QString &roiNumberText() const { return m_roiNumber; }
    void setRoiNumberText(const QString &text);
    bool connectMenuChecked() const { return m_connectChecked; }
    void setConnectMenuChecked(bool checked);
    bool commandFramesEnabled() const { return m_framesEnabled; }
    bool messagePanelShown() const { return m_panelShown; }
    const QString &messagePanelText() const { return m_panelText; }

    // Procedures of the main window
    /** Enables or disables the nine command frames together. */
    void EnableCommandFrames(bool enabled);
    /** Shows the message panel without blocking and sets its label. */
    void ShowMessagePanel(const QString &text);
    void HideMessagePanel();
    /**
     * Appends line + CR LF to the script while it holds fewer than 32000
     * characters; otherwise tells the operator the script is full. Nothing
     * while a run plays (paused included): the script in the box is the one
     * playing, and a resume must find it as the run's journal names it.
     */
    void AppendScriptLine(const QString &line);

Q_SIGNALS:
    /** A shown value changed (texts, check boxes, frames, menu check mark). */
    void changed();
    /** The message panel was shown, changed or hidden. */
    void messagePanelChanged();

private:
    template <typename T> void assign(T &member, const T &value);

    HostFactory m_hostFactory;
    std::shared_ptr<HostApp> m_host;
    bool m_exclusiveRuns = false;
    QString m_noConnectionReason;
    QString m_runLogPath;
    QTextStream *m_runLogEcho = nullptr;
    PlayFileReader m_playFileReader;
    RunRecord m_runRecord;
    RunProgress m_runProgress;
    QString m_lastReply;

    qint32 m_tickCount = 0;
    bool m_playing = false;
    bool m_waiting = false;
    bool m_loading = false;
    qint16 m_currentLine = 0;
    qint16 m_loopDepth = 0;
    std::array<qint16, kLoopSlots> m_loopStartLine{};
    std::array<qint16, kLoopSlots> m_loopPasses{};
    std::array<qint16, kLoopSlots> m_loopCounter{};
    std::array<PassTally, kLoopSlots> m_loopPassStart{};
    qint16 m_numPasses = 0;
    QString m_playFile;
    QString m_lastAnalysisType;
    QString m_deadTimeFileName = QStringLiteral("DT.txt");
    QString m_programFolder; ///< empty: the program directory

    QString m_script;
    QString m_scriptFile;
    QString m_status = QStringLiteral("Status");
    QString m_lastCommand = QStringLiteral("Last Script Command Processed");
    bool m_doNow = false;
    QString m_library;
    bool m_useLibEff = false;
    QStringList m_analysisTypes;
    int m_analysisTypeIndex = -1;
    QString m_numPassLoop = QStringLiteral("0");
    QString m_rootName = QStringLiteral("SPEC");
    QString m_primaryNumber = QStringLiteral("1");
    QString m_roiCount = QStringLiteral("6");
    QString m_roiNumber = QStringLiteral("1");
    bool m_connectChecked = false;
    bool m_framesEnabled = true;
    bool m_panelShown = false;
    QString m_panelText;
};

} // namespace lumen::sequa
