#pragma once

#include "simhost/HostFaults.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace lumen {

/** How a simulated host is set up; fromEnvironment() reads the LUMEN_HOST_* variables. */
struct SimulatedHostSettings
{
    std::optional<std::uint64_t> seed; ///< nothing: a fresh seed each run
    double speed = 1.0;                ///< host seconds per second of the suite's clock
    bool manualClock = false;          ///< the host clock moves only by advanceClock()
    QDateTime start;                   ///< host clock at creation; invalid = now
    int channels = 8192;               ///< 1..16384
    QString reportPath;                ///< empty: the design default report path
    QString dataFolder;                ///< where names without a folder are saved
    QString printFolder;               ///< where PrintRprt writes
    bool confineToDataFolder = false;  ///< names with a folder are saved in dataFolder too
    HostFaults faults;

    /**
     * LUMEN_HOST_SEED, LUMEN_HOST_SPEED, LUMEN_HOST_CHANNELS,
     * LUMEN_HOST_START (YYYY-MM-DD HH:MM:SS, a local time read by
     * localDateTime(), or with its offset from UTC) and LUMEN_HOST_FAULTS.
     * Throws Failure on a value it cannot read.
     */
    static SimulatedHostSettings fromEnvironment();
};

} // namespace lumen
