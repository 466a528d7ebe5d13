// createTrialHost: the other place that chooses a host, one that only a trial play talks to.
#include "sequa/core/check/TrialHost.h"

#include "common/core/Paths.h"
#include "simhost/SimulatedHost.h"

#include <QDir>

namespace lumen::sequa {

namespace {
constexpr std::uint64_t kSeed = 16;
constexpr int kChannels = 128; // the play needs times, not fine spectra; fewer channels, less work

QString madeFolder(const QString &folder, const QString &name)
{
    const QString path = joinPath(folder, name);
    QDir().mkpath(path);
    return path;
}
} // namespace

std::shared_ptr<HostApp> createTrialHost(const QString &folder)
{
    SimulatedHostSettings settings;
    settings.seed = kSeed;
    settings.channels = kChannels;
    settings.dataFolder = madeFolder(folder, QStringLiteral("data"));
    settings.printFolder = madeFolder(folder, QStringLiteral("print"));
    settings.reportPath =
        joinPath(madeFolder(folder, QStringLiteral("Temp")), QStringLiteral("RESULTS.TXT"));
    settings.confineToDataFolder = true;
    return std::make_shared<SimulatedHost>(settings);
}

} // namespace lumen::sequa
