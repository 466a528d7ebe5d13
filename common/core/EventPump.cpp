#include "common/core/EventPump.h"

#include "common/core/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

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
    if (!dynamic_cast<SystemClock *>(&clock)) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        clock.waited();
        return;
    }
    if (QCoreApplication::instance() && QThread::currentThread() == qApp->thread()) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    } else {
        QThread::msleep(ms);
    }
    clock.pumped();
}

} // namespace lumen
