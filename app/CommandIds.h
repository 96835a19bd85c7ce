#pragma once

namespace vistrel {

// Menu and toolbar command ids; each QAction's objectName carries its id.
enum CommandId : int {
    kCmdFileOpen = 57601,
    kCmdAppExit = 32776,
    kCmdComPort = 32778,
    kCmdCameraLink = 32774,
    kCmdConnection = 1020,
    kCmdDisconnection = 1021,
    kCmdAppAbout = 57670,
    kCmdAboutBox = 57664, // the About box too, without a menu item
    kCmdCameraConfiguration = 32775,
    kCmdRefresh = 103,
    kCmdAutoReconnect = 32790,
    kCmdReapplyAfterReconnect = 32791,
    kCmdTranscript = 32792,
    kCmdSaveCameraSettings = 32793,
    kCmdOpenCameraSettings = 32794,
    kCmdCompareWithCamera = 32795,
};

inline constexpr int kToolBarId = 59392;
inline constexpr int kStatusBarId = 59393;
inline constexpr int kCapsLockIndicatorId = 59137;

} // namespace vistrel
