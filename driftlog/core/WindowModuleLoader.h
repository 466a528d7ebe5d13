#pragma once

#include <QByteArrayView>
#include <QString>

namespace lumen::driftlog {

/**
 * Runs the window from a module image held in memory: the image is placed in
 * an anonymous in-memory file, loaded, and its entry point called. Keeps a
 * copied executable self-contained while the command words never load the
 * widget libraries.
 */
class WindowModuleLoader
{
public:
    /**
     * Loads `image` and calls its `driftlogRunWindow(argc, argv)`; returns its
     * exit status. Throws Failure when the module cannot be loaded.
     */
    static int run(QByteArrayView image, int argc, char **argv);
};

} // namespace lumen::driftlog
