// Transpec: `--convert` of 1000 files of 16384 channels against copying the
// same files with cp in the same run (the I/O bound). The conversion does
// all it does for a user: each file flushed to the disk, read back, and its
// folder flushed before the file is reported; cp flushes nothing. Then the
// CPU time of opening a 16384-channel file in the window with its graph
// drawn, and one paint of that graph.
#include "common/core/ByteRecord.h"
#include "spectra/AnsHeader.h"
#include "transpec/core/ConvertModel.h"
#include "transpec/gui/ConvertWindow.h"
#include "transpec/gui/GraphWidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kFiles = 1000;
constexpr int kChannels = 16384;

QByteArray chnFile(int seed)
{
    lumen::ByteRecordWriter w(32 + 4 * kChannels + 512);
    w.putInt16(0, -1);
    w.putInt32(8, 30500);
    w.putInt32(12, 30000);
    w.putBytes(16, "22JUN011");
    w.putBytes(24, "1305");
    w.putInt16(30, std::int16_t(kChannels));
    for (int i = 0; i < kChannels; ++i)
        w.putInt32(32 + 4 * i, (i * 7919 + seed) % 5000);
    const int trailer = 32 + 4 * kChannels;
    w.putInt16(trailer, -102);
    w.putFloat(trailer + 8, 0.5f);
    w.putByte(trailer + 256, 6);
    w.putBytes(trailer + 257, "Sample");
    return w.bytes();
}

struct Corpus
{
    QTemporaryDir dir;
    QStringList files;
    Corpus()
    {
        QDir(dir.path()).mkdir(QStringLiteral("in"));
        for (int i = 0; i < kFiles; ++i) {
            const QString path =
                dir.filePath(QStringLiteral("in/S%1.CHN").arg(i, 4, 10, QLatin1Char('0')));
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(chnFile(i));
            files << path;
        }
    }
};

Corpus &corpus()
{
    static Corpus c;
    return c;
}

double runMs(const QString &program, const QStringList &args)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    p.waitForFinished(-1);
    return double(t.nsecsElapsed()) / 1e6;
}

void BM_ConvertVersusCp(benchmark::State &state)
{
    Corpus &c = corpus();
    const QString copyDir = c.dir.filePath(QStringLiteral("copy"));
    const QString ansDir = c.dir.filePath(QStringLiteral("ans"));
    QDir().mkpath(copyDir);
    QDir().mkpath(ansDir);
    double cpTotal = 0, convertTotal = 0;
    for (auto _ : state) {
        const double cp1 = runMs(QStringLiteral("cp"), c.files + QStringList{copyDir});
        const double convert = runMs(QStringLiteral(TRANSPEC_EXE),
                                     QStringList{QStringLiteral("--convert")} + c.files +
                                         QStringList{QStringLiteral("--out-dir"), ansDir});
        const double cp2 = runMs(QStringLiteral("cp"), c.files + QStringList{copyDir});
        cpTotal += (cp1 + cp2) / 2;
        convertTotal += convert;
        state.SetIterationTime(convert / 1000.0);
    }
    const double n = double(state.iterations());
    state.counters["cp_ms"] = cpTotal / n;
    state.counters["convert_ms"] = convertTotal / n;
    state.counters["ratio"] = convertTotal / cpTotal;
}
BENCHMARK(BM_ConvertVersusCp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenAndDrawInWindow(benchmark::State &state)
{
    const QString path = corpus().files.first();
    lumen::transpec::ConvertModel model;
    model.setPumpDuringReads(true);
    lumen::transpec::ConvertWindow window(model);
    window.resize(1000, 600);
    window.show();
    QImage image(window.graph()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        model.loadChosenFile(path);
        window.graph()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["lines"] = window.graph()->lineCount();
}
BENCHMARK(BM_OpenAndDrawInWindow)->Unit(benchmark::kMillisecond);

// One paint of the graph of 16384 channels at a full-screen width, linear
// (arg 0) and log (arg 1), with both axes: what a zoom or a resize costs.
void BM_DrawGraph16384(benchmark::State &state)
{
    lumen::transpec::ConvertModel model;
    model.loadChosenFile(corpus().files.first());
    lumen::transpec::GraphWidget graphWidget(model);
    lumen::transpec::GraphWidget *graph = &graphWidget;
    graph->refresh();
    graph->resize(1600, 600);
    graph->setLogScale(state.range(0) == 1);
    QImage image(graph->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        graph->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["bars"] = graph->lineCount();
}
BENCHMARK(BM_DrawGraph16384)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
