#include "common/core/TextFile.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"

#include <QFile>
#include <QSaveFile>

namespace lumen::textfile {
namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.exists())
        throw Failure(QStringLiteral("File not found: ") + path);
    if (!f.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open ") + path + QStringLiteral(": ") +
                      f.errorString());
    return f.readAll();
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toCp1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

void writeBytes(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode)
{
    QFile f(path);
    if (!f.open(mode))
        throw Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") +
                      f.errorString());
    if (f.write(bytes) != bytes.size() || !f.flush())
        throw Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") +
                      f.errorString());
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
    return fromCp1252(readBytes(path));
}

void writeLines(const QString &path, const QStringList &lines)
{
    writeBytes(path, encodeLines(lines), QIODevice::WriteOnly | QIODevice::Truncate);
}

void appendLines(const QString &path, const QStringList &lines)
{
    writeBytes(path, encodeLines(lines), QIODevice::WriteOnly | QIODevice::Append);
}

void writeAll(const QString &path, const QString &text)
{
    writeBytes(path, toCp1252(text), QIODevice::WriteOnly | QIODevice::Truncate);
}

} // namespace lumen::textfile
