#pragma once

#include <optional>
#include <string>
#include <vector>

#include "camera/CamFileDescribe.h"

namespace vistrel {

struct LintWarning {
    int line = 0; // 1-based
    std::string message;
};

struct LintedCamera {
    std::optional<DescribedCamera> described; // nothing when the file cannot be opened
    std::vector<LintWarning> warnings;        // ordered by line
};

// At most this many warnings are kept, so a file of garbage cannot fill memory.
inline constexpr std::size_t kMaxLintWarnings = 1000;

// Loads the file as a freshly started program would, and notes what its author would want to
// know: keys read from another key's line, sections ended early, split lines, cut values, texts
// without values, error texts the table cannot hold, repeated sections, delays out of range.
LintedCamera lintCamFile(const std::string& camFilePath);

} // namespace vistrel
