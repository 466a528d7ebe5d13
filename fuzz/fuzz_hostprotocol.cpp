// Request lines as a host bridge receives them from the network, served on a
// host that does nothing but answer (no files are written whatever arrives),
// and ROI files as the simulated host loads them.
#include "hostlink/HostApp.h"
#include "hostlink/HostProtocol.h"
#include "hostsim/core/SimulatedHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

class AnsweringHost : public lumen::HostApp
{
public:
    QString ok() { return QStringLiteral("OK"); }
    QString testconnect() override { return ok(); }
    QString Minimize() override { return ok(); }
    QString Maximize() override { return ok(); }
    QString StartAcquire() override { return ok(); }
    QString StopAcquire() override { return ok(); }
    QString Erasespectrum() override { return ok(); }
    QString presetsoff() override { return ok(); }
    QString presetson() override { return ok(); }
    QString SetUseLibEff() override { return ok(); }
    QString ClearUseLibEff() override { return ok(); }
    QString GetAcquireStatus() override { return ok(); }
    QString GetElapsedReal() override { return ok(); }
    QString GetElapsedLive() override { return ok(); }
    std::int32_t NumberOfCounts() override { return 8192; }
    QString GetLibrary() override { return ok(); }
    QString GetUseLibEff() override { return ok(); }
    QString SetRealPreset(double &s) override
    {
        s += 1;
        return ok();
    }
    QString SetLivePreset(double &s) override
    {
        s += 1;
        return ok();
    }
    QString SetSpectrumID(QString &id) override
    {
        id += u'!';
        return ok();
    }
    QString SaveSpt(QString &) override { return ok(); }
    QString CopySpt(std::int16_t &d, std::int16_t &) override
    {
        d = 1;
        return ok();
    }
    void SampleQuantity(float) override {}
    QString SampleDate(QString &) override { return ok(); }
    QString SampleTime(QString &) override { return ok(); }
    QString SampleUnits(QString &) override { return ok(); }
    QString GetROIData(std::int16_t &, const QString &key) override { return ok() + key; }
    QString setprimary(std::int16_t &) override { return ok(); }
    QString ClsLoadROis(QString &) override { return ok(); }
    QString LoadConfig(QString &, QString &) override { return ok(); }
    QString Analyze(QString &) override { return ok(); }
    QString PrintRprt(QString &) override { return ok(); }
    QString SaveRprt(QString &, QString &) override { return ok(); }
    QString selectlibrary(QString &) override { return ok(); }
    QString GetExtInput(std::int16_t &) override { return ok(); }
    QString SetExtOutput(std::int16_t &, std::int16_t &) override { return ok(); }
    void GetCounts(std::vector<std::int32_t> &counts) override
    {
        std::fill(counts.begin(), counts.end(), 7);
    }
    double GetDeadtime() override { return 1.5; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static AnsweringHost answering;
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
    const QByteArray reply = lumen::HostProtocol::serve(answering, bytes);
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
