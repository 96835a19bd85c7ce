#pragma once

#include "link/DynamicLoader.h"
#include "link/LinkState.h"
#include "platform/Prompts.h"

#include <string>

namespace vistrel {

inline constexpr const char* kTextErrorOpeningLibrary = "Error opening the CameraLink library";
inline constexpr const char* kTextErrorEntryPoints = "Error getting library entry points";
inline constexpr const char* kTextErrorClosingLibrary = "Error closing the CameraLink library";

enum class CameraLinkLoad { Bound, NotOpened, EntryPointMissing };

// Loads the library at `path` into `link` and binds clSerialInit, clSerialRead, clSerialWrite and
// clSerialClose by name, in that order. A library that does not load shows "Error opening the
// CameraLink library"; one that lacks an entry point shows "Error getting library entry points" and
// is released again. `CameraLinkLibraryPath` takes `path` in every case. Any library loaded before
// must have been released by the caller.
CameraLinkLoad LoadCameraLinkLibrary(LinkState& link, Prompts& prompts, const std::string& path,
                                     DynamicLoader& loader = systemDynamicLoader());

// Unloads the Camera Link library. A refused unload shows "Error closing the CameraLink library";
// the handle is cleared either way, and so are the entry points and the channel reference, which
// would otherwise point into unmapped code. An open channel is not closed first. Without a library
// loaded nothing happens.
void ReleaseCameraLinkLibrary(LinkState& link, Prompts& prompts, DynamicLoader& loader = systemDynamicLoader());

// A library is loaded and all four entry points are bound: only then is any of them called.
bool IsCameraLinkBound(const LinkState& link);

} // namespace vistrel
