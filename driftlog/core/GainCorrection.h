#pragma once

#include <QString>

namespace lumen::driftlog {

/** What brings the check-source peak back to the reference: a gain factor or an energy shift. */
struct GainCorrection
{
    double factor = 1.0;   ///< reference centre / measured centre
    double shiftKeV = 0.0; ///< reference centre - measured centre

    /** Nothing sensible for a measured centre of 0 or less: the factor is then 0. */
    static GainCorrection of(float reference, double measured);

    /** The factor with six significant digits, e.g. "0.999003". */
    QString factorText() const;
    /** "correction: gain x 0.999003 or energy shift -0.66 keV". */
    QString text() const;

    /** `value` with six significant digits, trailing zeros kept ("1.00000"). */
    static QString sixDigits(double value);
};

} // namespace lumen::driftlog
