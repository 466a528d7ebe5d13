#include "sequa/core/files/LineWriter.h"

#include "common/core/Cp1252.h"
#include "common/core/SafeFile.h"

namespace lumen::sequa {

LineWriter::LineWriter(const QString &path, Mode mode) : m_path(path), m_mode(mode) {}

void LineWriter::writeLine(const QString &text)
{
    m_bytes += toCp1252(text);
    m_bytes.append("\r\n", 2);
}

void LineWriter::writeLines(const QStringList &texts)
{
    for (const QString &text : texts)
        writeLine(text);
}

void LineWriter::close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_mode == Mode::Append)
        safefile::append(m_path, m_bytes);
    else
        safefile::replace(m_path, m_bytes);
}

} // namespace lumen::sequa
