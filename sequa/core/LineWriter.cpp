#include "sequa/core/LineWriter.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"

namespace lumen::sequa {

LineWriter::LineWriter(const QString &path, Mode mode) : m_file(path)
{
    const QIODevice::OpenMode how = mode == Mode::Append
                                        ? QIODevice::WriteOnly | QIODevice::Append
                                        : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!m_file.open(how))
        throw Failure(QStringLiteral("Cannot open the file %1 for writing: %2")
                          .arg(path, m_file.errorString()));
}

LineWriter::~LineWriter()
{
    if (m_file.isOpen())
        m_file.close();
}

void LineWriter::writeLine(const QString &text)
{
    QByteArray bytes = toCp1252(text);
    bytes.append("\r\n", 2);
    writeBytes(bytes);
}

void LineWriter::writeLines(const QStringList &texts)
{
    QString block;
    for (const QString &text : texts)
        block += text + QStringLiteral("\r\n");
    writeBytes(toCp1252(block));
}

void LineWriter::writeBytes(const QByteArray &bytes)
{
    if (m_file.write(bytes) != bytes.size())
        throw Failure(QStringLiteral("Cannot write the file %1: %2")
                          .arg(m_file.fileName(), m_file.errorString()));
}

void LineWriter::close()
{
    if (!m_file.isOpen())
        return;
    const bool flushed = m_file.flush();
    m_file.close();
    if (!flushed)
        throw Failure(QStringLiteral("Cannot write the file %1: %2")
                          .arg(m_file.fileName(), m_file.errorString()));
}

} // namespace lumen::sequa
