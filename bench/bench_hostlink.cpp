// The cost of one host call in process and over the loopback transport.
#include "hostlink/TcpHostClient.h"
#include "simhost/HostServer.h"
#include "simhost/SimulatedHost.h"

#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

using namespace lumen;

namespace {

SimulatedHostSettings settings(const QTemporaryDir &dir)
{
    SimulatedHostSettings s;
    s.seed = 1;
    s.manualClock = true;
    s.reportPath = dir.filePath(QStringLiteral("RESULTS.TXT"));
    return s;
}

class ServedHost : public QThread
{
public:
    explicit ServedHost(SimulatedHostSettings s) : m_settings(std::move(s)) {}
    ~ServedHost() override
    {
        quit();
        wait();
    }
    quint16 serve()
    {
        start();
        m_ready.acquire();
        return m_port;
    }

protected:
    void run() override
    {
        HostServer server(std::make_shared<SimulatedHost>(m_settings));
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.port();
        m_ready.release();
        exec();
    }

private:
    SimulatedHostSettings m_settings;
    quint16 m_port = 0;
    QSemaphore m_ready;
};

void InProcessCall(benchmark::State &state)
{
    QTemporaryDir dir;
    SimulatedHost host(settings(dir));
    for (auto _ : state)
        benchmark::DoNotOptimize(host.GetAcquireStatus());
}
BENCHMARK(InProcessCall);

void LoopbackCall(benchmark::State &state)
{
    QTemporaryDir dir;
    ServedHost served(settings(dir));
    TcpHostClient client(QStringLiteral("127.0.0.1"), served.serve(), 10000);
    for (auto _ : state)
        benchmark::DoNotOptimize(client.GetAcquireStatus());
}
BENCHMARK(LoopbackCall);

void InProcessGetCounts(benchmark::State &state)
{
    QTemporaryDir dir;
    SimulatedHost host(settings(dir));
    std::vector<std::int32_t> counts(16384);
    for (auto _ : state)
        host.GetCounts(counts);
}
BENCHMARK(InProcessGetCounts);

void LoopbackGetCounts(benchmark::State &state)
{
    QTemporaryDir dir;
    ServedHost served(settings(dir));
    TcpHostClient client(QStringLiteral("127.0.0.1"), served.serve(), 10000);
    std::vector<std::int32_t> counts(16384);
    for (auto _ : state)
        client.GetCounts(counts);
}
BENCHMARK(LoopbackGetCounts);

} // namespace
