#pragma once

#include <QString>
#include <functional>

namespace lumen::sequa {

/**
 * Where a run would look for what a script names: the program folder for
 * value files, the host's data folder for ROI and configuration files, and
 * the way a start finds a program.
 */
struct ScriptCheckPlaces
{
    QString programFolder;
    QString hostDataFolder;
    /** Absolute path of the program a command line starts, "" when not found. */
    std::function<QString(const QString &program)> findProgram;

    /** The places of this installation (programDirectory(), the host's Data folder). */
    static ScriptCheckPlaces ofThisInstallation();
    /** A file the host opens: with a folder as named, else in the data folder. */
    QString hostFile(const QString &name) const;
};

} // namespace lumen::sequa
