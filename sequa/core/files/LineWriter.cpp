#include "sequa/core/files/LineWriter.h"

#include "common/core/TextFile.h"

namespace lumen::sequa {

LineWriter::LineWriter(const QString &path, Mode mode) : m_path(path), m_mode(mode) {}

void LineWriter::writeLine(const QString &text)
{
    m_lines.append(text);
}

void LineWriter::writeLines(const QStringList &texts)
{
    m_lines.append(texts);
}

void LineWriter::close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_mode == Mode::Append)
        textfile::appendLines(m_path, m_lines);
    else
        textfile::writeLines(m_path, m_lines);
}

} // namespace lumen::sequa
