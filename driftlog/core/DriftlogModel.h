#pragma once

#include "common/core/RunOrigin.h"
#include "driftlog/core/AppendOutcome.h"
#include "driftlog/core/QcCharts.h"
#include "driftlog/core/QcVerdict.h"

#include <QString>
#include <QStringList>
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
    /**
     * The charts for the window: nothing when a log cannot be read, with the
     * reason in statusText(), which also says when the tolerance was not drawn.
     */
    std::optional<QcCharts> chartsToShow();
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
    QString reportPath() const { return m_rpath; }
    /** "%" in % gain drift mode, "keV" in keV drift mode. */
    QString unit() const;

    /** Which run, pass and line this append belongs to (the environment's by default). */
    void setRunOrigin(const lumen::RunOrigin &origin) { m_origin = origin; }

    /** Description of the last failure, for stderr in a command-line run. */
    QString lastError() const { return m_lastError; }

    /** The window's boxes by their design names, in the window's order. */
    static const QStringList &boxNames();
    /** The text of the box named `box` (one of boxNames()); empty for another name. */
    QString text(const QString &box) const;
    /** What the operator typed into the box named `box`; another name is ignored. */
    void setText(const QString &box, const QString &text);
    /** The last verdict or failure, for the window's status line. */
    const QString &statusText() const { return m_statusText; }

    /** The measurement the drifts are taken against. */
    struct Reference
    {
        float centre = 0.0f; ///< keV, above 0
        QString date;
        QString time;
    };
    /** Nothing until a reference is taken (the settings record's centre 0 or less). */
    const std::optional<Reference> &reference() const { return m_reference; }

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
    std::optional<Reference> m_reference;

    static QString DriftlogModel::*boxField(const QString &box);
    // Box texts, by the design's control names.
    QString m_rpath;
    QString m_idText;
    QString m_dateText;
    QString m_timeText;
    QString m_centerText;
    QString m_elapsedText;
    QString m_keVdrift;
    QString m_percentDrift;
    QString m_statusText;
    // What the last read found beyond the boxes (empty when the report gives none).
    QString m_fwhmText;
    QString m_netAreaText;
    QString m_liveTimeText;
};

} // namespace lumen::driftlog
