#include "sequa/core/recorder/ScriptFile.h"

#include "common/core/Cp1252.h"
#include "common/core/OutsideFile.h"
#include "common/core/TextFile.h"
#include "sequa/core/MainModel.h"

namespace lumen::sequa {

QByteArray ScriptFile::read(const QString &path)
{
    return outsidefile::read(path, outsidefile::kTextCap);
}

QStringList ScriptFile::lines(const QByteArray &bytes)
{
    // The mark is the file's own word that it is UTF-8; without it the
    // suite's code page holds, so "Boden \xDC-3" stays what the lab typed.
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(kUtf8Bom))
        return textfile::splitLines(
            QString::fromUtf8(QByteArrayView(bytes).sliced(kUtf8Bom.size())));
    return textfile::splitLines(fromCp1252(bytes));
}

ScriptFile::Boxed ScriptFile::intoBox(const QStringList &lines)
{
    Boxed boxed;
    for (const QString &line : lines) {
        if (boxed.text.size() >= MainModel::kScriptCapacity) {
            boxed.cut = true;
            break;
        }
        boxed.text += line + QStringLiteral("\r\n");
        ++boxed.linesTaken;
    }
    return boxed;
}

} // namespace lumen::sequa
