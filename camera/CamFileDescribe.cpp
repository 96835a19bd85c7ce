#include "camera/CamFileDescribe.h"

namespace vistrel {

std::optional<DescribedCamera> describeCamFile(const std::string& camFilePath, LoadObserver* observer) {
    std::optional<CamFileKeys> keys = CamFileKeys::open(camFilePath, observer);
    if (!keys) {
        return std::nullopt;
    }
    return describeCamFile(*keys);
}

DescribedCamera describeCamFile(CamFileKeys& keys) {
    DescribedCamera described;
    loadGeneral(described.description, keys);
    for (int i = 0; i < kComboCount; ++i) {
        described.combos[static_cast<std::size_t>(i)] = loadCombo(described.description, i, keys);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        described.checks[static_cast<std::size_t>(i)] = loadCheck(described.description, i, keys);
    }
    for (int i = 0; i < kListCount; ++i) {
        described.lists[static_cast<std::size_t>(i)] = loadList(described.description, i, keys);
    }
    return described;
}

} // namespace vistrel
