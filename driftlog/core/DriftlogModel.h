#pragma once

#include "common/core/RunOrigin.h"
#include "driftlog/core/AppendOutcome.h"
#include "driftlog/core/QcCharts.h"
#include "driftlog/core/QcVerdict.h"

#include <QString>
#include <functional>
#include <optional>

namespace lumen::driftlog {

/**
 * The state of the window ParseIt and what its buttons do. The window shows
 * the texts and forwards clicks; the command-line run drives it alone.
 */
class DriftlogModel
{
public:
    static constexpr int kGainMode = 0;
    static constexpr int kKeVMode = 1;

    /** Settings and log files in `folder` (the program directory in the program). */
    explicit DriftlogModel(const QString &folder);

    /** Start-up: mode 0, then the settings record, if any, is applied. */
    void startUp();

    // Option buttons: index 1 "% Gain drift", index 2 "keV drift".
    void selectOption(int index);
    bool optionSelected(int index) const { return index == 1 ? m_gainOption : m_keVOption; }
    int mode() const { return m_mode; }

    /** Reads the report named by `Rpath`. False when it is missing ("File not found!"). */
    bool readLmnFile();
    /**
     * Computes the drift and appends to the log, or takes a new reference;
     * either way the QC log gets its line too. After a drift line is written
     * the verdict on it is in verdict() and statusText.
     */
    AppendOutcome appendIt();
    /** The verdict on the line the last appendIt() wrote; nothing after any other outcome. */
    const std::optional<QcVerdict> &verdict() const { return m_verdict; }
    /** True when StabLimits.txt could not be read for the last verdict or chart. */
    bool toleranceUnread() const { return m_toleranceUnread; }
    /** Why the last append wrote no line to StabQC.csv; empty when it did. */
    const QString &qcError() const { return m_qcError; }

    /**
     * The control charts of the logs' last series, the drift in the current
     * mode's unit, with the settings of StabLimits.txt when it can be read.
     * Throws Failure when a log cannot be read.
     */
    QcCharts charts();
    /** The drift's chart alone. */
    ControlChart chart() { return charts().drift; }
    /** Writes the settings record; false (with lastError) when it cannot be written. */
    bool saveSettings();

    /**
     * Opens the report or the log in the text editor; false on failure, with
     * the reason in lastError and statusText.
     */
    bool viewReport();
    bool viewLog();
    /**
     * When a viewer started by viewReport() or viewLog() ends without having
     * opened the file, statusText says so and `changed` is called, while
     * `context` lives (the window). Without it such a late failure goes unseen.
     */
    void reportLateViewFailures(QObject *context, std::function<void()> changed);

    QString settingsPath() const { return m_settingsPath; }
    QString logPath() const { return m_logPath; }
    QString qcLogPath() const { return m_qcPath; }
    QString tolerancePath() const { return m_tolerancePath; }
    /** "%" in % gain drift mode, "keV" in keV drift mode. */
    QString unit() const;

    /** Which run, pass and line this append belongs to (the environment's by default). */
    void setRunOrigin(const lumen::RunOrigin &origin) { m_origin = origin; }

    /** Description of the last failure, for stderr in a command-line run. */
    QString lastError() const { return m_lastError; }

    // Box texts.
    QString rpath;
    QString idText;
    QString dateText;
    QString timeText;
    QString centerText;
    QString elapsedText;
    QString keVdrift;
    QString percentDrift;
    /** The last verdict or failure, for the window's status line. */
    QString statusText;
    /** What the last read found beyond the boxes (empty when the report gives none). */
    QString fwhmText;
    QString netAreaText;
    QString liveTimeText;

    // The reference measurement.
    float referenceCentre = 0.0f; ///< keV; 0 or less: no reference
    QString referenceDate;
    QString referenceTime;

private:
    AppendOutcome takeReference();
    AppendOutcome failed(AppendOutcome outcome, const QString &why);
    bool view(const QString &path);
    void judgeNewLine(qint32 minutes, double centre);
    QcRecord qcRecord(qint32 minutes, double centre);
    void appendQcLine(qint32 minutes, double centre);
    QString alreadyLogged(const QcRecord &logged, const QcRecord &record) const;
    QString dateTimeRefusal() const;
    ToleranceSettings limitsOrDefaults();

    QString m_settingsPath;
    QString m_logPath;
    QString m_tolerancePath;
    QString m_qcPath;
    std::optional<QcVerdict> m_verdict;
    bool m_toleranceUnread = false;
    bool m_dateMissing = false;
    QString m_qcError;
    lumen::RunOrigin m_origin;
    bool m_reportRead = false; ///< Append computes from the boxes only after a read
    QString m_reportSha256;
    QObject *m_viewContext = nullptr;
    std::function<void()> m_viewChanged;
    int m_mode = kGainMode;
    bool m_gainOption = true;
    bool m_keVOption = false;
    QString m_lastError;
};

} // namespace lumen::driftlog
