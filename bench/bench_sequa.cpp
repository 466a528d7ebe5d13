// Command dispatch cost: a line found early in the keyword table, one found
// late, and one that matches no row and so walks the whole table.
#include "common/core/Clock.h"
#include "common/core/Operator.h"
#include "common/testsupport/ScriptedOperator.h"
#include "hostlink/testsupport/TestHost.h"
#include "sequa/core/SequaProgram.h"

#include <benchmark/benchmark.h>

namespace {

using namespace lumen;
using namespace lumen::sequa;

void dispatch(benchmark::State &state, const QString &line)
{
    ScriptedOperator op;
    setCurrentOperator(&op);
    auto host = std::make_shared<lumen::test::SharedHostState>();
    SequaProgram program([host](const QString &) { return lumen::test::sharingTestHost(host); });
    program.model().setDoNow(true);
    program.model().createHostAppObject();
    for (auto _ : state) {
        QString copy = line;
        benchmark::DoNotOptimize(program.runner().DispatchCommand(copy));
        host->calls.clear();
    }
    setCurrentOperator(nullptr);
}

void BM_DispatchEarlyRow(benchmark::State &state)
{
    dispatch(state, QStringLiteral("  Beep  "));
}
void BM_DispatchLateRow(benchmark::State &state)
{
    dispatch(state, QStringLiteral("SetPrimary2"));
}
void BM_DispatchNoRow(benchmark::State &state)
{
    dispatch(state, QStringLiteral("NoSuchCommand 12,34"));
}

BENCHMARK(BM_DispatchEarlyRow);
BENCHMARK(BM_DispatchLateRow);
BENCHMARK(BM_DispatchNoRow);

} // namespace
