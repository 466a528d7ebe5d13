#pragma once

#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QStringList>

namespace lumen {

/**
 * What a spectrum reader hands back to the window: the texts of the incoming
 * boxes it filled (by box name), whether the type box is shown on red, the
 * messages for the operator in the order they arose, the doubts about the
 * data, and whether the whole file was read. On a failure the boxes filled so far are still there.
 */
class IncomingSpectrum
{
public:
    QMap<QString, QString> boxes;
    bool typeOnRed = false;
    QStringList messages;
    /**
     * Doubts about a file that was still read (data ending before the
     * declared channel count, an unknown file or data type, what the ANS
     * header cannot carry): the batch converter reports them.
     */
    QStringList warnings;
    bool loaded = false;

    /**
     * Text stored in a file as shown in a one-line box: Windows-1252, every
     * control character (NUL padding, CR, LF, TAB) shown as a blank.
     */
    static QString boxText(QByteArrayView stored);
};

} // namespace lumen
