#include "settings/LinkSettings.h"

#include "platform/Profile.h"
#include "settings/SettingsSections.h"

#include <climits>

namespace vistrel {

std::optional<int> linkKindOfComPortValue(std::string_view value) {
    std::optional<int> kind;
    if (value.find('1') != std::string_view::npos) {
        kind = kLinkCom1;
    }
    if (value.find('2') != std::string_view::npos) {
        kind = kLinkCom2;
    }
    if (value.find('3') != std::string_view::npos) {
        kind = kLinkCameraLink;
    }
    return kind;
}

std::string cameraLinkLibraryOf(const std::string& value, const std::string& settingsFile) {
    if (value.empty() || value.front() == '/') {
        return value;
    }
    const std::size_t slash = settingsFile.rfind('/');
    return (slash == std::string::npos ? std::string("./") : settingsFile.substr(0, slash + 1)) + value;
}

LinkSettings readLinkSettings(std::string_view settingsContents) {
    LinkSettings settings;
    settings.linkKind = linkKindOfComPortValue(
        readProfileString(settingsContents, kCommonSection, "COM Port", "2", kSettingsValueCapacity));
    settings.baudRate = readProfileInt(settingsContents, kCommonSection, "BaudRate", 9600);
    // A library in a deep folder must come back whole, or it would not load at the next start.
    settings.cameraLinkLibrary = readProfileString(settingsContents, kCommonSection, "CameraLink DLL", "", PATH_MAX);
    // The port is read as text and converted, so a value of letters gives port 0.
    settings.cameraLinkPort = profileTextToInt(
        readProfileString(settingsContents, kCommonSection, "CameraLink Port", "", kSettingsValueCapacity));
    const char* const comKeys[2] = {"COM1", "COM2"};
    for (int i = 0; i < 2; ++i) {
        std::string device = readProfileString(settingsContents, kSerialDevicesSection, comKeys[i], "", PATH_MAX);
        if (!device.empty()) {
            settings.comDevice[i] = std::move(device);
        }
    }
    return settings;
}

} // namespace vistrel
