#include "link/SystemLibraryFolder.h"

#include <filesystem>
#include <system_error>

#ifndef VISTREL_MULTIARCH
#define VISTREL_MULTIARCH ""
#endif

namespace vistrel {

namespace {

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

} // namespace

std::string LibraryMultiarch() {
    return VISTREL_MULTIARCH;
}

std::optional<std::string> SystemLibraryFolder(const std::string& root) {
    const std::string multiarch = LibraryMultiarch();
    if (!multiarch.empty() && isFolder(root + "/usr/lib/" + multiarch)) {
        return root + "/usr/lib/" + multiarch;
    }
    if (isFolder(root + "/usr/lib")) {
        return root + "/usr/lib";
    }
    return std::nullopt;
}

} // namespace vistrel
