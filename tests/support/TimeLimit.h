#pragma once

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace vistrel::test {

enum class ChildOutcome { Passed, Failed, TimedOut };

// Runs `body` (returning true on success) in a child process that an alarm ends after `seconds`,
// so that a call which blocks fails the test instead of blocking the whole run.
template <class Body> ChildOutcome runWithTimeLimit(unsigned seconds, Body body) {
    const pid_t child = ::fork();
    if (child < 0) {
        return ChildOutcome::Failed;
    }
    if (child == 0) {
        ::signal(SIGALRM, SIG_DFL);
        ::alarm(seconds);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
        return ChildOutcome::TimedOut;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildOutcome::Passed : ChildOutcome::Failed;
}

} // namespace vistrel::test
