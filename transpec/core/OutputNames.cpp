#include "transpec/core/OutputNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace lumen::transpec {

OutputNames::OutputNames(const QStringList &inputs)
{
    for (const QString &input : inputs) {
        for (const QString &id : identities(input))
            m_inputs.insert(id, input);
    }
}

QStringList OutputNames::identities(const QString &path)
{
    // The folder resolved through links; the name itself as given.
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    QStringList ids{QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + u'/' +
                                    info.fileName())};
    const QString target = info.canonicalFilePath(); // through a link to the file itself
    if (!target.isEmpty())
        ids << target;
#ifdef Q_OS_UNIX
    // A hard link shares only the inode.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        ids << QStringLiteral("inode:%1:%2").arg(st.st_dev).arg(st.st_ino);
#endif
    return ids;
}

QString OutputNames::batchName(const QString &inputName, const QString &extension)
{
    const qsizetype dot = inputName.lastIndexOf(u'.');
    return dot >= 0 ? inputName.left(dot + 1) + extension : inputName + u'.' + extension;
}

QString OutputNames::refusal(const QString &input, const QString &target) const
{
    for (const QString &id : identities(target)) {
        if (const auto it = m_inputs.constFind(id); it != m_inputs.cend())
            return input + QStringLiteral(": the output ") + target +
                   QStringLiteral(" is the input ") + it.value() +
                   QStringLiteral(", nothing written");
        if (const auto it = m_claimed.constFind(id); it != m_claimed.cend())
            return input + QStringLiteral(": the output ") + target +
                   QStringLiteral(" is already that of ") + it.value() +
                   QStringLiteral(", nothing written");
    }
    return QString();
}

void OutputNames::claim(const QString &input, const QString &target)
{
    for (const QString &id : identities(target))
        m_claimed.insert(id, input);
}

} // namespace lumen::transpec
