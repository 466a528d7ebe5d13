#include "common/core/ScaledClock.h"
#include "common/core/EventPump.h"
#include "common/testsupport/FakeClock.h"

#include <gtest/gtest.h>

namespace lumen {
namespace {

TEST(ScaledClock, RunsItsFactorTimesTheSourceFromItsStartAndWaitsCostTheSourceTime)
{
    SystemClock system;
    EXPECT_DOUBLE_EQ(ScaledClock(system, QDateTime(), 600).speed(), 600.0);
    for (const double factor : {1.0, 600.0, 0.5}) {
        FakeClock source;
        const QDateTime start(QDate(2026, 3, 1), QTime(23, 59, 0));
        ScaledClock clock(source, start, factor);
        EXPECT_EQ(clock.speed(), 0.0) << "a manual source costs no real time to wait on";
        source.advance(1000);
        EXPECT_EQ(clock.now(), start.addMSecs(qint64(1000 * factor))) << factor;
        setCurrentClock(&clock);
        pumpEventsWhileWaiting();
        setCurrentClock(nullptr);
        EXPECT_EQ(clock.now(), start.addMSecs(qint64(1050 * factor)))
            << "the pump moved the source";
    }
}

} // namespace
} // namespace lumen
