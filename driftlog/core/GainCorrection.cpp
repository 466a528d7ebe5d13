#include "driftlog/core/GainCorrection.h"

#include <algorithm>
#include <cmath>

namespace lumen::driftlog {

GainCorrection GainCorrection::of(float reference, double measured)
{
    GainCorrection c;
    c.factor = measured > 0.0 ? double(reference) / measured : 0.0;
    c.shiftKeV = double(reference) - measured;
    return c;
}

QString GainCorrection::sixDigits(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return QString::number(value);
    // Rounded first, so that 9.9999996 counts its digits as 10.0000.
    const double rounded = QString::number(value, 'e', 5).toDouble();
    const int exponent = int(std::floor(std::log10(std::fabs(rounded))));
    return QString::number(rounded, 'f', std::max(0, 5 - exponent));
}

QString GainCorrection::factorText() const
{
    return sixDigits(factor);
}

QString GainCorrection::text() const
{
    return QStringLiteral("correction: gain x %1 or energy shift %2%3 keV")
        .arg(factorText(), shiftKeV > 0.0 ? QStringLiteral("+") : QString(), sixDigits(shiftKeV));
}

} // namespace lumen::driftlog
