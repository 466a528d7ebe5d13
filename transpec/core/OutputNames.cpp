#include "transpec/core/OutputNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace lumen::transpec {

namespace {
// The path with its folder resolved through links; the name itself as given.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + u'/' +
                           info.fileName());
}
} // namespace

QString OutputNames::batchName(const QString &inputName)
{
    const qsizetype dot = inputName.lastIndexOf(u'.');
    return dot >= 0 ? inputName.left(dot + 1) + QStringLiteral("Ans")
                    : inputName + QStringLiteral(".Ans");
}

bool OutputNames::sameFile(const QString &a, const QString &b)
{
    if (resolved(a) == resolved(b))
        return true;
    std::error_code error;
    const bool same = std::filesystem::equivalent(
        std::filesystem::path(QFile::encodeName(a).toStdString()),
        std::filesystem::path(QFile::encodeName(b).toStdString()), error);
    return !error && same;
}

QString OutputNames::refusal(const QString &input, const QString &target,
                             const QStringList &inputs) const
{
    for (const QString &other : inputs) {
        if (sameFile(target, other))
            return input + QStringLiteral(": the output ") + target +
                   QStringLiteral(" is the input ") + other + QStringLiteral(", nothing written");
    }
    for (const auto &[earlier, output] : m_written) {
        if (sameFile(target, output))
            return input + QStringLiteral(": the output ") + target +
                   QStringLiteral(" was already written from ") + earlier +
                   QStringLiteral(", nothing written");
    }
    return QString();
}

void OutputNames::add(const QString &input, const QString &target)
{
    m_written.append({input, target});
}

} // namespace lumen::transpec
