#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

namespace lumen::sequa {

/**
 * A text file written line by line: Windows-1252, each line ended by CR LF.
 * Lines written before a failure stay in the file; the file is closed when
 * the writer goes away, also when a failure ends the caller early.
 */
class LineWriter
{
public:
    enum class Mode
    {
        Replace,
        Append
    };

    /** Opens (creates) the file; Failure naming the path when it cannot. */
    LineWriter(const QString &path, Mode mode);
    ~LineWriter();
    LineWriter(const LineWriter &) = delete;
    LineWriter &operator=(const LineWriter &) = delete;

    /** Writes the text and CR LF; Failure when the file cannot take it. */
    void writeLine(const QString &text);
    /** Writes each text followed by CR LF, as one block; Failure when the file cannot take it. */
    void writeLines(const QStringList &texts);
    /** Flushes and closes; Failure when the data could not be written. */
    void close();

private:
    void writeBytes(const QByteArray &bytes);

    QFile m_file;
};

} // namespace lumen::sequa
