#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace lumen::test {

/** Bytes of a file, or an empty array when it cannot be read. */
inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/** Writes bytes to a file, replacing it. */
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

/** Path of a sample report in the shared samples folder. */
inline QString samplePath(const QString &name)
{
    return QDir(QStringLiteral(LUMEN_SAMPLES_DIR)).filePath(name);
}

} // namespace lumen::test
