#pragma once

#include "spectra/Spectrum.h"

#include <QByteArray>
#include <QStringList>

namespace lumen {

/**
 * A spectrum file as a writer makes it: its bytes, the value as the file
 * carries it (what a reader of the file must find again), and what of the
 * value the format cannot carry, each a sentence a warning can quote.
 */
struct SpectrumImage
{
    QByteArray bytes;
    Spectrum carried;
    QStringList losses;
};

} // namespace lumen
