#pragma once

#include "spectra/IncomingSpectrum.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

namespace lumen {

/**
 * Reads an N42 XML spectrum file of the 2011 or the 2006 schema (any
 * namespace or prefix). The first spectrum with channel data is read:
 * `ChannelData` (compression "None" or "CountedZeroes", by the 2011
 * `compressionCode` or the 2006 `Compression`), its live and real time
 * (`LiveTimeDuration`/`RealTimeDuration` or `LiveTime`/`RealTime`, ISO 8601
 * durations, the spectrum's own before its measurement's), its start
 * (`StartDateTime` or `StartTime`), the energy calibration its
 * `energyCalibrationReference` (2006: `CalibrationIDs`) names, else its own,
 * else the file's first, with its deviation pairs (2011 `EnergyValues` and
 * `EnergyDeviationValues`), and the remarks as descriptions (the spectrum's
 * own first). A namespace prefix the file uses but never declares is bound
 * to a namespace of its own, with a warning. Otherwise malformed XML, a file
 * without channel data, counts or run lengths that are no whole numbers and
 * durations that cannot be read are refused; further spectra are noted in
 * the value.
 */
class N42Reader
{
public:
    static IncomingSpectrum readFile(const QString &path, const std::function<void()> &pump = {});
    /** `path` is only used in the messages. */
    static IncomingSpectrum read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump = {});

    /** Seconds of an ISO 8601 duration such as "PT300.5S" or "P1DT2H"; nothing when malformed. */
    static std::optional<double> durationSeconds(const QString &text);
};

} // namespace lumen
