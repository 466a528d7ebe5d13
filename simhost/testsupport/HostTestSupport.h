#pragma once

#include "simhost/SimulatedHost.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace lumen::test {

/** A simulated host on a manual clock with a fixed seed, writing into `folder`. */
inline SimulatedHostSettings hostSettings(const QTemporaryDir &folder, std::uint64_t seed = 17)
{
    SimulatedHostSettings s;
    s.seed = seed;
    s.manualClock = true;
    s.start = QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9));
    s.reportPath = QDir(folder.path()).filePath(QStringLiteral("Temp/RESULTS.TXT"));
    s.dataFolder = QDir(folder.path()).filePath(QStringLiteral("Data"));
    s.printFolder = QDir(folder.path()).filePath(QStringLiteral("Print"));
    return s;
}

/** Acquires `liveSeconds` of live time on the primary memory, stepping the clock as a poller would.
 */
inline void acquireLive(SimulatedHost &host, double liveSeconds, double step = 37.0)
{
    double preset = liveSeconds;
    host.SetLivePreset(preset);
    host.StartAcquire();
    for (int guard = 0;
         guard < 100000 && host.GetAcquireStatus() != QLatin1String("Reached Preset"); ++guard)
        host.advanceClock(step);
}

} // namespace lumen::test
