#include "spectra/IncomingSpectrum.h"

#include "common/core/Cp1252.h"

namespace lumen {

QString IncomingSpectrum::boxText(QByteArrayView stored)
{
    QString text = lumen::fromCp1252(stored);
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace lumen
