#pragma once

#include <string>
#include <utility>

namespace vistrel {

// How a file operation went: ok, or the reason it failed, for the user.
struct FileResult {
    bool ok = true;
    std::string reason;

    explicit operator bool() const { return ok; }
    static FileResult failure(std::string why) { return {false, std::move(why)}; }
};

} // namespace vistrel
