#pragma once

#include "platform/Profile.h"
#include "settings/PanelState.h"

#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace vistrel {

inline constexpr const char* kCameraSection = "Camera";

// A camera settings file (".vcs"): which camera and link the values were taken from, and the
// panel's control values in the form of the settings file's "Last use", so that whatever reads
// "Last use" reads it unchanged.
struct CameraSettings {
    std::string Description;     // the description's file name, as "Camera File"
    std::string Identification;  // the camera's identification answer; empty when it was not identified
    std::string Device;          // the link the values were taken on, in words
    std::string Saved;           // UTC, ISO 8601
    PanelState panel;            // the 17 control entries; the window entries are not part of the file
    std::set<std::string> given; // on reading: the control keys the file holds
};

// The file's text: section "Camera", then "Last use" as a save writes it without the window keys,
// "Date" being `dateText`. Empty `problem` on success, else why a value cannot be written.
std::string composeCameraSettings(const CameraSettings& settings, const std::string& dateText, std::string& problem);

// Writes the file in one atomic replace, "Saved" and "Date" taken from `when`.
ProfileResult saveCameraSettings(const std::string& path, CameraSettings settings, std::time_t when);

// Reads the file; nothing, with the reason in `error`, when it cannot be read or holds no control
// value of "Last use".
std::optional<CameraSettings> readCameraSettings(const std::string& path, std::string& error);

// True when the values may go to a camera that identified itself as `cameraIdentification`
// (empty: not identified): the file names no camera, or this one.
bool settingsFitCamera(const CameraSettings& settings, const std::string& cameraIdentification);

// "settings are for <file's>, this camera is <camera's>".
std::string otherCameraText(const CameraSettings& settings, const std::string& cameraIdentification);

} // namespace vistrel
