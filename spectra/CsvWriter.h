#pragma once

#include "spectra/Spectrum.h"
#include "spectra/SpectrumImage.h"

#include <QString>

namespace lumen {

/**
 * Writes a spectrum as comma-separated text after RFC 4180 (CR LF line ends,
 * a header line): one row per channel with the channel number, its energy
 * where the spectrum is calibrated, and its counts. Energies have every
 * digit of the calibration's value. A CSV file carries nothing else: the
 * times, dates, descriptions and sample size of the spectrum are named in
 * the losses.
 */
class CsvWriter
{
public:
    static const QString kChannelColumn; ///< "channel"
    static const QString kCountsColumn;  ///< "counts"
    /** "energy (keV)" for the unit keV. */
    static QString energyColumn(const QString &unit);

    static SpectrumImage image(const Spectrum &spectrum);
};

} // namespace lumen
