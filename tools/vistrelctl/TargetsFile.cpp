#include "tools/vistrelctl/TargetsFile.h"

#include <algorithm>
#include <utility>

namespace vistrel::ctl {

std::optional<std::vector<std::string>> splitTargetLine(std::string_view line, std::string& error) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord) {
                words.push_back(std::exchange(word, {}));
                inWord = false;
            }
        } else if (c == '#' && !inWord) {
            break;
        } else if (c == '\'' || c == '"') {
            const std::size_t close = line.find(c, i + 1);
            std::size_t end = close;
            if (c == '"') {
                // In double quotes a backslash takes the next character as it is.
                for (end = i + 1; end < line.size() && line[end] != '"'; ++end) {
                    if (line[end] == '\\' && end + 1 < line.size()) {
                        ++end;
                    }
                    word += line[end];
                }
            } else if (close != std::string_view::npos) {
                word.append(line.substr(i + 1, close - i - 1));
            }
            if (end == std::string_view::npos || end >= line.size()) {
                error = std::string("unterminated ") + (c == '"' ? "double" : "single") + " quote";
                return std::nullopt;
            }
            i = end;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

std::vector<Target> readTargets(std::string_view text) {
    std::vector<Target> targets;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        ++number;
        Target target;
        target.line = number;
        if (std::optional<std::vector<std::string>> words =
                splitTargetLine(text.substr(start, end - start), target.error)) {
            target.words = std::move(*words);
        }
        if (!target.words.empty() || !target.error.empty()) {
            targets.push_back(std::move(target));
        }
        start = end + 1;
    }
    return targets;
}

} // namespace vistrel::ctl
