#pragma once

#include "spectra/Spectrum.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace lumen {

/**
 * What a spectrum reader hands back: the spectrum as far as it was read, the
 * messages for the operator in the order they arose, the doubts about the
 * data, and whether the whole file was read. A refusal is the last message
 * and names the field or line that stopped the read.
 */
class IncomingSpectrum
{
public:
    Spectrum spectrum;
    QStringList messages;
    /**
     * Doubts about a file that was still read (data ending before the
     * declared channel count, an unknown file or data type, a date that
     * cannot be read): the batch converter reports them.
     */
    QStringList warnings;
    bool loaded = false;
    /**
     * The messages that only inform, in the window's own words (a channel
     * count below 256, the record type): a run without a window leaves them
     * out, and what they doubt stands in `warnings` or in the refusal.
     */
    QStringList notices;

    /** A message that only informs: shown in the window, left out elsewhere. */
    void inform(const QString &message)
    {
        messages << message;
        notices << message;
    }

    /**
     * Text stored in a fixed-width field as one line: Windows-1252, every
     * control character (NUL padding, CR, LF, TAB) shown as a blank.
     */
    static QString boxText(QByteArrayView stored);
};

} // namespace lumen
