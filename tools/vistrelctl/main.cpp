#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/vistrelctl/Subcommand.h"

namespace {

using vistrel::ctl::Subcommand;

constexpr std::array kSubcommands = {
    Subcommand{"key", "FILE SECTION KEY", "print one value of a camera description", vistrel::ctl::runKey},
    Subcommand{"describe", "FILE", "what the program holds after loading FILE, as JSON", vistrel::ctl::runDescribe},
    Subcommand{"lint", "FILE", "what a description's author should know about FILE", vistrel::ctl::runLint},
    Subcommand{"send",
               "[--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS] [--library PATH] [--port N] "
               "[--cam FILE] [--settings FILE] [--transcript FILE|-] [--json] COMMAND",
               "one exchange with the camera over the link of the settings file or of the options",
               vistrel::ctl::runSend},
    Subcommand{"apply",
               "[link options of send] --cam FILE [--from ini|camera|factory] [--settings FILE] [--save] [--json]",
               "connect, load FILE, set the panel from the settings file, the camera or its factory settings, send "
               "every control, disconnect",
               vistrel::ctl::runApply},
    Subcommand{"read-settings", "[link options of send] --cam FILE [--settings FILE] [--save] [--json]",
               "connect, ask the camera for its settings and print them as the panel state, disconnect",
               vistrel::ctl::runReadSettings},
    Subcommand{"save-settings",
               "[link options of send] --cam FILE --out FILE.vcs [--from camera|ini] [--settings FILE] [--json]",
               "write the camera's settings (or the saved values) to a camera settings file",
               vistrel::ctl::runSaveSettings},
    Subcommand{"verify", "[link options of send] [--cam FILE] --settings FILE.vcs [--json] [--any-camera]",
               "compare every control of a camera settings file with the camera; exit 1 when any differs",
               vistrel::ctl::runVerify},
    Subcommand{"batch", "apply|verify --targets FILE [--jobs N] [--timeout S] [--json]",
               "run apply or verify for every target of FILE, each in a process of its own, N at a time",
               vistrel::ctl::runBatch},
    Subcommand{"ports", "[--library PATH] [--json]",
               "the serial devices present, and the Camera Link ports a library opens", vistrel::ctl::runPorts},
};

int usage(std::FILE* to, int exitCode) {
    std::fputs("usage: vistrelctl COMMAND ARGS...\n", to);
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(to, "  vistrelctl %s %s\n      %s\n", command.name, command.arguments, command.summary);
    }
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (words.empty()) {
        return usage(stderr, vistrel::ctl::kExitUsage);
    }
    if (words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
        return usage(stdout, 0);
    }
    for (const Subcommand& command : kSubcommands) {
        if (words[0] == command.name) {
            return command.run(std::vector<std::string>(words.begin() + 1, words.end()));
        }
    }
    std::fprintf(stderr, "vistrelctl: unknown command \"%s\"\n", words[0].c_str());
    return usage(stderr, vistrel::ctl::kExitUsage);
}
