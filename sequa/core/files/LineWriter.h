#pragma once

#include <QString>
#include <QStringList>

namespace lumen::sequa {

/**
 * A text file written line by line, by the one text file rule (textfile:
 * Windows-1252, each line ended by CR LF). The lines are gathered and reach
 * the file only at close(): a replaced file
 * is swapped whole for the new one, an appended file gets all the lines or
 * none. A writer that goes away without close(), because a failure ended its
 * caller early, leaves the file as it was.
 */
class LineWriter
{
public:
    enum class Mode
    {
        Replace,
        Append
    };

    LineWriter(const QString &path, Mode mode);
    LineWriter(const LineWriter &) = delete;
    LineWriter &operator=(const LineWriter &) = delete;

    void writeLine(const QString &text);
    /** Writes each text followed by CR LF. */
    void writeLines(const QStringList &texts);
    /** Writes the lines to the file; Failure with the system's reason when it cannot take them. */
    void close();

private:
    QString m_path;
    Mode m_mode;
    QStringList m_lines;
    bool m_closed = false;
};

} // namespace lumen::sequa
