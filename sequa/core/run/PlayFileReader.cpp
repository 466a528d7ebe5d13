#include "sequa/core/run/PlayFileReader.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"

#include <algorithm>

namespace lumen::sequa {

namespace {
constexpr qint64 kChunkBytes = 64 * 1024;
}

PlayFileReader::PlayFileReader() = default;
PlayFileReader::~PlayFileReader() = default;

void PlayFileReader::open(const QString &path)
{
    close();
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw Failure(
            QStringLiteral("Cannot open play file %1: %2").arg(path, file->errorString()));
    m_path = path;
    m_file = std::move(file);
}

void PlayFileReader::rewind()
{
    if (m_path.isEmpty())
        throw Failure(QStringLiteral("Bad file name or number: no play file"));
    // Going back to the start of the open file reads the same as reopening it,
    // without a file open for every pass of a loop.
    if (m_file && m_file->seek(0)) {
        m_buffer.clear();
        m_position = 0;
        return;
    }
    const QString path = m_path;
    open(path);
}

void PlayFileReader::close()
{
    m_file.reset();
    m_buffer.clear();
    m_position = 0;
}

bool PlayFileReader::fill()
{
    if (!m_file)
        return false;
    const QByteArray chunk = m_file->read(kChunkBytes);
    if (chunk.isEmpty())
        return false; // the buffer and positions into it stay as they were
    m_buffer.remove(0, m_position);
    m_position = 0;
    m_buffer.append(chunk);
    return true;
}

bool PlayFileReader::atEnd()
{
    if (!m_file)
        return true;
    return m_position >= m_buffer.size() && !fill();
}

QString PlayFileReader::readLine()
{
    if (atEnd())
        throw Failure(QStringLiteral("Input past end of file"));
    for (;;) {
        const qsizetype cr = m_buffer.indexOf('\r', m_position);
        const qsizetype lf = m_buffer.indexOf('\n', m_position);
        qsizetype end = cr < 0 ? lf : (lf < 0 ? cr : std::min(cr, lf));
        if (end < 0) {
            // No line end in the buffer: read on, or take the rest as the last line.
            if (fill())
                continue;
            const QString line = fromCp1252(m_buffer.mid(m_position));
            m_position = m_buffer.size();
            return line;
        }
        // A CR that ends the buffer may still have its LF in the next chunk.
        if (m_buffer.at(end) == '\r' && end + 1 == m_buffer.size() && fill())
            continue;
        const QString line = fromCp1252(m_buffer.mid(m_position, end - m_position));
        qsizetype next = end + 1;
        if (m_buffer.at(end) == '\r' && next < m_buffer.size() && m_buffer.at(next) == '\n')
            ++next;
        m_position = next;
        return line;
    }
}

} // namespace lumen::sequa
