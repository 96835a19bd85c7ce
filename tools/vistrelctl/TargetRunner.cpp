#include "tools/vistrelctl/TargetRunner.h"

#include "platform/UniqueFd.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vistrel::ctl {

namespace {

using Clock = std::chrono::steady_clock;

// One target's process: its pipes, its exit notification and its deadline.
struct Running {
    TargetOutcome outcome;
    pid_t pid = -1;
    UniqueFd out, errors, exited;
    Clock::time_point deadline;
    bool killed = false;
    bool reaped = false;

    ~Running() {
        if (pid > 0 && !reaped) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    bool finished() const { return reaped && out.get() < 0 && errors.get() < 0; }
};

// Starts the process; the outcome says why when it cannot be started.
std::unique_ptr<Running> start(const std::string& program, const std::vector<std::string>& arguments, int index,
                               std::chrono::milliseconds timeLimit) {
    auto running = std::make_unique<Running>();
    running->outcome.index = index;
    const auto cannotStart = [&running] {
        running->outcome.ended = std::string("cannot start: ") + std::strerror(errno);
        running->reaped = true;
        return std::move(running);
    };
    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0) {
        return cannotStart();
    }
    UniqueFd outRead(outPipe[0]), outWrite(outPipe[1]);
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        return cannotStart();
    }
    UniqueFd errRead(errPipe[0]), errWrite(errPipe[1]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& word : arguments) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    // vfork: eight targets start as soon as eight exec calls allow, not after eight copies of this
    // process. The child makes system calls only, then execs or exits.
    const pid_t pid = ::vfork();
    if (pid == 0) {
        // A target never outlives the batch that started it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        ::dup2(outWrite.get(), STDOUT_FILENO);
        ::dup2(errWrite.get(), STDERR_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    if (pid < 0) {
        return cannotStart();
    }
    running->out = std::move(outRead);
    running->errors = std::move(errRead);
    running->pid = pid;
    running->exited.reset(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    running->deadline = Clock::now() + timeLimit;
    return running;
}

void drain(UniqueFd& fd, std::string& into) {
    char buffer[4096];
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n > 0) {
        into.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        fd.reset();
    }
}

void reap(Running& running) {
    int status = 0;
    if (running.reaped || ::waitpid(running.pid, &status, WNOHANG) != running.pid) {
        return;
    }
    running.reaped = true;
    running.exited.reset();
    if (WIFEXITED(status) && !running.killed) {
        running.outcome.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status) && !running.killed) {
        running.outcome.ended = std::string("ended by signal ") + std::to_string(WTERMSIG(status)) + " (" +
                                ::strsignal(WTERMSIG(status)) + ")";
    }
}

} // namespace

void runTargets(const std::string& program, const std::vector<std::vector<std::string>>& arguments, int jobs,
                std::chrono::milliseconds timeLimit, const std::function<void(const TargetOutcome&)>& done) {
    std::vector<std::unique_ptr<Running>> running;
    std::size_t next = 0;
    while (next < arguments.size() || !running.empty()) {
        while (next < arguments.size() && static_cast<int>(running.size()) < jobs) {
            running.push_back(start(program, arguments[next], static_cast<int>(next), timeLimit));
            ++next;
        }
        std::vector<pollfd> watched;
        Clock::time_point wake = Clock::time_point::max();
        for (const auto& target : running) {
            for (const UniqueFd* fd : {&target->out, &target->errors, &target->exited}) {
                if (fd->get() >= 0) {
                    watched.push_back({fd->get(), POLLIN, 0});
                }
            }
            if (!target->reaped) {
                wake = std::min(wake, target->killed ? Clock::now() + std::chrono::milliseconds(10) : target->deadline);
                // Without an exit notification the exit is looked for now and then.
                if (target->exited.get() < 0) {
                    wake = std::min(wake, Clock::now() + std::chrono::milliseconds(10));
                }
            }
        }
        const auto untilWake = std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now()).count();
        const int timeout = wake == Clock::time_point::max() ? -1 : static_cast<int>(std::max<long long>(0, untilWake));
        if (!watched.empty() || timeout >= 0) {
            ::poll(watched.data(), watched.size(), timeout);
        }
        for (auto& target : running) {
            // One read per pipe and round, so that a target that writes without end cannot starve
            // the others.
            for (auto [fd, into] :
                 {std::pair{&target->out, &target->outcome.out}, std::pair{&target->errors, &target->outcome.errors}}) {
                pollfd one{fd->get(), POLLIN, 0};
                if (fd->get() >= 0 && ::poll(&one, 1, 0) > 0) {
                    drain(*fd, *into);
                }
            }
            reap(*target);
            if (!target->reaped && !target->killed && Clock::now() >= target->deadline) {
                ::kill(target->pid, SIGKILL);
                target->killed = true;
                char text[64];
                std::snprintf(text, sizeof text, "stopped after %g s without ending",
                              static_cast<double>(timeLimit.count()) / 1000.0);
                target->outcome.ended = text;
            }
        }
        for (auto it = running.begin(); it != running.end();) {
            if ((*it)->finished()) {
                done((*it)->outcome);
                it = running.erase(it);
            } else {
                ++it;
            }
        }
    }
}

} // namespace vistrel::ctl
