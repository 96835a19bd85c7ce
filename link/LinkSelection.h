#pragma once

#include "link/LinkState.h"

#include <functional>

namespace vistrel {

// Lets go of the loaded Camera Link serial library when the link leaves Camera Link. Supplied by
// the Camera Link binding; an empty function means no library can be loaded in this run.
using CameraLinkRelease = std::function<void(LinkState&)>;

// Makes COM1 (port 1) or COM2 (port 2) the link, leaving Camera Link first when it was in use.
void SelectComLink(LinkState& link, int port, const CameraLinkRelease& releaseCameraLink = {});

} // namespace vistrel
