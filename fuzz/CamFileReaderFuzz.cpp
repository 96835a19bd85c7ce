// Random file contents and random section and key names through the description reader, checked
// against a plain model of the reading rules that holds the whole file in memory; and every lookup
// of the snapshot index, checked against the per-file reader on the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "camera/CamFileDescribe.h"
#include "camera/CamFileLint.h"
#include "camera/CamFileLoader.h"
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

void requireSame(const vistrel::CamKeyLookup& indexed, const vistrel::CamKeyLookup& scanned, std::string_view section,
                 std::string_view key) {
    if (indexed.outcome != scanned.outcome || indexed.value != scanned.value ||
        indexed.sectionOffset != scanned.sectionOffset || indexed.lineOffset != scanned.lineOffset ||
        indexed.piece != scanned.piece || indexed.continuation != scanned.continuation) {
        std::fprintf(
            stderr, "[%.*s] %.*s: index gave %d \"%s\" at %lld/%lld cont %d, reader %d \"%s\" at %lld/%lld cont %d\n",
            static_cast<int>(section.size()), section.data(), static_cast<int>(key.size()), key.data(),
            static_cast<int>(indexed.outcome), indexed.value.c_str(), static_cast<long long>(indexed.sectionOffset),
            static_cast<long long>(indexed.lineOffset), indexed.continuation, static_cast<int>(scanned.outcome),
            scanned.value.c_str(), static_cast<long long>(scanned.sectionOffset),
            static_cast<long long>(scanned.lineOffset), scanned.continuation);
        std::abort();
    }
}

// Names worth asking for in this file: what stands between brackets and before each "=", as
// written, with and without a number after them, besides the names the input chose.
void probeNames(const std::string& contents, std::vector<std::string>& sections, std::vector<std::string>& keys) {
    for (std::size_t open = contents.find('['); open != std::string::npos && sections.size() < 5;
         open = contents.find('[', open + 1)) {
        const std::size_t close = contents.find(']', open + 1);
        if (close != std::string::npos && close - open <= 40) {
            sections.push_back(contents.substr(open + 1, close - open - 1));
        }
    }
    for (std::size_t equals = contents.find('='); equals != std::string::npos && keys.size() < 5;
         equals = contents.find('=', equals + 1)) {
        const std::size_t start = contents.find_last_of("\n[]", equals);
        const std::size_t from = start == std::string::npos ? 0 : start + 1;
        if (equals - from <= 20) {
            keys.push_back(contents.substr(from, equals - from));
        }
    }
    const std::size_t named = keys.size();
    for (std::size_t i = 0; i < named; ++i) {
        std::string word = keys[i];
        while (!word.empty() && word.back() >= '0' && word.back() <= '9') {
            word.pop_back();
        }
        for (const char* number : {"0", "1", "12", "01"}) {
            keys.push_back(word + number);
        }
    }
}

// Hears every lookup of a whole load and checks it against the per-file reader.
class CheckingObserver : public vistrel::LoadObserver {
public:
    explicit CheckingObserver(const std::string& path) : m_path(path) {}
    void lookedUp(std::string_view section, std::string_view key, const vistrel::CamKeyLookup& lookup) override {
        requireSame(lookup, vistrel::LookupCamKey(m_path, section, key), section, key);
    }

private:
    const std::string& m_path;
};

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

    std::optional<vistrel::CamFileKeys> keys = vistrel::CamFileKeys::open(path);
    if (!keys) {
        std::abort(); // a regular file always opens
    }
    std::vector<std::string> sections{section};
    std::vector<std::string> keyNames{key};
    probeNames(contents, sections, keyNames);
    // Sections in turn, each with every key, so that the index's tables are built in varied orders.
    for (std::size_t i = 0; i < sections.size(); ++i) {
        for (std::size_t j = 0; j < keyNames.size(); ++j) {
            const std::string& asked = keyNames[(i + j + mode) % keyNames.size()];
            requireSame(keys->lookup(sections[i], asked), vistrel::LookupCamKey(path, sections[i], asked), sections[i],
                        asked);
        }
    }

    if ((mode & 0x30) == 0) {
        // The whole load: every key it asks for, from one snapshot, against the per-file reader.
        CheckingObserver checking(path);
        if (!vistrel::describeCamFile(path, &checking)) {
            std::abort();
        }
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
