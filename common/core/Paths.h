#pragma once

#include <QString>

namespace lumen {

/**
 * Where settings, value and data files live: $LUMEN_PROGRAM_DIR when set,
 * else the folder of the running executable, or lumenRoot() when that folder
 * is not writable or is a system folder (/usr/..., a system-wide installation).
 */
QString programDirectory();
/** programDirectory() + separator + name. */
QString programFile(const QString &name);

/**
 * Where the design's "C:\Program Files\Korlund\Lumen" lies: on Windows as
 * designed; elsewhere $LUMEN_ROOT, or ~/Lumen when unset.
 */
QString lumenRoot();

/**
 * Maps a design default path under "C:\Program Files\Korlund\Lumen\" to this
 * platform (the same tail under lumenRoot()); other paths are returned as
 * given, with native separators.
 */
QString designPath(const QString &windowsPath);

/** The report HostApp writes: designPath("C:\Program Files\Korlund\Lumen\Temp\RESULTS.TXT"). */
QString defaultReportPath();

/** True when a name carries a folder: it holds "\" or "/" (or a drive colon). */
bool hasFolder(const QString &name);

/** A name without a folder is placed in the program directory. */
QString inProgramDirectory(const QString &name);

/**
 * Makes the folder and the folders above it that are missing. Failure,
 * with the system's reason ("Read-only file system", "Permission denied"),
 * when it cannot: a later open of a file in it could only say "No such
 * file or directory". The failure is kept for folderProblem.
 */
void makeFolder(const QString &path);
/**
 * Why a file at `path` cannot be there: the failure of makeFolder for a
 * folder that holds it (the Lumen folder made at the start, say); empty
 * when none failed. Errors on such a file name this reason, not the
 * "No such file or directory" of its open.
 */
QString folderProblem(const QString &path);

/** Joins folder and name with the platform's separator. */
QString joinPath(const QString &folder, const QString &name);

} // namespace lumen
