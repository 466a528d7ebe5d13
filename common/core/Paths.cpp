#include "common/core/Paths.h"

#include "common/core/Failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMutex>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lumen {
namespace {
const QString kDesignRoot = QStringLiteral("C:\\Program Files\\Korlund\\Lumen");

struct UnmadeFolder
{
    QString folder;
    QString failure;
};
QMutex g_unmadeLock;
QList<UnmadeFolder> g_unmade;
} // namespace

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
    try {
        makeFolder(root);
    } catch (const Failure &) {
        // Each file then fails with this reason (folderProblem), where it is used.
    }
    return root;
}

void makeFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (!error)
        return;
    const QString failure =
        QStringLiteral("Cannot create the folder %1: %2")
            .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(error.message()));
    {
        const QMutexLocker locker(&g_unmadeLock);
        const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        if (std::none_of(g_unmade.cbegin(), g_unmade.cend(),
                         [&](const UnmadeFolder &u) { return u.folder == folder; }))
            g_unmade.append({folder, failure});
    }
    throw Failure(failure);
}

QString folderProblem(const QString &path)
{
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QMutexLocker locker(&g_unmadeLock);
    for (const UnmadeFolder &unmade : g_unmade) {
        // The folder may exist by now: then its files say their own reasons.
        if (file.startsWith(unmade.folder + u'/') && !QFileInfo::exists(unmade.folder))
            return unmade.failure;
    }
    return QString();
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
