#pragma once

#include "common/core/ManualClock.h"

namespace lumen {

/** The clock of tests: a ManualClock at a fixed moment, 50 ms on every pump. */
class FakeClock : public ManualClock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 1, 15), QTime(10, 0, 0)),
                       int stepMs = 50)
        : ManualClock(std::move(start), stepMs)
    {
    }
};

} // namespace lumen
