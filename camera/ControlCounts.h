#pragma once

namespace vistrel {

// How many controls of each kind a description can define and the panel shows.
inline constexpr int kComboCount = 8;
inline constexpr int kCheckCount = 4;
inline constexpr int kListCount = 5;

} // namespace vistrel
