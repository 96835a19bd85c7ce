#include "settings/CameraSettingsFile.h"

#include "link/LinkState.h"
#include "platform/AtomicReplace.h"
#include "settings/LastUseSection.h"
#include "settings/SaveDate.h"
#include "settings/SettingsSections.h"

namespace vistrel {

namespace {

// The identification is a reply, up to the reply buffer's size.
constexpr std::size_t kCameraValueCapacity = kReplyBufferCapacity + 1;

} // namespace

std::string composeCameraSettings(const CameraSettings& settings, const std::string& dateText, std::string& problem) {
    std::string text;
    problem.clear();
    auto put = [&](std::string_view key, std::string_view value) {
        if (problem.empty()) {
            if (std::string why = profileValueProblem(value); !why.empty()) {
                problem = std::string(key) + ": " + why;
            }
        }
        text = withProfileString(text, kCameraSection, key, value);
    };
    put("Description", settings.Description);
    put("Identification", settings.Identification);
    put("Device", settings.Device);
    put("Saved", settings.Saved);
    std::string lastUseProblem;
    text = withLastUse(text, settings.panel, dateText, lastUseProblem, false);
    if (problem.empty()) {
        problem = lastUseProblem;
    }
    return text;
}

ProfileResult saveCameraSettings(const std::string& path, CameraSettings settings, std::time_t when) {
    settings.Saved = savedUtcText(when);
    std::string problem;
    const std::string text = composeCameraSettings(settings, saveDateText(when), problem);
    if (!problem.empty()) {
        return ProfileResult::failure(problem);
    }
    return replaceFileAtomically(path, text);
}

std::optional<CameraSettings> readCameraSettings(const std::string& path, std::string& error) {
    bool found = false;
    const std::string contents = loadProfile(path, &found);
    if (!found) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    CameraSettings settings;
    settings.given = lastUseControlsGiven(contents);
    if (settings.given.empty()) {
        error = path + " holds no camera settings (no control value in section \"Last use\")";
        return std::nullopt;
    }
    settings.Description = readProfileString(contents, kCameraSection, "Description", "", kSettingsValueCapacity);
    settings.Identification = readProfileString(contents, kCameraSection, "Identification", "", kCameraValueCapacity);
    settings.Device = readProfileString(contents, kCameraSection, "Device", "", kCameraValueCapacity);
    settings.Saved = readProfileString(contents, kCameraSection, "Saved", "", kSettingsValueCapacity);
    readLastUseControls(contents, settings.panel);
    return settings;
}

bool settingsFitCamera(const CameraSettings& settings, const std::string& cameraIdentification) {
    return settings.Identification.empty() || settings.Identification == cameraIdentification;
}

std::string otherCameraText(const CameraSettings& settings, const std::string& cameraIdentification) {
    return "settings are for " + settings.Identification + ", this camera is " +
           (cameraIdentification.empty() ? std::string("not identified") : cameraIdentification);
}

} // namespace vistrel
