#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace lumen {

/**
 * SIGTERM, SIGINT and SIGHUP turned into a call on the event loop. The
 * handler itself only writes one byte into a pipe (all it may safely do);
 * the pipe's notifier then calls `onSignal` with the signal's name between
 * two events, so a run can close out as it does on "No Connection", and a
 * server can end as asked. SIGPIPE is ignored from then on. Given a second
 * handler, SIGUSR1 and SIGUSR2 reach it the same way (a run's pause and
 * resume); without one they keep their default. One instance per process;
 * the handlers are put back when it goes.
 */
class StopSignals : public QObject
{
public:
    using Handler = std::function<void(const QString &signalName)>;

    explicit StopSignals(Handler onSignal, Handler onUserSignal = {});
    /** "SIGTERM", "SIGKILL", ... for the signals a run meets; empty for others. */
    static QString signalName(int signo);
    ~StopSignals() override;
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

private:
    void readPipe();

    Handler m_onSignal;
    Handler m_onUserSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace lumen
