#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

namespace lumen {

/**
 * Reads a spectrum table as CsvWriter writes it: the header line
 * "channel,counts" or "channel,energy (UNIT),counts", then one row per
 * channel numbered from 0. Anything else is refused with Failure naming the
 * line, so a table that reads is the table that was meant.
 */
class CsvReader
{
public:
    struct Table
    {
        std::vector<std::int32_t> counts;
        std::vector<double> energies; ///< one per channel, or none without an energy column
        QString energyUnit;
    };

    static Table read(QByteArrayView bytes);
};

} // namespace lumen
