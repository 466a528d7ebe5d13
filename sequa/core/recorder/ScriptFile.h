#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lumen::sequa {

/** A script file as Load and the unattended start read it into the script box. */
class ScriptFile
{
public:
    /** The script's text as the box holds it, and how much of the file it took. */
    struct Boxed
    {
        QString text;       ///< each line followed by CR LF
        int linesTaken = 0; ///< lines of the file in the box
        bool cut = false;   ///< lines after linesTaken were dropped: the box was full
    };

    /**
     * The file's bytes: a regular file of at most 16 MB, never waiting on a
     * FIFO or device. Failure naming the path otherwise.
     */
    static QByteArray read(const QString &path);
    /**
     * The lines of a script's bytes, with CR LF, CR or LF ends: UTF-8 after a
     * leading UTF-8 byte-order mark (the mark itself is no text), otherwise
     * Windows-1252. Bytes that are no UTF-8 become U+FFFD.
     */
    static QStringList lines(const QByteArray &bytes);
    /** The lines appended while the box holds fewer than 32000 characters. */
    static Boxed intoBox(const QStringList &lines);
};

} // namespace lumen::sequa
