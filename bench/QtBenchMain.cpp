// The main of every benchmark that needs no window: Qt's event loop object
// exists (the player and the host link pump events), then Google Benchmark
// runs. A benchmark that needs widgets defines its own main.
#include <QCoreApplication>
#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
