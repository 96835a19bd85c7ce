#pragma once

#include "link/LinkState.h"
#include "platform/Prompts.h"
#include "tools/vistrelctl/LinkOptions.h"

#include <optional>
#include <string>

namespace vistrel::ctl {

// The link the program would open, set up from the options: the kind, the device COM1 or COM2
// stands for (the mapping, or --device), the rate, the Camera Link library and port. False when
// the Camera Link library does not load (its message went through `prompts`).
bool setUpLink(const SendOptions& options, LinkState& link, Prompts& prompts);

// When the grabber library stopped answering, says so on the error stream and gives the exit code for
// it; nothing otherwise.
std::optional<int> reportGrabberStuck(const LinkState& link);

// Says on the error stream that the link did not open, with why and what to do when that is known;
// returns the exit code for it.
int reportLinkNotOpened(const LinkState& link, const std::string& status, const std::string& reason);

} // namespace vistrel::ctl
