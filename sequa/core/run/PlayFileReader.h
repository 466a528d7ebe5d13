#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

namespace lumen::sequa {

/**
 * The player's read handle on the temporary play file: one line at a time,
 * and reopening from the start when a loop rewinds. A closed reader is at
 * its end, so a player that lost its file simply finds no further line.
 */
class PlayFileReader
{
public:
    PlayFileReader();
    ~PlayFileReader();
    PlayFileReader(const PlayFileReader &) = delete;
    PlayFileReader &operator=(const PlayFileReader &) = delete;

    /** Opens the file for reading from its start (closing any open one); Failure when it cannot. */
    void open(const QString &path);
    /** Reads the same file again from its start (reopening it when closed); Failure when it cannot.
     */
    void rewind();
    void close();
    bool isOpen() const { return m_file != nullptr; }
    /** True when no further line can be read (always when closed). */
    bool atEnd();
    /**
     * The next line without its end: a line ends at CR (which may be followed
     * by LF) or at a lone LF. Failure when the reader is closed or past its end.
     */
    QString readLine();

private:
    bool fill();

    QString m_path;
    std::unique_ptr<QFile> m_file;
    QByteArray m_buffer;      ///< bytes read but not yet returned
    qsizetype m_position = 0; ///< first unread byte in m_buffer
};

} // namespace lumen::sequa
