// Whole-program timings of Sequa --check: the example sample batch (three
// samples, answered from the demo's answers) and a 9999-pass loop of 10-second
// acquisitions, each interleaved with Sequa --version so both see the same
// machine load. The "ratio" counter is --check's time over --version's; the
// "estimate_h" counter is the run time the check printed, in hours.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Timed
{
    double seconds = -1;
    QString out;
};

/** Runs Sequa with the arguments; a status of 0 or 1 (findings) counts as a run. */
Timed runSequa(const QStringList &args)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(SEQUA_EXE), args);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() > 1)
        return {};
    return {timer.nsecsElapsed() / 1e9, QString::fromLocal8Bit(process.readAllStandardOutput())};
}

double estimateHours(const QString &out)
{
    static const QRegularExpression pattern(
        QStringLiteral("estimated run time (\\d+):(\\d+):(\\d+)"));
    const QRegularExpressionMatch m = pattern.match(out);
    return m.hasMatch() ? m.captured(1).toDouble() + m.captured(2).toDouble() / 60 +
                              m.captured(3).toDouble() / 3600
                        : -1;
}

void checkAgainstVersion(benchmark::State &state, const QString &script)
{
    double checkTotal = 0;
    double versionTotal = 0;
    double hours = 0;
    for (auto _ : state) {
        const Timed version = runSequa({QStringLiteral("--version")});
        const Timed check = runSequa({QStringLiteral("--check"), script});
        if (version.seconds < 0 || check.seconds < 0) {
            state.SkipWithError("Sequa failed");
            return;
        }
        versionTotal += version.seconds;
        checkTotal += check.seconds;
        hours = estimateHours(check.out);
        state.SetIterationTime(check.seconds);
    }
    state.counters["version_ms"] = versionTotal * 1000.0 / double(state.iterations());
    state.counters["ratio"] = versionTotal > 0 ? checkTotal / versionTotal : 0;
    state.counters["estimate_h"] = hours;
}

void BM_SequaVersion(benchmark::State &state)
{
    for (auto _ : state)
        state.SetIterationTime(runSequa({QStringLiteral("--version")}).seconds);
}

void BM_CheckSampleBatch(benchmark::State &state)
{
    qputenv("LUMEN_ANSWERS", LUMEN_EXAMPLES_DIR "/demo_answers.txt");
    checkAgainstVersion(state, QStringLiteral(LUMEN_EXAMPLES_DIR "/sample_batch.lsf"));
    qunsetenv("LUMEN_ANSWERS");
}

void BM_CheckLoop9999(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("loop9999.lsf"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("ConnectLMN\r\nPresetsOff\r\nSetRealPreset 10\r\nPresetsOn\r\n"
                   "DoNumPass 9999\r\nLoopBeg\r\nEraseSpectrum\r\nStartAcquire\r\nWaitPreset\r\n"
                   "AutoSaveSpcLOOP\r\nLoopEnd\r\n") <= 0) {
        state.SkipWithError("cannot write the script");
        return;
    }
    file.close();
    checkAgainstVersion(state, script);
}

BENCHMARK(BM_SequaVersion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CheckSampleBatch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CheckLoop9999)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
