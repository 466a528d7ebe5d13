// Whole-program timing of the demo's sample batch (three samples, 600 s live
// presets, Ledgerly APPEND after each) on the simulated host at 600x, the way
// scripts/demo.sh plays it: Sequa and Ledgerly side by side in a scratch lab.
// LUMEN_BENCH_SEQUA_BEFORE names another Sequa executable (say, one built
// from an older commit) to time in the same run, interleaved, so both see the
// same machine load; "ratio" is the built Sequa's time over that one's.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

/** Seconds the batch took in a fresh lab with `sequa` beside Ledgerly; -1 when it failed. */
double playBatch(const QString &sequa)
{
    QTemporaryDir lab;
    const QString root = lab.filePath(QStringLiteral("Lumen"));
    if (!QFile::copy(sequa, lab.filePath(QStringLiteral("Sequa"))) ||
        !QFile::copy(QStringLiteral(LEDGERLY_EXE), lab.filePath(QStringLiteral("Ledgerly"))) ||
        !QDir().mkpath(root + QStringLiteral("/Temp")) ||
        !QDir().mkpath(root + QStringLiteral("/Data")))
        return -1;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMEN_ROOT"), root);
    env.insert(QStringLiteral("LUMEN_HOST"), QStringLiteral("sim"));
    env.insert(QStringLiteral("LUMEN_HOST_SPEED"), QStringLiteral("600"));
    env.insert(QStringLiteral("LUMEN_HOST_SEED"), QStringLiteral("1"));
    env.insert(QStringLiteral("LUMEN_ANSWERS"),
               QStringLiteral(LUMEN_EXAMPLES_DIR "/demo_answers.txt"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(lab.path());
    QElapsedTimer timer;
    timer.start();
    process.start(lab.filePath(QStringLiteral("Sequa")),
                  {QStringLiteral(LUMEN_EXAMPLES_DIR "/sample_batch.lsf")});
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

void BM_DemoBatch(benchmark::State &state)
{
    const QString before = qEnvironmentVariable("LUMEN_BENCH_SEQUA_BEFORE");
    double nowTotal = 0;
    double beforeTotal = 0;
    for (auto _ : state) {
        const double beforeSeconds = before.isEmpty() ? 0 : playBatch(before);
        const double seconds = playBatch(QStringLiteral(SEQUA_EXE));
        if (seconds < 0 || beforeSeconds < 0) {
            state.SkipWithError("the batch failed");
            return;
        }
        nowTotal += seconds;
        beforeTotal += beforeSeconds;
        state.SetIterationTime(seconds);
    }
    if (!before.isEmpty()) {
        state.counters["before_s"] = beforeTotal / double(state.iterations());
        state.counters["ratio"] = nowTotal / beforeTotal;
    }
}

BENCHMARK(BM_DemoBatch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
