#pragma once

#include "link/LinkState.h"

#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

// What the settings file says about the link, from section "Common" and section "Serial Devices".
// The program at start-up and vistrelctl take their link from here alike.
struct LinkSettings {
    std::optional<int> linkKind;   // "COM Port", see linkKindOfComPortValue; nothing when it names no link
    int baudRate = 9600;           // "BaudRate"
    std::string cameraLinkLibrary; // "CameraLink DLL", whole: any path the system allows
    int cameraLinkPort = 0;        // "CameraLink Port": its leading digits; empty or letters give 0
    // "Serial Devices" keys "COM1" and "COM2"; an absent or empty key keeps the default device.
    std::string comDevice[2] = {kDefaultComDevice[0], kDefaultComDevice[1]};
};

// The link a "COM Port" value selects. '1', '2' and '3' anywhere in it are tested in that order and
// the later match wins: "12" gives COM2, "13" Camera Link. Nothing when it holds none of them.
std::optional<int> linkKindOfComPortValue(std::string_view value);

// The library a "CameraLink DLL" value names: a relative value is taken from the folder of the
// settings file it was read from, never from the current folder.
std::string cameraLinkLibraryOf(const std::string& value, const std::string& settingsFile);

// Reads the link settings from the bytes of a settings file ("COM Port" defaults to "2").
LinkSettings readLinkSettings(std::string_view settingsContents);

} // namespace vistrel
