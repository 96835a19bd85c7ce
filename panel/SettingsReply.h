#pragma once

#include "camera/CameraDescription.h"
#include "settings/PanelState.h"

#include <functional>
#include <string>

namespace vistrel {

// Reads a camera's settings report ("A=1\rB=2\r>OK\r") into `panel`: each key is compared exactly
// with the command character text of every defined control, in table order, and several may
// match. A drop-down list takes the index of the first value slot equal to the value, a check box
// 0 for its "cleared" value and 1 for anything else, a list the value as listStateText keeps it. A report
// that begins with "=" is not read. `heard` gets every key and value taken.
void parseCameraSettings(const std::string& reply, const CameraDescription& description, PanelState& panel,
                         const std::function<void(const std::string&, const std::string&)>& heard = {});

} // namespace vistrel
