#include "camera/CamFileLint.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <unistd.h>
#include <utility>

#include "camera/CamPieceReader.h"
#include "camera/Enclosed.h"
#include "platform/RegularFile.h"

namespace vistrel {

namespace {

std::string upperText(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::string quoted(std::string_view text) {
    return enclosed('"', text, '"');
}

// The key a line was written for: the text before its first "=", blanks around it removed.
std::string ownKey(std::string_view piece) {
    std::string_view name = piece.substr(0, piece.find('='));
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
        name.remove_prefix(1);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.remove_suffix(1);
    }
    return std::string(name);
}

// Findings of the loading steps, placed by file offset until the lines are counted.
class LintObserver : public LoadObserver {
public:
    struct Finding {
        std::int64_t offset;
        std::string message;
    };

    void lookedUp(std::string_view section, std::string_view key, const CamKeyLookup& lookup) override {
        if (lookup.outcome != CamKeyLookup::Outcome::Found) {
            return;
        }
        const std::string owner = ownKey(cText(lookup.piece));
        if (upperText(owner) == upperText(key)) {
            return;
        }
        std::string message = quoted(key) + " of [" + std::string(section) + "] is read from this line";
        message += lookup.continuation ? ", the rest of a line longer than 99 characters"
                                       : ", the line of " + quoted(owner) + ", which comes first and holds its name";
        add(lookup.lineOffset, std::move(message));
    }

    void valueCut(std::string_view key, const CamKeyLookup& lookup, std::size_t capacity) override {
        add(lookup.lineOffset, "value of " + quoted(key) + " has " + std::to_string(lookup.value.size()) +
                                   " characters; only the first " + std::to_string(capacity) + " are kept");
    }

    void delayIgnored(const CamKeyLookup& lookup, long long value) override {
        add(lookup.lineOffset, "\"MilliSec\" of " + std::to_string(value) +
                                   " is outside 0 to 200 and is ignored: the delay stays as it was (75 ms at start)");
    }

    void replyTableFull() override { m_replyTableFull = true; }

    void textWithoutValue(int comboIndex, int number, const CamKeyLookup& textLookup) override {
        const std::string n = std::to_string(number);
        add(textLookup.lineOffset, "\"Text" + n + "\" of [" + comboSection(comboIndex) + "] has no \"Value" + n +
                                       "\": choosing it sends the command with no value");
    }

    void add(std::int64_t offset, std::string message) {
        if (m_findings.size() < kMaxLintWarnings) {
            m_findings.push_back({offset, std::move(message)});
        }
    }

    std::vector<Finding> m_findings;
    bool m_replyTableFull = false;
};

// Every section the program reads: its name, and the upper-cased pattern the reader looks for.
std::vector<std::pair<std::string, std::string>> knownSections() {
    std::vector<std::string> names = {"Special Cmd", "Receive message", "WaitBetweenChar"};
    for (int i = 0; i < kComboCount; ++i) {
        names.push_back(comboSection(i));
    }
    for (int i = 0; i < kCheckCount; ++i) {
        names.push_back(checkSection(i));
    }
    for (int i = 0; i < kListCount; ++i) {
        names.push_back(listSection(i));
    }
    std::vector<std::pair<std::string, std::string>> sections;
    for (const std::string& name : names) {
        sections.emplace_back(name, enclosed('[', upperText(name), ']'));
    }
    return sections;
}

// For a control section the panel has no control for ("[ComboBox9]", "[ListBox6]"), why it is
// ignored; empty for any other section.
std::string beyondTheControls(const std::string& section,
                              const std::vector<std::pair<std::string, std::string>>& known) {
    const std::string upper = upperText(section);
    for (const auto& [name, pattern] : known) {
        if (upper == pattern) {
            return {};
        }
    }
    struct Kind {
        const char* prefix;
        int count;
        const char* what;
    };
    for (const Kind kind : {Kind{"[COMBOBOX", kComboCount, "drop-down lists"},
                            Kind{"[CHECK", kCheckCount, "check boxes"}, Kind{"[LISTBOX", kListCount, "lists"}}) {
        const std::string_view prefix = kind.prefix;
        if (upper.size() > prefix.size() + 1 && upper.compare(0, prefix.size(), prefix) == 0 &&
            upper.find_first_not_of("0123456789", prefix.size()) == upper.size() - 1) {
            const std::string base = section.substr(1, prefix.size() - 1);
            return "section " + section + " is ignored: the panel has " + std::to_string(kind.count) + " " + kind.what +
                   ", " + base + "1 to " + base + std::to_string(kind.count);
        }
    }
    return {};
}

// What the layout of the file says by itself, line by line, as the reader sees it in pieces.
void lintLayout(const std::string& path, std::vector<LintWarning>& warnings) {
    CamPieceReader reader;
    if (!reader.open(path)) {
        return;
    }
    const auto sections = knownSections();
    std::vector<int> firstLine(sections.size(), 0);
    const auto warn = [&warnings](int line, std::string message) {
        if (warnings.size() < kMaxLintWarnings) {
            warnings.push_back({line, std::move(message)});
        }
    };

    int line = 1;
    std::size_t lineLength = 0;
    std::string section; // the section the current line belongs to, empty outside any
    std::string_view piece;
    while (reader.next(piece)) {
        const bool ends = piece.back() == '\n';
        lineLength += piece.size() - (ends ? 1 : 0);
        const std::string_view text = cText(piece);
        if (text.find('[') != std::string_view::npos) {
            const std::string upper = upperText(text);
            const std::size_t equals = text.find('=');
            if (equals != std::string_view::npos && equals > 0) {
                if (!section.empty()) {
                    warn(line, "\"[\" in this line ends section " + section +
                                   ": the lines after it up to the next section are not read from it");
                }
                section.clear();
            } else {
                const std::size_t open = text.find('[');
                const std::size_t close = text.find(']', open);
                section =
                    close == std::string_view::npos ? std::string() : std::string(text.substr(open, close - open + 1));
                if (std::string why = beyondTheControls(section, sections); !why.empty()) {
                    warn(line, std::move(why));
                }
            }
            for (std::size_t i = 0; i < sections.size(); ++i) {
                if (upper.find(sections[i].second) == std::string::npos) {
                    continue;
                }
                if (firstLine[i] == 0) {
                    firstLine[i] = line;
                } else {
                    warn(line, "section [" + sections[i].first + "] again: it is ignored, only the one on line " +
                                   std::to_string(firstLine[i]) + " is read");
                }
            }
        }
        if (ends) {
            if (lineLength > static_cast<std::size_t>(kCamPieceLength)) {
                warn(line, "line of " + std::to_string(lineLength) +
                               " characters: it is read as pieces of 99, each taken as a line of its own");
            }
            ++line;
            lineLength = 0;
        }
    }
    if (lineLength > static_cast<std::size_t>(kCamPieceLength)) {
        warn(line, "line of " + std::to_string(lineLength) +
                       " characters: it is read as pieces of 99, each taken as a line of its own");
    }
}

// Line numbers of the given file offsets, counted in one pass.
std::map<std::int64_t, int> linesAt(const std::string& path, std::vector<std::int64_t> offsets) {
    std::sort(offsets.begin(), offsets.end());
    std::map<std::int64_t, int> lines;
    const RegularFile opened = openRegularFile(path);
    if (!opened.fd) {
        return lines;
    }
    const int fd = opened.fd.get();
    std::array<char, 16384> buffer{};
    std::int64_t position = 0;
    int line = 1;
    std::size_t next = 0;
    while (next < offsets.size()) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got <= 0) {
            break;
        }
        for (ssize_t i = 0; i < got && next < offsets.size(); ++i, ++position) {
            while (next < offsets.size() && offsets[next] == position) {
                lines[offsets[next++]] = line;
            }
            if (buffer[static_cast<std::size_t>(i)] == '\n') {
                ++line;
            }
        }
    }
    return lines;
}

} // namespace

