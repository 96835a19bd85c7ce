#pragma once

#include <functional>

namespace vistrel {

class CCommDoc;
class CMainFrame;
class CommPanel;
class Prompts;
struct PanelRecords;

// Routes the panel's commands to the panel logic: 1020 Connection, 1021 Disconnection, 103
// refresh, 57601 File Open (Ctrl+O) and 32775 camera configuration, both with the camera
// configuration dialog. Returns their idle-time update, which is also run once now: enabling,
// check marks and the document title as the panel's update rules give them.
std::function<void()> InstallPanelCommands(CMainFrame& frame, CommPanel& panel, const PanelRecords& records,
                                           CCommDoc& document, Prompts& prompts);

} // namespace vistrel
