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
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    const QByteArrayView text = bytes.startsWith(kUtf8Bom)
                                    ? QByteArrayView(bytes).sliced(kUtf8Bom.size())
                                    : QByteArrayView(bytes);
    return textfile::splitLines(fromCp1252(text));
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
