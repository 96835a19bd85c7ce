#pragma once

#include "settings/PanelState.h"

#include <array>

namespace vistrel {

// The window controls each control of a description is bound to, indexed as the description's
// sections ("ComboBox1" is index 0).
inline constexpr std::array<int, kComboCount> kComboIds = {1029, 1024, 1028, 1030, 1033, 1034, 1038, 1037};
inline constexpr std::array<int, kComboCount> kComboGroupIds = {1000, 1001, 1002, 1013, 1004, 1005, 1003, 1011};
inline constexpr std::array<int, kCheckCount> kCheckIds = {1031, 1032, 1035, 1036};
inline constexpr std::array<int, kListCount> kListIds = {110, 111, 112, 113, 114};
inline constexpr std::array<int, kListCount> kListGroupIds = {1006, 1007, 1008, 1009, 1010};
inline constexpr std::array<int, kListCount> kApplyIds = {1046, 1047, 1048, 1049, 1050};

inline constexpr int kFreeTextId = 1020;
inline constexpr int kSendId = 1051;
inline constexpr int kStatusLineId = 1014;
inline constexpr int kMessageAreaId = 126;

// Longest text a list's edit field hands over without a complaint.
inline constexpr std::size_t kListTextCapacity = 10;
// Longest command the panel sends, and longest free text it reads.
inline constexpr std::size_t kPanelCommandCapacity = 99;
inline constexpr std::size_t kFreeTextCapacity = 199;

} // namespace vistrel
