#include "link/LibraryTrial.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vistrel {

namespace {

std::string refusal(const std::string& path, const std::string& how) {
    return "The CameraLink library " + path + " was refused: loading it in a trial process " + how + ".";
}

} // namespace

std::optional<std::string> TryLibraryInChild(const std::string& path, const std::string& helper) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return refusal(path, std::string("could not start (") + std::strerror(errno) + ")");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const char* argv[] = {helper.c_str(), path.c_str(), nullptr};
    pid_t child = -1;
    // posix_spawn, not fork: this process may run threads, and the child only executes the helper.
    const int spawned = posix_spawn(&child, helper.c_str(), &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return refusal(path, "could not start " + helper + " (" + std::strerror(spawned) + ")");
    }

    // The helper says "loaded" once the library was loaded and unloaded again; its end of the pipe
    // closes when it ends, however it ends.
    std::string said;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLibraryTrialLimitMs);
    bool late = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            late = true;
            break;
        }
        pollfd ready{out[0], POLLIN, 0};
        const int n = poll(&ready, 1, static_cast<int>(left.count()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        char chunk[64];
        const ssize_t got = n > 0 ? read(out[0], chunk, sizeof chunk) : -1;
        if (got <= 0) {
            late = n == 0;
            break;
        }
        said.append(chunk, static_cast<std::size_t>(got));
    }
    close(out[0]);
    if (late) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (late) {
        return refusal(path, "did not end within " + std::to_string(kLibraryTrialLimitMs / 1000) + " s");
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return refusal(path, "was ended by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")");
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == kLibraryTrialNotLoaded) {
        return std::nullopt;
    }
    if (code != 0 || said != "loaded\n") {
        return refusal(path, "ended with exit code " + std::to_string(code) + " before the library was loaded");
    }
    return std::nullopt;
}

} // namespace vistrel
