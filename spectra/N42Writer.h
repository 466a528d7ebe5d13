#pragma once

#include "spectra/Spectrum.h"
#include "spectra/SpectrumImage.h"

namespace lumen {

/**
 * Writes one spectrum as an N42 XML document of the 2011 schema: one
 * `RadMeasurement` with its `StartDateTime` (with the UTC offset) and
 * `RealTimeDuration`, one `Spectrum` with the descriptions as `Remark`s (the
 * ID first), its `LiveTimeDuration` and uncompressed `ChannelData`, and the
 * `EnergyCalibration` it refers to, in keV, with its deviation pairs
 * (`EnergyValues`, `EnergyDeviationValues`). Durations are ISO 8601
 * ("PT300.5S") with every digit of the value.
 *
 * Not carried, and so named in the losses: a start the value lacks, the sample date and quantity, a
 * negative or non-finite time, a calibration in a unit other than keV or
 * MeV, characters XML cannot hold in a description.
 */
class N42Writer
{
public:
    static SpectrumImage image(const Spectrum &spectrum);
};

} // namespace lumen
