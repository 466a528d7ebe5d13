#pragma once

#include "driftlog/core/AppendOutcome.h"

#include <QString>

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
    /** Computes the drift and appends to the log, or takes a new reference. */
    AppendOutcome appendIt();
    /** Writes the settings record; false (with lastError) when it cannot be written. */
    bool saveSettings();

    /** Opens the report or the log in the text editor; false (with lastError) on failure. */
    bool viewReport();
    bool viewLog();

    QString settingsPath() const { return m_settingsPath; }
    QString logPath() const { return m_logPath; }

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

    // The reference measurement.
    float referenceCentre = 0.0f; ///< keV; 0 or less: no reference
    QString referenceDate;
    QString referenceTime;

private:
    AppendOutcome takeReference();

    QString m_settingsPath;
    QString m_logPath;
    int m_mode = kGainMode;
    bool m_gainOption = true;
    bool m_keVOption = false;
    QString m_lastError;
};

} // namespace lumen::driftlog
