#pragma once

#include <QString>

namespace lumen::sequa {

class CommandRunner;
class MainModel;

/**
 * The four script buttons cmdScript: Load, Save, Erase and Play the script
 * of the main window. The window forwards clicks; tests call these directly.
 */
class ScriptButtons
{
public:
    enum Index
    {
        LoadScript = 0,
        SaveScript = 1,
        EraseScript = 2,
        PlayScript = 3
    };

    /** Filter of the script file dialogs. */
    static inline const QString kFilter = QStringLiteral("Lumen Script Files (*.lsf)|*.lsf");

    ScriptButtons(MainModel &model, CommandRunner &runner);

    /** Runs the button of an index (0..3); other indexes do nothing. */
    void click(int index);

    /** Asks for a script file and replaces the script with its lines (up to 32000 characters). */
    void load();
    /** Asks for a file name and writes the script to it, followed by one line end. */
    void save();
    /** Clears a non-empty script once the operator confirms. */
    void erase();
    /**
     * Plays the script in Immediate Test Mode and puts the mode back
     * afterwards. Refused while a run is in progress: the play state holds
     * one run only. Returns true when the run failed or was refused.
     */
    bool play();

    /** True while Play may start a run. */
    bool playEnabled() const;
    /**
     * True while Load and Erase may replace the script: not while a run
     * plays it (paused included).
     */
    bool editEnabled() const;

    /**
     * The script text built from lines as Load builds it: each line followed
     * by CR LF, while the text holds fewer than 32000 characters.
     */
    static QString scriptFromLines(const QStringList &lines);

private:
    MainModel &m_model;
    CommandRunner &m_runner;
};

} // namespace lumen::sequa
