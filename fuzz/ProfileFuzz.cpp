// Random settings files through the profile reader and editor: reading never fails, and a value
// written is the value read back (without the quotes of a quoted value).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/Profile.h"

namespace {

std::string trimmed(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    std::size_t start = 0;
    while (start < text.size() && blank(text[start])) {
        ++start;
    }
    return text.substr(start);
}

// A value written in a matching pair of quotes reads back without them.
std::string unquoted(const std::string& text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "profile: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vistrel::fuzz::FuzzInput input(data, size);
    const std::size_t capacity = input.byte();
    const std::string section = input.name(16);
    const std::string key = input.name(16);
    const std::string value = input.name(24);
    const std::string contents = input.rest();

    const std::string read = vistrel::readProfileString(contents, section, key, "default", capacity);
    if (capacity == 0 ? !read.empty() : read.size() > capacity - 1) {
        fail("value longer than the buffer");
    }
    (void)vistrel::readProfileInt(contents, section, key, -1);
    (void)vistrel::profileTextToInt(value);

    if (!vistrel::profileNameProblem(section).empty() || !vistrel::profileNameProblem(key).empty() ||
        !vistrel::profileValueProblem(value).empty()) {
        return 0;
    }
    const std::string edited = vistrel::withProfileString(contents, section, key, value);
    const std::string back = vistrel::readProfileString(edited, section, key, "\x01missing", 4096);
    if (back != unquoted(trimmed(value))) {
        fail("value written is not the value read back");
    }
    const std::string removed = vistrel::withoutProfileSection(edited, section);
    if (vistrel::readProfileString(removed, section, key, "\x01missing", 4096) != "\x01missing") {
        fail("key still there after its section was removed");
    }
    return 0;
}
