#include "common/core/Platform.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

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

namespace {
// Without XDG_RUNTIME_DIR (cron, ssh, a service) Qt picks a folder of its own
// and says so on stderr, which a scheduler takes for a fault. The same kind
// of private folder is given here, quietly; one that is not ours alone is
// left to Qt, whose warning is then deserved.
void provideRuntimeFolder()
{
#ifdef Q_OS_UNIX
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray folder =
        QFile::encodeName(QDir::tempPath()) + "/runtime-lumen-" + QByteArray::number(::getuid());
    ::mkdir(folder.constData(), 0700);
    struct stat st
    {
    };
    if (::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
        (st.st_mode & 0777) == 0700)
        qputenv("XDG_RUNTIME_DIR", folder);
#endif
}
} // namespace

void selectPlatformForDisplay()
{
    provideRuntimeFolder();
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
