#include <array>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "shell/ProgramInfo.h"
#include "tools/vistrelctl/Subcommand.h"

namespace {

using vistrel::ctl::Subcommand;

#define VISTRELCTL_LINK_OPTIONS                                                                                        \
    "  --link com1|com2|cameralink  the link (default: \"COM Port\" of the settings file; a --device\n"                \
    "                   chooses a COM link, a --library or --port Camera Link)\n"                                      \
    "  --device PATH    the serial device of COM1 or COM2 (default: its mapping in the settings file)\n"               \
    "  --baud N         the rate (default: \"BaudRate\" of the settings file, else 9600)\n"                            \
    "  --delay MS       pause before each character on a COM link, 0 to 200\n"                                         \
    "                   (default: the description's MilliSec, else 75)\n"                                              \
    "  --library PATH   the Camera Link serial library (default: \"CameraLink DLL\")\n"                                \
    "  --port N         the Camera Link port, from 0 (default: \"CameraLink Port\")\n"                                 \
    "  --transcript FILE  append every link operation to FILE as JSON lines (\"-\": standard error)\n"

#define VISTRELCTL_SETTINGS_OPTION                                                                                     \
    "  --settings FILE  the settings file whose values are the defaults, or a camera settings file\n"                  \
    "                   (.vcs) (default: the program's, see vistrelctl(1))\n"

constexpr std::array kSubcommands = {
    Subcommand{"key", "FILE SECTION KEY", "print one value of a camera description", "", vistrel::ctl::runKey},
    Subcommand{"describe", "FILE", "what the program holds after loading FILE, as JSON", "", vistrel::ctl::runDescribe},
    Subcommand{"lint", "FILE", "what a description's author should know about FILE", "", vistrel::ctl::runLint},
    Subcommand{"send",
               "[--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS] [--library PATH] [--port N] "
               "[--cam FILE] [--settings FILE] [--transcript FILE|-] [--json] COMMAND",
               "one exchange with the camera over the link of the settings file or of the options",
               VISTRELCTL_LINK_OPTIONS VISTRELCTL_SETTINGS_OPTION
               "  --cam FILE       a camera description (a path, or a name in CamFiles/): the meaning of the\n"
               "                   reply and the pause between characters\n"
               "  --json           the outcome as one JSON object\n",
               vistrel::ctl::runSend},
    Subcommand{
        "apply",
        "[link options of send] --cam FILE [--from ini|camera|factory] [--settings FILE] [--save] [--any-camera] "
        "[--json]",
        "connect, load FILE, set the panel from the settings file, the camera or its factory settings, send "
        "every control, disconnect",
        VISTRELCTL_LINK_OPTIONS VISTRELCTL_SETTINGS_OPTION
        "  --cam FILE       the camera description (a path, or a name in CamFiles/)\n"
        "  --from SOURCE    ini (the settings file's saved values, the default), camera (the camera's\n"
        "                   report of its settings) or factory (restore them first)\n"
        "  --save           write the resulting panel state into the settings file\n"
        "  --any-camera     send values taken from a camera of another identification\n"
        "  --json           one JSON object per exchange, then a summary\n",
        vistrel::ctl::runApply},
    Subcommand{"read-settings", "[link options of send] --cam FILE [--settings FILE] [--save] [--json]",
               "connect, ask the camera for its settings and print them as the panel state, disconnect",
               VISTRELCTL_LINK_OPTIONS VISTRELCTL_SETTINGS_OPTION
               "  --cam FILE       the camera description (a path, or a name in CamFiles/)\n"
               "  --save           write the panel state into the settings file\n"
               "  --json           one JSON object per exchange, then a summary\n",
               vistrel::ctl::runReadSettings},
    Subcommand{"save-settings",
               "[link options of send] --cam FILE --out FILE.vcs [--from camera|ini] [--settings FILE] [--json]",
               "write the camera's settings (or the saved values) to a camera settings file",
               VISTRELCTL_LINK_OPTIONS VISTRELCTL_SETTINGS_OPTION
               "  --cam FILE       the camera description (a path, or a name in CamFiles/)\n"
               "  --out FILE.vcs   the camera settings file to write\n"
               "  --from SOURCE    camera (its report of its settings, the default) or ini (the values saved\n"
               "                   in the settings file, without talking to the camera)\n"
               "  --json           the outcome as one JSON object\n",
               vistrel::ctl::runSaveSettings},
    Subcommand{"verify", "[link options of send] [--cam FILE] --settings FILE.vcs [--json] [--any-camera]",
               "compare every control of a camera settings file with the camera; exit 1 when any differs",
               VISTRELCTL_LINK_OPTIONS
               "  --cam FILE       the camera description (default: the one the settings file names)\n"
               "  --settings FILE.vcs  the camera settings file to compare with; it names no link, so give\n"
               "                   --device (or --link, --library, --port)\n"
               "  --any-camera     compare even when the file was taken from a camera of another\n"
               "                   identification\n"
               "  --json           one JSON object per control, then a summary\n",
               vistrel::ctl::runVerify},
    Subcommand{"batch", "apply|verify --targets FILE [--jobs N] [--timeout S] [--json]",
               "run apply or verify for every target of FILE, each in a process of its own, N at a time",
               "  apply|verify     the command every target runs\n"
               "  --targets FILE   one target per line, written as the options of that command; '#' starts\n"
               "                   a comment\n"
               "  --jobs N         targets run at once (default: the number of targets, at most 8)\n"
               "  --timeout S      seconds after which a target is stopped (default 120)\n"
               "  --json           every line of a target's output as JSON with its \"target\", then a summary\n",
               vistrel::ctl::runBatch},
    Subcommand{"ports", "[--library PATH] [--json]",
               "the serial devices present, and the Camera Link ports a library opens",
               "  --library PATH   also list the ports this Camera Link serial library opens\n"
               "  --json           the lists as one JSON object\n",
               vistrel::ctl::runPorts},
};

constexpr const char* kExitStatus = "Exit status: 0 done; 1 the camera refused a value or an exchange failed, a key\n"
                                    "is missing or a description has warnings; 2 a wrong command line, a file that\n"
                                    "cannot be read or a link that cannot be opened.\n";

int usage(std::FILE* to, int exitCode) {
    std::fputs("Usage: vistrelctl COMMAND ARGS...\n"
               "Camera descriptions and the camera's serial link from a terminal, as the program vistrel\n"
               "uses them.\n\n",
               to);
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(to, "  vistrelctl %s %s\n      %s\n", command.name, command.arguments, command.summary);
    }
    std::fprintf(to,
                 "\n\"vistrelctl COMMAND --help\" describes one command; --version shows the version.\n%s"
                 "Full documentation: man vistrelctl\n",
                 kExitStatus);
    return exitCode;
}

