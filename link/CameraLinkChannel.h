#pragma once

#include "link/LinkState.h"

namespace vistrel {

inline constexpr const char* kTextConnexionOk = "Connexion OK";
inline constexpr const char* kTextConnexionError = "Connexion Error";
inline constexpr const char* kTextConnexionClosed = "Connexion Closed";

// Opens the channel of port `CameraLinkPort` with clSerialInit. Returns 1 with "Connexion OK" in
// `status` (kLinkStatusCapacity bytes), or 0 with "Connexion Error" when the library refuses the port
// or no library is loaded and bound (then nothing is called).
int OpenCameraLinkChannel(LinkState& link, char* status);

// Closes the channel with clSerialClose when one was opened and is still open; writes "Connexion
// Closed" in any case.
void CloseCameraLinkChannel(LinkState& link, char* status);

} // namespace vistrel
