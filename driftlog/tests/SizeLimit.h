#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumen::driftlog::test {

/**
 * Runs `step` in a child process whose files may not grow past `limit`
 * bytes, as on a full disk. True when the child ran to its end.
 */
inline bool underSizeLimit(rlim_t limit, const std::function<void()> &step)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        step();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace lumen::driftlog::test
