// Whole-program timings: Driftlog --version and one Driftlog GAIN run, each
// interleaved with a bare Qt program so both see the same machine load.
// The "ratio" counter is Driftlog's time over the bare program's. Driftlog
// links the widget libraries, as every program of the suite does; its command
// words only build no window, so the ratio is mostly the loading of those
// libraries. Rerun: build/bench/bench_driftlog
#include "driftlog/core/StabSettings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

/** Seconds from spawning the program to reaping it. */
double runSeconds(const QByteArray &program, const std::vector<QByteArray> &args)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.constData()));
    for (const QByteArray &a : args)
        argv.push_back(const_cast<char *>(a.constData()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    const bool started =
        posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ) == 0;
    if (started)
        waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!started || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(end - start).count();
}

void timeAgainstBare(benchmark::State &state, const QByteArray &program,
                     const std::vector<QByteArray> &args)
{
    const QByteArray bare = BARE_QT_EXE;
    double programTotal = 0;
    double bareTotal = 0;
    for (auto _ : state) {
        const double b = runSeconds(bare, {});
        const double p = runSeconds(program, args);
        if (b < 0 || p < 0) {
            state.SkipWithError("a program failed");
            return;
        }
        bareTotal += b;
        programTotal += p;
        state.SetIterationTime(p);
    }
    state.counters["bare_ms"] = bareTotal * 1000.0 / double(state.iterations());
    state.counters["ratio"] = bareTotal > 0 ? programTotal / bareTotal : 0;
}

void BM_BareQt(benchmark::State &state)
{
    for (auto _ : state)
        state.SetIterationTime(runSeconds(BARE_QT_EXE, {}));
}

void BM_DriftlogVersion(benchmark::State &state)
{
    timeAgainstBare(state, DRIFTLOG_EXE, {"--version"});
}

void BM_DriftlogGain(benchmark::State &state)
{
    // Driftlog keeps its files beside itself, so it runs as a copy in a scratch folder.
    QTemporaryDir dir;
    const QString exe = dir.filePath("Driftlog");
    const QString report = dir.filePath("RESULTS.TXT");
    if (!QFile::copy(QStringLiteral(DRIFTLOG_EXE), exe)) {
        state.SkipWithError("cannot copy Driftlog");
        return;
    }
    QFile r(report);
    if (!r.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the report");
        return;
    }
    r.write("ID: Check source\r\n"
            "File: CHECK001.ANS      Date: 23-Jun-2001 12:00:00\r\n"
            "   1   1322.45  662.32    1.52      12644\r\n");
    r.close();
    lumen::driftlog::StabSettings s;
    s.reportPath = report;
    s.referenceCentre = 661.66f;
    s.referenceDate = QStringLiteral("22-Jun-2001");
    s.referenceTime = QStringLiteral("13:05:00");
    s.save(dir.filePath("STAB&FILE.DAT"));
    QFile log(dir.filePath("StabData.txt"));
    if (!log.open(QIODevice::WriteOnly) || log.write("0                  0\r\n") <= 0) {
        state.SkipWithError("cannot write the log");
        return;
    }
    log.close();
    // Every run appends one line: the measured run is the full read-append-save path.
    timeAgainstBare(state, QFile::encodeName(exe), {"GAIN"});
}

} // namespace

BENCHMARK(BM_BareQt)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DriftlogVersion)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DriftlogGain)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
