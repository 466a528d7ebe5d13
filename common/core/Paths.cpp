#include "common/core/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lumen {
namespace {
const QString kDesignRoot = QStringLiteral("C:\\Program Files\\Korlund\\Lumen");
}

QString programDirectory()
{
    // LUMEN_PROGRAM_DIR lets an installation keep its settings and data apart
    // from the executables.
    const QString chosen = qEnvironmentVariable("LUMEN_PROGRAM_DIR");
    if (!chosen.isEmpty())
        return chosen;
    if (!QCoreApplication::instance())
        return QDir::currentPath();
    const QString beside = QCoreApplication::applicationDirPath();
    // A system folder counts as read-only even for root, who could write it.
    const bool systemFolder = beside.startsWith(QLatin1String("/usr/")) ||
                              beside.startsWith(QLatin1String("/bin")) ||
                              beside.startsWith(QLatin1String("/sbin"));
    if (!systemFolder && QFileInfo(beside).isWritable())
        return beside;
    // Installed system-wide (/usr/bin): settings, value and data files go to
    // the per-user Lumen folder, shared by the suite's programs as the one
    // installation folder is on Windows.
    const QString root = lumenRoot();
    QDir().mkpath(root);
    return root;
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + QDir::separator() + name;
}

QString programFile(const QString &name)
{
    return joinPath(programDirectory(), name);
}

QString lumenRoot()
{
#ifdef Q_OS_WIN
    return kDesignRoot;
#else
    const QString env = qEnvironmentVariable("LUMEN_ROOT");
    if (!env.isEmpty())
        return env;
    return QDir::homePath() + QStringLiteral("/Lumen");
#endif
}

QString designPath(const QString &windowsPath)
{
#ifdef Q_OS_WIN
    return windowsPath;
#else
    if (windowsPath.startsWith(kDesignRoot, Qt::CaseInsensitive)) {
        QString tail = windowsPath.mid(kDesignRoot.size());
        tail.replace(u'\\', u'/');
        return lumenRoot() + tail;
    }
    return QDir::toNativeSeparators(windowsPath);
#endif
}

QString defaultReportPath()
{
    return designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\Temp\\RESULTS.TXT"));
}

bool hasFolder(const QString &name)
{
    return name.contains(u'\\') || name.contains(u'/') ||
           (name.size() >= 2 && name[1] == u':' && name[0].isLetter());
}

QString inProgramDirectory(const QString &name)
{
    return hasFolder(name) ? name : programFile(name);
}

} // namespace lumen
