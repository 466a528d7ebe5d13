#pragma once

#include "spectra/ChannelStore.h"
#include "spectra/IncomingSpectrum.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace lumen {

/**
 * Reads an IAEA SPE text spectrum: sections opened by "$NAME:" lines.
 * $SPEC_ID (the description), $SPEC_REM (its first line the second
 * description line), $DATE_MEA (mm/dd/yyyy hh:mm:ss), $MEAS_TIM (live and
 * real seconds), $DATA (first and last channel, then the counts), $MCA_CAL
 * (a count of coefficients, then the coefficients and their unit) or else
 * $ENER_FIT (offset and slope). Fills the same incoming boxes as the binary
 * readers. A file without $DATA, with a count that is no whole number or
 * with fewer counts than its channel range is refused; what the ANS header
 * cannot carry (further remarks, other sections, a calibration beyond C(3)
 * or not in keV) is named in the warnings.
 */
class SpeReader
{
public:
    static IncomingSpectrum readFile(const QString &path, ChannelStore &store,
                                     const std::function<void()> &pump = {});
    /** `path` is only used in the messages. */
    static IncomingSpectrum read(QByteArrayView bytes, const QString &path, ChannelStore &store,
                                 const std::function<void()> &pump = {});
};

} // namespace lumen
