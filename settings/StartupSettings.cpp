#include "settings/StartupSettings.h"

#include "platform/FileLocations.h"
#include "platform/Profile.h"
#include "settings/LastUseSection.h"
#include "settings/SettingsSections.h"

namespace vistrel {

StartupSettings ReadStartupSettings(const RunValues& values) {
    StartupSettings read;
    const std::string contents = loadProfile(settingsReadPath(values), &read.found);
    readLastUse(contents, read.lastUse);
    if (!read.found) {
        return read;
    }
    std::string camFile = readProfileString(contents, kCommonSection, "Camera File", "-", kSettingsValueCapacity);
    if (camFile.find('-') == std::string::npos) {
        read.camFileName = std::move(camFile);
    }
    read.link = readLinkSettings(contents);
    read.transcript = readTranscriptSettings(contents);
    read.link.cameraLinkLibrary = cameraLinkLibraryOf(read.link.cameraLinkLibrary, settingsReadPath(values));
    return read;
}

} // namespace vistrel
