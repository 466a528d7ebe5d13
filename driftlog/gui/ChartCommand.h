#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace lumen::driftlog {

/** "--chart FILE.png": the control chart of the stability log as a picture, no display needed. */
class ChartCommand
{
public:
    /** True when the arguments ask for a chart (the first one is "--chart"). */
    static bool asked(const QStringList &args);

    /**
     * Draws the log's last series in `folder` into the PNG file args[1],
     * replacing it whole. Status 0 written, 1 the log, the tolerance or the
     * picture could not be read or written, 2 no file named.
     */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err,
                   const QString &folder);
};

} // namespace lumen::driftlog
