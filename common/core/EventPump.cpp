#include "common/core/EventPump.h"

#include "common/core/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace lumen {

void pumpEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    currentClock().pumped();
}

void pumpEventsWhileWaiting(int ms)
{
    Clock &clock = currentClock();
    const double speed = clock.speed();
    if (speed <= 0.0) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        clock.waited();
        return;
    }
    // `ms` is the clock's time: a clock faster than real time sleeps less of
    // it, but at least a millisecond, so no wait spins a core.
    const int realMs = std::max(1, int(std::lround(ms / speed)));
    if (QCoreApplication::instance() && QThread::currentThread() == qApp->thread()) {
        QEventLoop loop;
        QTimer::singleShot(realMs, &loop, &QEventLoop::quit);
        loop.exec();
    } else {
        QThread::msleep(realMs);
    }
    clock.pumped();
}

} // namespace lumen
