#include "sequa/core/files/FileDeletion.h"

#include "sequa/core/files/LocalFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace lumen::sequa {

namespace {

// The file systems of Windows and macOS ignore letter case by default; others keep it.
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseSensitive;
#endif

bool isWildcard(QChar c)
{
    return c == u'*' || c == u'?';
}

} // namespace

bool FileDeletion::matches(const QString &pattern, const QString &name, Qt::CaseSensitivity cs)
{
    if (pattern == QLatin1String("*.*"))
        return true;
    // Iterative match with one back-tracking point per "*": linear in practice.
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == u'?' ||
                    QStringView(pattern).mid(p, 1).compare(QStringView(name).mid(n, 1), cs) == 0)) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

int FileDeletion::deleteMatching(const QString &folder, const QString &path)
{
    const QString full = LocalFiles::resolve(folder, path);
    const QFileInfo info(full);
    const QString pattern = info.fileName();
    if (std::none_of(pattern.begin(), pattern.end(), isWildcard)) {
        // Exactly the file named: the file system alone decides about case.
        if (!info.isFile())
            return 0;
        return QFile::remove(full) ? 1 : 0;
    }
    const bool hiddenToo = pattern.startsWith(u'.');
    QDir dir = info.dir();
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    int deleted = 0;
    for (const QString &name : dir.entryList()) {
        if (name.startsWith(u'.') && !hiddenToo)
            continue;
        if (matches(pattern, name, kFileNameCase))
            deleted += QFile::remove(dir.filePath(name)) ? 1 : 0;
    }
    return deleted;
}

} // namespace lumen::sequa
