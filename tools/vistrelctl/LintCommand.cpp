#include <cstdio>

#include "camera/CamFileLint.h"
#include "tools/vistrelctl/DisplayText.h"
#include "tools/vistrelctl/Subcommand.h"

namespace vistrel::ctl {

// One warning a line, "FILE:LINE: message", as compilers print them: 0 when clean, 1 with
// warnings, 2 when the file cannot be opened.
int runLint(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fputs("usage: vistrelctl lint FILE\n", stderr);
        return kExitUsage;
    }
    const LintedCamera linted = lintCamFile(args[0]);
    if (!linted.described) {
        std::fprintf(stderr, "vistrelctl: cannot open %s for reading\n", args[0].c_str());
        return kExitUsage;
    }
    for (const LintWarning& warning : linted.warnings) {
        const std::string text = args[0] + ":" + std::to_string(warning.line) + ": " + displayText(warning.message);
        std::puts(text.c_str());
    }
    return linted.warnings.empty() ? kExitDone : kExitRefused;
}

} // namespace vistrel::ctl
