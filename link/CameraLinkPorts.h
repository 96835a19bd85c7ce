#pragma once

#include "link/LinkState.h"

#include <string>
#include <vector>

namespace vistrel {

// The probe's last index: an item's number has room for three digits.
inline constexpr int kClMaxProbedPort = 999;

// The ports the bound library opens: 0, 1, 2, ... up to the first index it refuses (or 999). Each
// port opened is closed again before the next is tried. Without a bound library: none. A library
// that stops answering ends the list and is lost (LoseCameraLink).
std::vector<int> ListCameraLinkPorts(LinkState& link);

// "CameraLink Port " followed by the index.
std::string CameraLinkPortItemText(int port);

} // namespace vistrel
