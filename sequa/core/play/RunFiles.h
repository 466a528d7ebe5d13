#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::sequa {

/**
 * The play file and run log of a run: temporary files named by the prefix,
 * the process id and a unique part ("SDE1234-a1B2c3.tmp"), so that the next
 * run can tell the files of a run killed outright (SIGKILL, a power cut)
 * from those of a run still playing, and remove them.
 */
class RunFiles
{
public:
    /**
     * Creates a new, uniquely named file filled with `content` in the
     * temporary folder, or in `fallbackFolder` when the temporary one cannot
     * take it, and returns its path. Failure when neither can.
     */
    static QString create(const QString &prefix, const QByteArray &content,
                          const QString &fallbackFolder);
    /** Removes the files of `prefix` in `folder` whose process is gone; returns how many. */
    static int sweep(const QString &folder, const QString &prefix);
};

} // namespace lumen::sequa
