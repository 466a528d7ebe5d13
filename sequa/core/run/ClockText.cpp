#include "sequa/core/run/ClockText.h"

#include <cmath>

namespace lumen::sequa {

QString clockText(double seconds)
{
    const qint64 whole = qint64(std::llround(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace lumen::sequa
