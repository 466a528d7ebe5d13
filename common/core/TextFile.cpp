#include "common/core/TextFile.h"

#include "common/core/Cp1252.h"
#include "common/core/OutsideFile.h"
#include "common/core/SafeFile.h"

namespace lumen::textfile {
namespace {

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toCp1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << text.mid(start, i - start);
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QStringList readLines(const QString &path)
{
    return splitLines(readAll(path));
}

QString readAll(const QString &path)
{
    return fromCp1252(outsidefile::read(path, outsidefile::kTextCap));
}

void writeLines(const QString &path, const QStringList &lines)
{
    safefile::replace(path, encodeLines(lines));
}

void appendLines(const QString &path, const QStringList &lines)
{
    safefile::append(path, encodeLines(lines));
}

void writeAll(const QString &path, const QString &text)
{
    safefile::replace(path, toCp1252(text));
}

} // namespace lumen::textfile
