#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace vistrel::test {

struct CtlRun {
    int exitCode = -1;
    std::string out;
};

// Runs vistrelctl with the arguments (each already quoted for the shell); standard error is dropped
// unless `withErrors`.
inline CtlRun runVistrelctl(const std::string& arguments, bool withErrors = false) {
    const std::string line = std::string(VISTRELCTL_PATH) + " " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
    CtlRun run;
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Each line of a --json run, parsed.
inline std::vector<nlohmann::json> jsonLines(const std::string& out) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

} // namespace vistrel::test
