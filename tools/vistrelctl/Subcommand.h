#pragma once

#include <string>
#include <vector>

namespace vistrel::ctl {

inline constexpr int kExitUsage = 64; // wrong command line (sysexits' EX_USAGE)

// One "vistrelctl NAME ARGS..." command. `run` gets the arguments after the name.
struct Subcommand {
    const char* name;
    const char* arguments; // for the usage text
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

int runKey(const std::vector<std::string>& args);
int runDescribe(const std::vector<std::string>& args);
int runLint(const std::vector<std::string>& args);
int runPorts(const std::vector<std::string>& args);
int runSend(const std::vector<std::string>& args);
int runApply(const std::vector<std::string>& args);
int runReadSettings(const std::vector<std::string>& args);
int runSaveSettings(const std::vector<std::string>& args);
int runVerify(const std::vector<std::string>& args);
int runBatch(const std::vector<std::string>& args);

} // namespace vistrel::ctl