void commandHelp(const Subcommand& command) {
    std::string summary = command.summary;
    summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    std::printf("Usage: vistrelctl %s %s\n%s.\n", command.name, command.arguments, summary.c_str());
    if (command.options[0] != '\0') {
        std::printf("\n%s", command.options);
    }
    std::printf("\n%s", kExitStatus);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (words.empty()) {
        return usage(stderr, vistrel::ctl::kExitUsage);
    }
    if (words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
        return usage(stdout, vistrel::ctl::kExitDone);
    }
    if (words[0] == "--version") {
        std::fputs(vistrel::versionText("vistrelctl").c_str(), stdout);
        return vistrel::ctl::kExitDone;
    }
    for (const Subcommand& command : kSubcommands) {
        if (words[0] != command.name) {
            continue;
        }
        const std::vector<std::string> args(words.begin() + 1, words.end());
        // "--help" among the options asks for help; after "--" it is a word like any other.
        for (const std::string& arg : args) {
            if (arg == "--") {
                break;
            }
            if (arg == "--help") {
                commandHelp(command);
                return vistrel::ctl::kExitDone;
            }
        }
        return command.run(args);
    }
    std::fprintf(stderr, "vistrelctl: unknown command \"%s\"\n", words[0].c_str());
    return usage(stderr, vistrel::ctl::kExitUsage);
}
