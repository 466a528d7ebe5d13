#include "sequa/core/play/RunFiles.h"

#include "common/core/Failure.h"
#include "common/core/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#endif

namespace lumen::sequa {

namespace {

bool processGone(qint64 pid)
{
#ifdef Q_OS_UNIX
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
#else
    Q_UNUSED(pid)
    return false; // cannot tell: keep the file
#endif
}

} // namespace

QString RunFiles::create(const QString &prefix, const QByteArray &content,
                         const QString &fallbackFolder)
{
    const QString name = prefix + QString::number(QCoreApplication::applicationPid()) +
                         QStringLiteral("-XXXXXX.tmp");
    QString lastError;
    for (const QString &folder : {QDir::tempPath(), fallbackFolder}) {
        QTemporaryFile file(joinPath(folder, name));
        file.setAutoRemove(false);
        if (!file.open()) {
            lastError = file.errorString();
            continue;
        }
        if (file.write(content) != content.size() || !file.flush()) {
            lastError = file.errorString();
            file.remove();
            continue;
        }
        file.close();
        return file.fileName();
    }
    throw Failure(QStringLiteral("Cannot create a temporary file: %1").arg(lastError));
}

int RunFiles::sweep(const QString &folder, const QString &prefix)
{
    const QDir dir(folder);
    int removed = 0;
    for (const QString &name : dir.entryList({prefix + QStringLiteral("*-*.tmp")}, QDir::Files)) {
        bool ok = false;
        const qint64 pid =
            name.mid(prefix.size(), name.indexOf(u'-') - prefix.size()).toLongLong(&ok);
        if (ok && pid != QCoreApplication::applicationPid() && processGone(pid) &&
            QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace lumen::sequa
