#pragma once

#include <string>
#include <vector>

namespace vistrel {

// What the registration and automation switches decided.
struct ComSwitchOutcome {
    bool endProcess = false; // a switch was given: the process ends at once, without a window
    int exitCode = 0;
    std::string problem; // why a registration failed, for the terminal
};

// "RegServer" writes and "UnregServer" removes the desktop entry; "Embedding" and "Automation" end
// start-up. Needs nothing of the GUI, so it runs before any GUI object exists, without a display.
ComSwitchOutcome runComSwitches(const std::vector<std::string>& arguments, const std::string& executablePath,
                                const std::string& applicationsFolder);

} // namespace vistrel
