#include "common/core/Platform.h"

#include <QtGlobal>
#include <cstdio>
#include <cstring>

namespace lumen {

bool hasDisplay()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

void selectPlatformForDisplay()
{
    if (!hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QTextStream &standardOut()
{
    static QTextStream out(stdout);
    return out;
}

QTextStream &standardError()
{
    static QTextStream err(stderr);
    return err;
}

int handleStandardOptions(int argc, char **argv, const ProgramInfo &info)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0 ||
            std::strcmp(a, "/?") == 0) {
            QTextStream &out = standardOut();
            out << info.name << " - " << info.summary << "\n\n" << info.usage;
            out << "\nOptions:\n  --help     show this text and exit\n"
                   "  --version  show the version and exit\n";
            out.flush();
            return 0;
        }
        if (std::strcmp(a, "--version") == 0) {
            standardOut() << info.name << " " << LUMEN_VERSION << Qt::endl;
            return 0;
        }
    }
    return -1;
}

} // namespace lumen
