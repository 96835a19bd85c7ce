// Random file contents and random section and key names through the description reader, checked
// against a plain model of the reading rules that holds the whole file in memory.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "camera/CamFileLint.h"
#include "camera/CamFileReader.h"
#include "fuzz/FuzzInput.h"

namespace {

std::string cString(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// What a text-mode fgets(buf, 100) loop returns, one string per call.
std::vector<std::string> modelPieces(const std::string& raw) {
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) {
            text += raw[i];
        }
    }
    std::vector<std::string> pieces;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = 0;
        while (length < 99 && pos + length < text.size()) {
            if (text[pos + length++] == '\n') {
                break;
            }
        }
        pieces.push_back(text.substr(pos, length));
        pos += length;
    }
    return pieces;
}

std::string modelRead(const std::string& raw, const std::string& section, const std::string& key) {
    const std::vector<std::string> pieces = modelPieces(raw);
    const std::string pattern = upper("[" + cString(section) + "]");
    const std::string wanted = upper(cString(key));
    std::size_t i = 0;
    while (i < pieces.size() && upper(cString(pieces[i])).find(pattern) == std::string::npos) {
        ++i;
    }
    for (++i; i < pieces.size(); ++i) {
        const std::string text = cString(pieces[i]);
        const std::size_t equals = text.find('=');
        if (upper(text).find(wanted) != std::string::npos && equals != std::string::npos && equals > 0) {
            std::string value = text.substr(equals + 1);
            value = value.substr(0, value.find('\n'));
            while (!value.empty() && value.back() == ' ') {
                value.pop_back();
            }
            return value;
        }
        if (text.find('[') != std::string::npos) {
            return {};
        }
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vistrel::fuzz::FuzzInput input(data, size);
    const std::uint8_t mode = input.byte();
    const std::string section = input.name(24);
    const std::string key = input.name(12);
    const std::string contents = input.rest();
    const std::string& path = vistrel::fuzz::scratchPath();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(contents.data(), 1, contents.size(), file);
        std::fclose(file);
    }

    std::string out = "untouched";
    const int result = vistrel::ReadCamKey(path, section, key, out);
    const std::string expected = modelRead(contents, section, key);
    if (result != static_cast<int>(out.size()) || out != expected) {
        std::fprintf(stderr, "reader gave %d \"%s\", model \"%s\"\n", result, out.c_str(), expected.c_str());
        std::abort();
    }
    if ((mode & 0x0F) == 0) {
        // Now and then the whole load and the lint on the same file.
        const vistrel::LintedCamera linted = vistrel::lintCamFile(path);
        if (!linted.described || linted.warnings.size() > vistrel::kMaxLintWarnings) {
            std::abort();
        }
    }
    return 0;
}
