#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::ctl {

// How one target's process ended, with everything it wrote.
struct TargetOutcome {
    int index = 0;      // position in the list given to runTargets
    int exitCode = -1;  // its exit status; -1 when it did not exit by itself
    std::string ended;  // for a process that did not exit by itself: why ("stopped after 120 s", ...)
    std::string out;    // standard output
    std::string errors; // standard error
};

// Runs `program` once per argument list, at most `jobs` processes at a time, each in a process of
// its own that is killed when it runs longer than `timeLimit` (or when this process dies). `done`
// hears each outcome as its process ends, in the order they end.
void runTargets(const std::string& program, const std::vector<std::vector<std::string>>& arguments, int jobs,
                std::chrono::milliseconds timeLimit, const std::function<void(const TargetOutcome&)>& done);

} // namespace vistrel::ctl
