// Request lines as a host bridge receives them from the network, served on a
// host that does nothing but answer (no files are written whatever arrives),
// and ROI files as the simulated host loads them.
#include "hostlink/HostProtocol.h"
#include "hostlink/testsupport/TestHost.h"
#include "simhost/SimulatedHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

/** A host that does nothing but answer, and forgets what it was asked. */
lumen::test::TestHost &answeringHost()
{
    static lumen::test::TestHost host = [] {
        lumen::test::TestHost h;
        h.channels = 8192;
        h.counts.assign(8192, 7);
        h.deadTime = 1.5;
        h.roiReply = [](std::int16_t, const QString &key) { return QStringLiteral("OK") + key; };
        return h;
    }();
    host.calls.clear();
    return host;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static lumen::SimulatedHost simulated([] {
        lumen::SimulatedHostSettings s;
        s.seed = 1;
        s.manualClock = true;
        s.reportPath = dir.filePath(QStringLiteral("RESULTS.TXT"));
        s.dataFolder = dir.path();
        return s;
    }());
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray reply = lumen::HostProtocol::serve(answeringHost(), bytes);
    if (!reply.endsWith('\n') || reply.count('\n') != 1)
        __builtin_trap();

    const QString path = dir.filePath(QStringLiteral("fuzz.roi"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
        file.close();
        QString name = path;
        const QString answer = simulated.ClsLoadROis(name);
        if (answer != QLatin1String("OK") && !answer.startsWith(QLatin1String("Error: ")))
            __builtin_trap();
        for (std::int16_t roi = 1; roi <= 3; ++roi) {
            std::int16_t n = roi;
            simulated.GetROIData(n, QStringLiteral("NET"));
        }
    }
    return 0;
}
