#pragma once

#include "link/DynamicLoader.h"
#include "link/LinkState.h"
#include "platform/Prompts.h"

#include <string>

namespace vistrel {

inline constexpr const char* kTextErrorOpeningLibrary = "Error opening the CameraLink library";
inline constexpr const char* kTextErrorEntryPoints = "Error getting library entry points";
inline constexpr const char* kTextErrorClosingLibrary = "Error closing the CameraLink library";

enum class CameraLinkLoad { Bound, Refused, NotOpened, EntryPointMissing };

// Loads the library at `path` into `link` and binds clSerialInit, clSerialRead, clSerialWrite and
// clSerialClose by name, in that order. A library that does not load shows "Error opening the
// CameraLink library"; one that lacks an entry point shows "Error getting library entry points" and
// is released again. Before anything is loaded, the loader tries the library (in a child process):
// a refusal is shown and nothing is loaded. `CameraLinkLibraryPath` takes `path` in every case. A library still loaded
// before is let go silently (with its channel): callers release it first when a refusal matters.
CameraLinkLoad LoadCameraLinkLibrary(LinkState& link, Prompts& prompts, const std::string& path,
                                     DynamicLoader& loader = systemDynamicLoader());

// Unloads the Camera Link library. A refused unload shows "Error closing the CameraLink library";
// the library is gone from `link` either way. A channel still open is closed first, as it cannot
// outlive the code behind it. Without a library loaded nothing happens.
void ReleaseCameraLinkLibrary(LinkState& link, Prompts& prompts);

// A library is loaded and all four entry points are bound: only then is any of them called.
bool IsCameraLinkBound(const LinkState& link);

} // namespace vistrel
