#include <cstdio>

#include "camera/CamFileReader.h"
#include "tools/vistrelctl/Subcommand.h"

namespace vistrel::ctl {

// Prints the value as the reader returns it, bytes unchanged: 0 found, 1 missing or empty,
// 2 when the file cannot be opened.
int runKey(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        std::fputs("usage: vistrelctl key FILE SECTION KEY\n", stderr);
        return kExitUsage;
    }
    const CamKeyLookup lookup = LookupCamKey(args[0], args[1], args[2]);
    if (lookup.outcome == CamKeyLookup::Outcome::CannotOpen) {
        std::fprintf(stderr, "vistrelctl: cannot open %s for reading\n", args[0].c_str());
        return kExitUsage;
    }
    if (lookup.value.empty()) {
        return kExitRefused;
    }
    std::fwrite(lookup.value.data(), 1, lookup.value.size(), stdout);
    std::fputc('\n', stdout);
    return kExitDone;
}

} // namespace vistrel::ctl
