// Whole cost of the data-file commands against the simulated host: one
// GetCounts (16384 channels fetched in one call, the channel file written)
// and one LOGROIS 6 (24 host calls, six rows appended), beside a Beep as the
// cost of dispatch alone.
#include "MainModel.h"
#include "Operator.h"
#include "ScriptedOperator.h"
#include "SequaProgram.h"
#include "SimulatedHost.h"
#include "host/HostAppHandle.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace lumen;
using namespace lumen::sequa;

struct Bench
{
    ScriptedOperator op;
    QTemporaryDir folder;
    std::shared_ptr<SimulatedHost> host;
    std::unique_ptr<SequaProgram> program;

    Bench()
    {
        setCurrentOperator(&op);
        SimulatedHostSettings settings;
        settings.seed = 11;
        settings.manualClock = true;
        settings.channels = 16384;
        settings.dataFolder = folder.filePath(QStringLiteral("data"));
        host = std::make_shared<SimulatedHost>(settings);
        program = std::make_unique<SequaProgram>(
            [this](const QString &) { return std::make_unique<HostAppHandle>(host); });
        program->model().setProgramFolder(folder.path());
        program->model().setDoNow(true);
        program->model().createHostAppObject();

        QFile rois(folder.filePath(QStringLiteral("rois.txt")));
        if (rois.open(QIODevice::WriteOnly)) {
            for (int i = 0; i < 6; ++i)
                rois.write(QByteArray::number(1000 + 2000 * i) + ' ' +
                           QByteArray::number(1060 + 2000 * i) + "\r\n");
        }
        rois.close();
        dispatch(QStringLiteral("LoadROIs") + rois.fileName());
        dispatch(QStringLiteral("StartAcquire"));
        host->advanceClock(600);
        // Read after the count, as a script does once its preset is reached.
        dispatch(QStringLiteral("StopAcquire"));
    }
    ~Bench() { setCurrentOperator(nullptr); }

    QString dispatch(const QString &line)
    {
        QString copy = line;
        return program->runner().DispatchCommand(copy);
    }
};

void run(benchmark::State &state, const QString &line)
{
    Bench bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.dispatch(line));
    const QString reply = bench.dispatch(line);
    if (!reply.startsWith(QLatin1String("OK")))
        state.SkipWithError(reply.toStdString().c_str());
}

void BM_Beep(benchmark::State &state)
{
    run(state, QStringLiteral("Beep"));
}
void BM_GetCounts16384(benchmark::State &state)
{
    run(state, QStringLiteral("GetCounts"));
}
void BM_LogRois6(benchmark::State &state)
{
    run(state, QStringLiteral("LOGROIS 6"));
}

// The host's share of GetCounts: the one call that fills the buffer.
void BM_HostGetCountsOnly(benchmark::State &state)
{
    Bench bench;
    std::vector<std::int32_t> counts(16384, 0);
    for (auto _ : state) {
        bench.host->GetCounts(counts);
        benchmark::DoNotOptimize(counts.data());
    }
}

BENCHMARK(BM_Beep);
BENCHMARK(BM_HostGetCountsOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetCounts16384)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogRois6)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
