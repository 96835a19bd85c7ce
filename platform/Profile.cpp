#include "platform/Profile.h"

#include "platform/AtomicReplace.h"
#include "platform/RegularFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

enum class LineKind { Blank, Section, Comment, Key, Other };

// One line of the file: where it starts, where its text ends (before its CR LF, LF or lone CR)
// and where the next line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t textEnd = 0;
    std::size_t next = 0;
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
};

// A UTF-8 byte-order mark, as editors on Windows put it at the start of a file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where the first line starts: after a leading byte-order mark, which belongs to no line.
std::size_t firstLineStart(std::string_view contents) {
    return contents.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

Line lineAt(std::string_view contents, std::size_t begin) {
    Line line;
    line.begin = begin;
    // LF, CR LF and a lone CR each end a line, as they do for the Windows profile functions.
    const std::size_t stop = contents.find_first_of("\r\n", begin);
    if (stop == std::string_view::npos) {
        line.textEnd = contents.size();
        line.next = contents.size();
    } else {
        line.textEnd = stop;
        const bool crLf = contents[stop] == '\r' && stop + 1 < contents.size() && contents[stop + 1] == '\n';
        line.next = stop + (crLf ? 2 : 1);
    }
    const std::string_view text = trimmed(contents.substr(begin, line.textEnd - begin));
    if (text.empty()) {
        line.kind = LineKind::Blank;
    } else if (text.front() == '[') {
        line.kind = LineKind::Section;
        const std::string_view inner = text.substr(1);
        line.name = trimmed(inner.substr(0, inner.find(']')));
    } else if (text.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (const std::size_t eq = text.find('='); eq != std::string_view::npos) {
        line.kind = LineKind::Key;
        line.name = trimmed(text.substr(0, eq));
        line.value = trimmed(text.substr(eq + 1));
    } else {
        line.kind = LineKind::Other;
    }
    return line;
}

// Position of the first header line of `section`, or npos.
std::size_t findSection(std::string_view contents, std::string_view section) {
    for (std::size_t pos = firstLineStart(contents); pos < contents.size();) {
        const Line line = lineAt(contents, pos);
        if (line.kind == LineKind::Section && sameName(line.name, section)) {
            return pos;
        }
        pos = line.next;
    }
    return std::string_view::npos;
}

// The first key line named `key` in the first section named `section`.
bool findKey(std::string_view contents, std::string_view section, std::string_view key, Line& found) {
    const std::size_t header = findSection(contents, section);
    if (header == std::string_view::npos) {
        return false;
    }
    for (std::size_t pos = lineAt(contents, header).next; pos < contents.size();) {
        const Line line = lineAt(contents, pos);
        if (line.kind == LineKind::Section) {
            return false;
        }
        if (line.kind == LineKind::Key && sameName(line.name, key)) {
            found = line;
            return true;
        }
        pos = line.next;
    }
    return false;
}

std::string_view lineEnding(std::string_view contents) {
    const std::size_t newline = contents.find('\n');
    return (newline != std::string_view::npos && newline > 0 && contents[newline - 1] == '\r') ? "\r\n" : "\n";
}

// A value in a matching pair of double or single quotes reads without them.
std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string systemReason(int error) {
    return std::strerror(error);
}

// Reads at most `limit` bytes; `truncated` tells whether more followed.
ProfileResult readAll(int fd, std::size_t limit, std::string& out, bool& truncated) {
    out.clear();
    truncated = false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ProfileResult::failure(systemReason(errno));
        }
        if (n == 0) {
            return {};
        }
        const auto got = static_cast<std::size_t>(n);
        if (out.size() + got > limit) {
            out.append(buffer, limit - out.size());
            truncated = true;
            return {};
        }
        out.append(buffer, got);
    }
}

} // namespace

int profileTextToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            magnitude = limit; // saturate, and keep skipping the remaining digits
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string readProfileString(std::string_view contents, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t capacity) {
    Line line;
    std::string_view value = findKey(contents, section, key, line) ? unquoted(line.value) : trimmed(defaultValue);
    if (capacity == 0) {
        return {};
    }
    if (value.size() > capacity - 1) {
        value = value.substr(0, capacity - 1);
    }
    return std::string(value);
}

int readProfileInt(std::string_view contents, std::string_view section, std::string_view key, int defaultValue) {
    Line line;
    // An empty value is no number at all: it gives the default, as a missing key does.
    if (!findKey(contents, section, key, line) || unquoted(line.value).empty()) {
        return defaultValue;
    }
    return profileTextToInt(unquoted(line.value));
}

