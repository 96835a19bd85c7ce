#pragma once

#include <array>
#include <optional>
#include <string>

#include "camera/CamFileLoader.h"

namespace vistrel {

// Everything a freshly started program holds after loading one file: the record and what the
// widgets would show.
struct DescribedCamera {
    CameraDescription description;
    std::array<ComboLoad, kComboCount> combos;
    std::array<CheckLoad, kCheckCount> checks;
    std::array<ListLoad, kListCount> lists;
};

// Loads the file into a fresh record, step by step in the panel's order. Nothing when the file
// cannot be opened.
std::optional<DescribedCamera> describeCamFile(const std::string& camFilePath, LoadObserver* observer = nullptr);
// The same from keys already open.
DescribedCamera describeCamFile(CamFileKeys& keys);

} // namespace vistrel
