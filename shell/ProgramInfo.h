#pragma once

#include <string>
#include <vector>

namespace vistrel {

// What a command line asks for besides the program's own job: the GNU options every program of
// ours answers on standard output, then ends with status 0.
enum class InformationRequest { None, Help, Version };

// The first "--help" or "--version" among `arguments` (each must be the whole argument); None
// when neither is there, and the program goes on as usual.
InformationRequest findInformationRequest(const std::vector<std::string>& arguments);

// The --version text of `program`: "PROGRAM (Vistrel) 6.5.0", the copyright and the licence.
std::string versionText(const std::string& program);

// The --help text of the program vistrel.
std::string vistrelHelpText();

} // namespace vistrel
