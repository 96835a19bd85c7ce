#pragma once

#include "platform/RunValues.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel {

// Names of the camera descriptions in `folder` (files whose name ends in ".cam" in any letter
// case), sorted without regard to case. Empty when the folder cannot be listed.
std::vector<std::string> listCamFiles(const std::string& folder);

// Every description the program offers, by name: the user's folder and the program's, each name
// once.
std::vector<std::string> listCamFiles(const RunValues& values);

// The name under which the program lists the description at `path`: its file name when the
// program would read that name from that very file; nothing otherwise.
std::optional<std::string> listedNameOf(const RunValues& values, const std::string& path);

} // namespace vistrel
