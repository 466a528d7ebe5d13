// The script player's own cost per executed line: a loop of 9999 passes over
// cheap commands on the in-process simulated host, against the same lines
// run one by one through ExecuteCommandLine without the player (reading the
// play file, LoopEnd rewinds, event pumping and the line bookkeeping are the
// difference).
#include "bench/SequaOnSimulatedHost.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/play/ScriptPlayer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace lumen;
using namespace lumen::sequa;

constexpr int kPasses = 9999;
const QStringList kBody = {QStringLiteral("SetPrimary1"), QStringLiteral("GetElapsedReal")};

struct Bench : SequaOnSimulatedHost
{
    Bench() : SequaOnSimulatedHost(3, 1024) {}
};

QString loopScript()
{
    QStringList lines{QStringLiteral("DoNumPass %1").arg(kPasses), QStringLiteral("LoopBeg")};
    lines += kBody;
    lines.append(QStringLiteral("LoopEnd"));
    return lines.join(QStringLiteral("\r\n"));
}

// Lines the loop script executes: DoNumPass, LoopBeg, then body + LoopEnd per pass.
constexpr double executedLines()
{
    return 2.0 + double(kPasses) * 3.0;
}

void BM_PlayLoop9999(benchmark::State &state)
{
    Bench bench;
    const QString script = loopScript();
    for (auto _ : state) {
        const bool failed =
            ScriptPlayer(bench.program->model(), bench.program->runner()).PlayScript(script);
        if (failed || bench.program->model().statusText() != QStringLiteral("OK"))
            state.SkipWithError("the loop did not run cleanly");
    }
    state.counters["per_line"] =
        benchmark::Counter(executedLines() * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlayLoop9999)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same commands without the player: what executing the lines costs alone.
void BM_ExecuteSameLinesDirectly(benchmark::State &state)
{
    Bench bench;
    MainModel &model = bench.program->model();
    CommandRunner &runner = bench.program->runner();
    model.setPlaying(true); // as during a run: the command frames are left alone
    for (auto _ : state) {
        runner.ExecuteCommandLine(QStringLiteral("DoNumPass 9999"), false);
        for (int pass = 0; pass < kPasses; ++pass) {
            for (const QString &line : kBody)
                runner.ExecuteCommandLine(line, false);
        }
    }
    model.setPlaying(false);
    state.counters["per_line"] =
        benchmark::Counter(double(1 + kPasses * kBody.size()) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ExecuteSameLinesDirectly)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