std::string withProfileString(std::string_view contents, std::string_view section, std::string_view key,
                              std::string_view value) {
    const std::string_view eol = lineEnding(contents);
    std::string entry;
    entry.reserve(key.size() + value.size() + 1);
    entry.append(trimmed(key)).append("=").append(value);

    std::string result;
    result.reserve(contents.size() + entry.size() + section.size() + 8);
    const std::size_t header = findSection(contents, section);
    if (header == std::string_view::npos) {
        result.append(contents);
        if (result.size() > firstLineStart(contents) && result.back() != '\n' && result.back() != '\r') {
            result.append(eol);
        }
        result.append("[").append(trimmed(section)).append("]").append(eol);
        result.append(entry).append(eol);
        return result;
    }

    // Scan the section: replace the first matching key, or remember its last non-blank line.
    const Line headerLine = lineAt(contents, header);
    Line lastFilled = headerLine;
    for (std::size_t pos = headerLine.next; pos < contents.size();) {
        const Line line = lineAt(contents, pos);
        if (line.kind == LineKind::Section) {
            break;
        }
        if (line.kind == LineKind::Key && sameName(line.name, key)) {
            result.append(contents.substr(0, line.begin));
            result.append(line.name).append("=").append(value);
            result.append(contents.substr(line.textEnd));
            return result;
        }
        if (line.kind != LineKind::Blank) {
            lastFilled = line;
        }
        pos = line.next;
    }
    result.append(contents.substr(0, lastFilled.next));
    // The last line of a file may end without a line break: close it first, so the new key does not
    // run into its value. A line ending in a lone CR is closed already and stays as it is.
    if (lastFilled.next == lastFilled.textEnd) {
        result.append(eol);
    }
    result.append(entry).append(eol);
    result.append(contents.substr(lastFilled.next));
    return result;
}

std::string withoutProfileSection(std::string_view contents, std::string_view section) {
    std::string result(contents.substr(0, firstLineStart(contents)));
    result.reserve(contents.size());
    bool inside = false;
    for (std::size_t pos = firstLineStart(contents); pos < contents.size();) {
        const Line line = lineAt(contents, pos);
        if (line.kind == LineKind::Section) {
            inside = sameName(line.name, section);
        }
        if (!inside) {
            result.append(contents.substr(line.begin, line.next - line.begin));
        }
        pos = line.next;
    }
    return result;
}

std::string profileNameProblem(std::string_view name) {
    if (trimmed(name).empty()) {
        return "the name is empty";
    }
    if (trimmed(name).size() != name.size()) {
        return "the name begins or ends with a blank";
    }
    if (name.find_first_of("\r\n") != std::string_view::npos) {
        return "the name holds a line break";
    }
    if (name.find_first_of("=]") != std::string_view::npos || name.front() == '[' || name.front() == ';') {
        return "the name holds a character that the file format reserves";
    }
    return {};
}

std::string profileValueProblem(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return "the value holds a line break";
    }
    return {};
}

std::string loadProfile(const std::string& path, bool* exists) {
    std::string contents;
    // Only a regular file is read as settings, and a FIFO in its place cannot hang the program.
    const RegularFile opened = openRegularFile(path);
    bool truncated = false;
    const bool readable = opened.fd && readAll(opened.fd.get(), kProfileMaxBytes, contents, truncated).ok;
    if (!readable) {
        contents.clear();
    }
    if (exists != nullptr) {
        *exists = readable;
    }
    return contents;
}

std::string getProfileString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t capacity) {
    return readProfileString(loadProfile(path), section, key, defaultValue, capacity);
}

int getProfileInt(const std::string& path, std::string_view section, std::string_view key, int defaultValue) {
    return readProfileInt(loadProfile(path), section, key, defaultValue);
}

ProfileResult readProfileForEdit(const std::string& path, std::string& contents) {
    contents.clear();
    const RegularFile opened = openRegularFile(path);
    if (opened.notRegular) {
        return ProfileResult::failure(kNotRegularReason);
    }
    if (!opened.fd) {
        return opened.error == ENOENT ? ProfileResult{} : ProfileResult::failure(systemReason(opened.error));
    }
    bool truncated = false;
    ProfileResult result = readAll(opened.fd.get(), kProfileMaxBytes, contents, truncated);
    if (result.ok && truncated) {
        result = ProfileResult::failure(systemReason(EFBIG));
    }
    if (!result.ok) {
        contents.clear();
    }
    return result;
}

ProfileResult writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                                 std::string_view value) {
    for (const std::string_view name : {section, key}) {
        if (std::string problem = profileNameProblem(name); !problem.empty()) {
            return ProfileResult::failure(std::move(problem));
        }
    }
    if (std::string problem = profileValueProblem(value); !problem.empty()) {
        return ProfileResult::failure(std::move(problem));
    }
    std::string contents;
    if (ProfileResult read = readProfileForEdit(path, contents); !read.ok) {
        return read;
    }
    return replaceFileAtomically(path, withProfileString(contents, section, key, value));
}

} // namespace vistrel
