#pragma once

#include "common/core/Failure.h"

#include <QByteArray>
#include <QString>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumen::test {

/**
 * Runs `step` in a child process whose files may not grow past `limit`
 * bytes, as on a full disk; gives the failure's description ("" when the
 * step did not fail).
 */
inline QString underSizeLimit(rlim_t limit, const std::function<void()> &step)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("pipe failed");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        QByteArray said;
        try {
            step();
        } catch (const Failure &f) {
            said = f.description().toUtf8();
        }
        [[maybe_unused]] auto n = ::write(fds[1], said.constData(), size_t(said.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray said;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        said.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return QString::fromUtf8(said);
}

} // namespace lumen::test
