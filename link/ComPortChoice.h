#pragma once

#include "link/LinkState.h"
#include "platform/Prompts.h"

#include <string>

namespace vistrel {

inline constexpr int kBaudRates[3] = {9600, 19200, 38400};

// The radio preselected when the COM port dialog opens: COM1 (0) or COM2 (1); COM1 for Camera Link.
int PreselectedComPortIndex(const LinkState& link);

// The list position of `LinkBaudRate` when the COM port dialog opens. A rate other than the three
// is replaced by 9600 in `link` and gives position 0.
int BaudRateIndexOnOpening(LinkState& link);

// The rate of a list position: 1 gives 19200, 2 gives 38400, anything else 9600.
int BaudRateOfIndex(int index);

// The COM port dialog confirmed with port index 0 or 1: leaves Camera Link (releasing its library)
// and makes COM1 or COM2 the link.
void ApplyComPortChoice(LinkState& link, Prompts& prompts, int portIndex);

// The device COM1 (1) or COM2 (2) stands for; the default /dev/ttyS0 or /dev/ttyS1 when unmapped.
std::string ComDeviceOf(const LinkState& link, int comNumber);

} // namespace vistrel
