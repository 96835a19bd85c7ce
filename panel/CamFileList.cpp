#include "panel/CamFileList.h"

#include "platform/FileLocations.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace vistrel {

namespace {

bool endsWithCam(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    const std::string tail = name.substr(name.size() - 4);
    return tail[0] == '.' && std::tolower(static_cast<unsigned char>(tail[1])) == 'c' &&
           std::tolower(static_cast<unsigned char>(tail[2])) == 'a' &&
           std::tolower(static_cast<unsigned char>(tail[3])) == 'm';
}

std::string lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// A directory listing has no order of its own; case-blind name order is what users expect.
void sortByName(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lowered(a);
        const std::string lb = lowered(b);
        return la != lb ? la < lb : a < b;
    });
}

} // namespace

std::vector<std::string> listCamFiles(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        struct stat info {};
        // Folders named like a description are not descriptions.
        if (endsWithCam(name) && ::stat((folder + name).c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
            names.push_back(name);
        }
    }
    sortByName(names);
    return names;
}

std::vector<std::string> listCamFiles(const RunValues& values) {
    std::vector<std::string> names;
    // A user's file takes the place of the program's of the same name: each name once.
    for (const std::string& folder : camFileFolders(values)) {
        for (std::string& name : listCamFiles(folder)) {
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(std::move(name));
            }
        }
    }
    sortByName(names);
    return names;
}

std::optional<std::string> listedNameOf(const RunValues& values, const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!endsWithCam(name)) {
        return std::nullopt;
    }
    // The same file, reached through any links: same device and inode.
    struct stat given {};
    struct stat listed {};
    if (::stat(path.c_str(), &given) != 0 || ::stat(resolveCamFilePath(values, name).c_str(), &listed) != 0 ||
        given.st_dev != listed.st_dev || given.st_ino != listed.st_ino) {
        return std::nullopt;
    }
    return name;
}

} // namespace vistrel
