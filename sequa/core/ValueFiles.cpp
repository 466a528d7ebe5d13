#include "sequa/core/ValueFiles.h"

#include "common/core/TextFile.h"
#include "sequa/core/LineWriter.h"
#include "sequa/core/LocalFiles.h"

#include <QStringList>

namespace lumen::sequa {

QString ValueFiles::ReadValueFile(const QString &folder, const QString &name)
{
    const QStringList lines = textfile::readLines(LocalFiles::resolve(folder, name));
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (!lines[i].isEmpty())
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
