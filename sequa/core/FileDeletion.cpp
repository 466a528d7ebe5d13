#include "sequa/core/FileDeletion.h"

#include "sequa/core/LocalFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lumen::sequa {

int FileDeletion::deleteMatching(const QString &folder, const QString &path)
{
    const QString full = LocalFiles::resolve(folder, path);
    const QFileInfo info(full);
    QString pattern = info.fileName();
    if (!pattern.contains(u'*') && !pattern.contains(u'?')) {
        if (!info.isFile())
            return 0;
        return QFile::remove(full) ? 1 : 0;
    }
    if (pattern == QLatin1String("*.*"))
        pattern = QStringLiteral("*");
    QDir dir = info.dir();
    // File names match without regard to letter case, as on the system the scripts come from.
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    int deleted = 0;
    for (const QString &name : dir.entryList({pattern}))
        deleted += QFile::remove(dir.filePath(name)) ? 1 : 0;
    return deleted;
}

} // namespace lumen::sequa
