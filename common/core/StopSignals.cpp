#include "common/core/StopSignals.h"

#include "common/core/StopFlag.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lumen {

#ifdef Q_OS_UNIX
namespace {

int g_pipe[2] = {-1, -1};
constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};
constexpr std::array<int, 2> kUserSignals = {SIGUSR1, SIGUSR2};

bool isUserSignal(int signo)
{
    return signo == SIGUSR1 || signo == SIGUSR2;
}

extern "C" void onStopSignal(int signo)
{
    if (signo == SIGTERM || signo == SIGINT || signo == SIGHUP)
        stopflag::raise(signo); // for the waits that run no events
    const char byte = static_cast<char>(signo);
    // write() is async-signal-safe; a full pipe already holds a stop.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

extern "C" void onUserSignalRaised(int signo)
{
    // Its own handler: what a stop signal's handler does beyond the pipe is not for these.
    const char byte = static_cast<char>(signo);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

} // namespace
#endif

StopSignals::StopSignals(Handler onSignal, Handler onUserSignal)
    : m_onSignal(std::move(onSignal)), m_onUserSignal(std::move(onUserSignal))
{
    stopflag::lower();
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    for (int fd : g_pipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC); // programs started by a script do not inherit it
    }
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[1], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { readPipe(); });
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : kSignals)
        ::sigaction(signo, &action, nullptr);
    if (m_onUserSignal) {
        action.sa_handler = onUserSignalRaised;
        for (int signo : kUserSignals)
            ::sigaction(signo, &action, nullptr);
    }
    // A reader of our output that goes away (`| head`) must not end a run
    // unjournaled: writes then fail with EPIPE instead. It stays ignored
    // after this object goes: the last words are flushed at the exit.
    ::signal(SIGPIPE, SIG_IGN);
#endif
}

StopSignals::~StopSignals()
{
#ifdef Q_OS_UNIX
    for (int signo : kSignals)
        ::signal(signo, SIG_DFL);
    if (m_onUserSignal) {
        for (int signo : kUserSignals)
            ::signal(signo, SIG_DFL);
    }
    m_notifier.reset();
    for (int &fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
#endif
    stopflag::lower();
}

QString StopSignals::signalName(int signo)
{
#ifdef Q_OS_UNIX
    switch (signo) {
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGABRT:
        return QStringLiteral("SIGABRT");
    case SIGKILL:
        return QStringLiteral("SIGKILL");
    case SIGSEGV:
        return QStringLiteral("SIGSEGV");
    case SIGPIPE:
        return QStringLiteral("SIGPIPE");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGUSR1:
        return QStringLiteral("SIGUSR1");
    case SIGUSR2:
        return QStringLiteral("SIGUSR2");
    default:
        break;
    }
#endif
    Q_UNUSED(signo)
    return QString();
}

void StopSignals::readPipe()
{
#ifdef Q_OS_UNIX
    char byte = 0;
    while (::read(g_pipe[1], &byte, 1) == 1) {
        const int signo = static_cast<unsigned char>(byte);
        const QString name = signalName(signo);
        const Handler &handler = isUserSignal(signo) ? m_onUserSignal : m_onSignal;
        handler(name.isEmpty() ? QStringLiteral("signal %1").arg(signo) : name);
    }
#endif
}

} // namespace lumen
