#pragma once

#include "spectra/Spectrum.h"

#include <QMap>
#include <QString>

namespace lumen::transpec {

/**
 * The converter window's incoming boxes for a spectrum value: the texts by
 * box name. A field the value does not hold leaves its box out (empty).
 */
class SpectrumBoxes
{
public:
    static QMap<QString, QString> of(const Spectrum &spectrum);
};

} // namespace lumen::transpec
