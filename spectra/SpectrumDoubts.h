#pragma once

#include "spectra/Spectrum.h"

#include <QStringList>

namespace lumen {

/**
 * Doubts about a spectrum's values that every written format shares: a live
 * or real time that is missing, negative or not finite, a real time below
 * the live time, negative counts.
 */
class SpectrumDoubts
{
public:
    static QStringList of(const Spectrum &spectrum);

    /**
     * The sentence for deviation pairs that a file of `format` cannot carry
     * (it keeps the polynomial alone); empty when the spectrum has none.
     */
    static QString deviationPairsLost(const Spectrum &spectrum, const QString &format);
};

} // namespace lumen
