#pragma once

#include "camera/ControlCounts.h"

#include <array>
#include <string>

namespace vistrel {

// What the user last set on the panel and where the main window stood: the 21 entries of settings
// section "Last use". One per run, owned by the application.
struct PanelState {
    std::array<int, kComboCount> ComboBox{}; // selected index of each drop-down list
    std::array<int, kCheckCount> Check{};    // 1 checked, 0 clear
    // Value last applied from each list or reported for it, as listStateText keeps it; empty for none.
    std::array<std::string, kListCount> ListBox{};
    int Xpos = 0;
    int Ypos = 0;
    int Xdim = 0;
    int Ydim = 0;
};

} // namespace vistrel
