#pragma once

namespace vistrel {

// Control ids of the About box; each widget's objectName carries its id.
enum AboutControlId : int {
    kIdAboutOk = 1,
    kIdAboutVersion = 128,
    kIdAboutSystem = 1010,
    kIdAboutBitmap = 1049,
};

} // namespace vistrel
