// Whole cost of the data-file commands against the simulated host: one
// GetCounts (16384 channels fetched in one call, the channel file written)
// and one LOGROIS 6 (24 host calls, six rows appended), beside a Beep as the
// cost of dispatch alone.
#include "bench/SequaOnSimulatedHost.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace lumen;
using namespace lumen::sequa;

struct Bench : SequaOnSimulatedHost
{
    Bench() : SequaOnSimulatedHost(11, 16384)
    {
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
