#pragma once

#include "spectra/IncomingSpectrum.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace lumen {

/**
 * Reads an IAEA SPE text spectrum: sections opened by "$NAME:" lines.
 * $SPEC_ID (the description), $SPEC_REM (further description lines),
 * $DATE_MEA (mm/dd/yyyy hh:mm:ss, the time perhaps with AM/PM), $MEAS_TIM
 * (live and real seconds), $DATA (first and last channel, then the counts),
 * $MCA_CAL (a count of coefficients, then the coefficients and their unit)
 * or, when that is empty or all 0, $ENER_FIT (offset and slope). A leading
 * UTF-8 byte-order mark and any line ends (CR LF, LF, CR) are read. A file
 * without $DATA, with a count or channel that is no whole number or with
 * fewer coefficients than $MCA_CAL names is refused; counts that end before
 * the channel range does leave the rest 0, with a warning; other sections with content are noted in
 * the value, except the routine $ROI, $PRESETS and $SHAPE_CAL.
 */
class SpeReader
{
public:
    static IncomingSpectrum readFile(const QString &path, const std::function<void()> &pump = {});
    /** `path` is only used in the messages. */
    static IncomingSpectrum read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump = {});
};

} // namespace lumen
