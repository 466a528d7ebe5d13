#include "sequa/core/files/LocalFiles.h"

#include "common/core/Paths.h"

namespace lumen::sequa {

QString LocalFiles::resolve(const QString &folder, const QString &name)
{
    QString trimmed = name;
    while (trimmed.endsWith(u' '))
        trimmed.chop(1);
    return hasFolder(trimmed) ? nativeName(trimmed) : joinPath(folder, trimmed);
}

bool LocalFiles::hasFolder(const QString &name)
{
    return lumen::hasFolder(name);
}

QString LocalFiles::nativeName(const QString &name)
{
#ifdef Q_OS_WIN
    return name;
#else
    QString native = name;
    native.replace(u'\\', u'/');
    return native;
#endif
}

} // namespace lumen::sequa
