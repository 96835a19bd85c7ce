#pragma once

#include "link/LinkState.h"
#include "platform/Prompts.h"

#include <string>

namespace vistrel {

// Capacity of the settings buffers: values are cut to 99 characters.
inline constexpr std::size_t kSettingsValueCapacity = 100;

// Camera Link chosen in the settings: takes "CameraLink DLL" into CameraLinkLibraryPath, loads and
// binds that library (its messages through `prompts`), takes "CameraLink Port" (leading digits, else
// 0) into CameraLinkPort from section "Common", and makes Camera Link the link, loaded or not.
void LoadCameraLinkFromSettings(const std::string& settingsPath, LinkState& link, Prompts& prompts);

} // namespace vistrel
