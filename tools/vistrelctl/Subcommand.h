#pragma once

#include <string>
#include <vector>

namespace vistrel::ctl {

// One exit-code scheme for every command: 0 done; 1 the camera refused a value, an exchange or
// special command failed, or the answer is "no" (a key missing, warnings found); 2 a wrong command
// line, a file that cannot be read, or a link that cannot be opened.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// One "vistrelctl NAME ARGS..." command. `run` gets the arguments after the name.
struct Subcommand {
    const char* name;
    const char* arguments; // for the usage text
    const char* summary;
    const char* options; // the options, one line each, for "vistrelctl NAME --help"
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
