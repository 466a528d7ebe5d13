#include "sequa/core/files/ValueFiles.h"

#include "common/core/Failure.h"
#include "common/core/TextFile.h"
#include "sequa/core/files/LineWriter.h"
#include "sequa/core/files/LocalFiles.h"

#include <QStringList>

namespace lumen::sequa {

QString ValueFiles::ReadValueFile(const QString &folder, const QString &name)
{
    const QStringList lines = textfile::readLines(LocalFiles::resolve(folder, name));
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines[i].isEmpty())
            continue;
        // The value is often a file name: a NUL would cut it into another name.
        if (lines[i].contains(QChar(u'\0')))
            throw Failure(
                QStringLiteral("The value file %1 holds a NUL character").arg(name.trimmed()));
        return lines[i];
    }
    return QString();
}

void ValueFiles::writeValueFile(const QString &folder, const QString &name, const QString &value)
{
    LineWriter writer(LocalFiles::resolve(folder, name), LineWriter::Mode::Replace);
    writer.writeLine(value);
    writer.close();
}

} // namespace lumen::sequa
