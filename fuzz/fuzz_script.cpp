// The player's reading of a script file on arbitrary bytes: every line comes
// out once, a rewind gives the same lines again, and nothing is read past
// the end of the file.
#include "sequa/core/run/PlayFileReader.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

namespace {

QStringList readAll(lumen::sequa::PlayFileReader &reader, qsizetype limit)
{
    QStringList lines;
    while (!reader.atEnd()) {
        lines.append(reader.readLine());
        if (lines.size() > limit) // a line ends at CR or LF: never more lines than bytes + 1
            __builtin_trap();
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QTemporaryFile file;
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char *>(data), qsizetype(size));
    file.close();

    lumen::sequa::PlayFileReader reader;
    reader.open(file.fileName());
    const QStringList first = readAll(reader, qsizetype(size) + 1);
    reader.rewind();
    if (readAll(reader, qsizetype(size) + 1) != first)
        __builtin_trap();
    qsizetype characters = 0;
    for (const QString &line : first)
        characters += line.size();
    if (characters > qsizetype(size))
        __builtin_trap();
    return 0;
}