LintedCamera lintCamFile(const std::string& camFilePath) {
    LintedCamera result;
    LintObserver observer;
    std::optional<CamFileKeys> keys = CamFileKeys::open(camFilePath, &observer);
    if (!keys) {
        return result;
    }
    result.described = describeCamFile(*keys);
    if (observer.m_replyTableFull) {
        const CamKeyLookup beyond = keys->lookup("Receive message", "Error19");
        if (beyond.outcome == CamKeyLookup::Outcome::Found && !beyond.value.empty()) {
            observer.add(beyond.lineOffset, "error texts beyond \"Error18\" are not read: the table holds Error0 to "
                                            "Error18");
        }
    }
    // Only the first character of a command character text is ever sent.
    const CameraDescription& description = result.described->description;
    const auto characterOf = [&](const std::string& section, const std::string& character) {
        if (character.size() > 1) {
            observer.add(keys->lookup(section, "Character").lineOffset,
                         "\"Character\" of [" + section + "] is " + quoted(character) + ": only its first character " +
                             quoted(character.substr(0, 1)) + " is sent");
        }
    };
    for (int i = 0; i < kComboCount; ++i) {
        characterOf(comboSection(i), description.combos[static_cast<std::size_t>(i)].character);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        characterOf(checkSection(i), description.checks[static_cast<std::size_t>(i)].character);
    }
    for (int i = 0; i < kListCount; ++i) {
        characterOf(listSection(i), description.lists[static_cast<std::size_t>(i)].character);
    }
    lintLayout(camFilePath, result.warnings);

    std::vector<std::int64_t> offsets;
    for (const auto& finding : observer.m_findings) {
        offsets.push_back(finding.offset);
    }
    const std::map<std::int64_t, int> lines = linesAt(camFilePath, offsets);
    for (auto& finding : observer.m_findings) {
        const auto it = lines.find(finding.offset);
        result.warnings.push_back({it == lines.end() ? 0 : it->second, std::move(finding.message)});
    }
    std::stable_sort(result.warnings.begin(), result.warnings.end(),
                     [](const LintWarning& a, const LintWarning& b) { return a.line < b.line; });
    result.warnings.erase(std::unique(result.warnings.begin(), result.warnings.end(),
                                      [](const LintWarning& a, const LintWarning& b) {
                                          return a.line == b.line && a.message == b.message;
                                      }),
                          result.warnings.end());
    if (result.warnings.size() > kMaxLintWarnings) {
        result.warnings.resize(kMaxLintWarnings);
    }
    return result;
}

} // namespace vistrel
