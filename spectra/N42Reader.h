#pragma once

#include "spectra/ChannelStore.h"
#include "spectra/IncomingSpectrum.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

namespace lumen {

/**
 * Reads an N42 XML spectrum file holding one spectrum: `ChannelData`
 * (compressionCode "None" or "CountedZeroes"), `LiveTimeDuration` and
 * `RealTimeDuration` (ISO 8601 durations), `StartDateTime`, the
 * `CoefficientValues` of its `EnergyCalibration`, and the first `Remark` as
 * the description. Fills the same incoming boxes as the binary readers.
 * Malformed XML, a file without channel data or with counts that are no
 * whole numbers is refused; further spectra, remarks beyond two and a
 * calibration beyond C(3) are named in the warnings.
 */
class N42Reader
{
public:
    static IncomingSpectrum readFile(const QString &path, ChannelStore &store,
                                     const std::function<void()> &pump = {});
    /** `path` is only used in the messages. */
    static IncomingSpectrum read(QByteArrayView bytes, const QString &path, ChannelStore &store,
                                 const std::function<void()> &pump = {});

    /** Seconds of an ISO 8601 duration such as "PT300.5S" or "P1DT2H"; nothing when malformed. */
    static std::optional<double> durationSeconds(const QString &text);
};

} // namespace lumen
