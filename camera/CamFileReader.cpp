#include "camera/CamFileReader.h"

#include "camera/CamPieceReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vistrel {

namespace {

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperText(std::string_view text) {
    std::string upper(cText(text)); // names are C strings to the reader as well
    for (char& c : upper) {
        c = asciiUpper(c);
    }
    return upper;
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Next position from `from` up to `last` where `c` stands, or npos.
std::size_t findByte(std::string_view text, char c, std::size_t from, std::size_t last) {
    const void* at = std::memchr(text.data() + from, c, last - from + 1);
    return at == nullptr ? std::string_view::npos
                         : static_cast<std::size_t>(static_cast<const char*>(at) - text.data());
}

// Whether the upper-cased text holds `upperNeedle`. Every lookup runs this on each line it passes,
// so candidates are found by the needle's first letter in either case and only they are compared.
bool containsUpper(std::string_view text, std::string_view upperNeedle) {
    if (upperNeedle.size() > text.size()) {
        return false;
    }
    if (upperNeedle.empty()) {
        return true;
    }
    const std::size_t last = text.size() - upperNeedle.size();
    const char upperFirst = upperNeedle[0];
    const char lowerFirst = asciiLower(upperFirst);
    std::size_t upperAt = findByte(text, upperFirst, 0, last);
    std::size_t lowerAt = lowerFirst == upperFirst ? std::string_view::npos : findByte(text, lowerFirst, 0, last);
    while (upperAt != std::string_view::npos || lowerAt != std::string_view::npos) {
        const std::size_t at = std::min(upperAt, lowerAt);
        std::size_t i = 1;
        while (i < upperNeedle.size() && asciiUpper(text[at + i]) == upperNeedle[i]) {
            ++i;
        }
        if (i == upperNeedle.size()) {
            return true;
        }
        if (at == last) {
            return false;
        }
        if (at == upperAt) {
            upperAt = findByte(text, upperFirst, at + 1, last);
        } else {
            lowerAt = findByte(text, lowerFirst, at + 1, last);
        }
    }
    return false;
}

std::string valueOf(std::string_view text, std::size_t equals) {
    std::string_view value = text.substr(equals + 1);
    value = value.substr(0, value.find('\n'));
    while (!value.empty() && value.back() == ' ') {
        value.remove_suffix(1); // blanks only: a trailing tab stays part of the value
    }
    return std::string(value);
}

// What a line inside the section is to a lookup: its key line, the end of the section, or neither.
struct Line {
    enum Kind { Other, KeyLine, EndsSection } kind = Other;
    std::size_t equals = 0;
};

Line classify(std::string_view text, std::string_view upperKey) {
    const std::size_t equals = text.find('=');
    if (equals != std::string_view::npos && equals > 0 && containsUpper(text, upperKey)) {
        return {Line::KeyLine, equals};
    }
    if (text.find('[') != std::string_view::npos) {
        return {Line::EndsSection, 0};
    }
    return {};
}

void notePiece(CamKeyLookup& result, const CamPieceReader& reader, std::string_view piece) {
    result.lineOffset = reader.pieceOffset();
    result.continuation = !reader.pieceAtLineStart();
    if (!piece.empty() && piece.back() == '\n') {
        piece.remove_suffix(1);
    }
    result.piece = std::string(piece);
}

} // namespace

CamKeyLookup LookupCamKey(const std::string& camFilePath, std::string_view section, std::string_view key) {
    CamKeyLookup result;
    CamPieceReader reader;
    if (!reader.open(camFilePath)) {
        return result;
    }
    const std::string pattern = "[" + upperText(section) + "]";
    const std::string upperKey = upperText(key);

    std::string_view piece;
    for (;;) {
        if (!reader.skipToBracket() || !reader.next(piece)) {
            result.outcome = reader.failed() ? CamKeyLookup::Outcome::CannotOpen : CamKeyLookup::Outcome::NoSection;
            return result;
        }
        if (containsUpper(cText(piece), pattern)) {
            break;
        }
    }
    result.sectionOffset = reader.pieceOffset();

    while (reader.next(piece)) {
        // Cutting at a NUL can only take a match away, so the cut is made only for lines that match.
        Line line = classify(piece, upperKey);
        if (line.kind != Line::Other && piece.find('\0') != std::string_view::npos) {
            line = classify(cText(piece), upperKey);
        }
        if (line.kind == Line::KeyLine) {
            result.outcome = CamKeyLookup::Outcome::Found;
            result.value = valueOf(cText(piece), line.equals);
            notePiece(result, reader, piece);
            return result;
        }
        if (line.kind == Line::EndsSection) {
            result.outcome = CamKeyLookup::Outcome::SectionEnded;
            notePiece(result, reader, piece);
            return result;
        }
    }
    result.outcome = reader.failed() ? CamKeyLookup::Outcome::CannotOpen : CamKeyLookup::Outcome::EndOfSection;
    return result;
}

int ReadCamKey(const std::string& camFilePath, std::string_view section, std::string_view key, std::string& out) {
    CamKeyLookup lookup = LookupCamKey(camFilePath, section, key);
    if (lookup.outcome == CamKeyLookup::Outcome::CannotOpen) {
        return 0;
    }
    out = std::move(lookup.value);
    return static_cast<int>(out.size());
}

bool CamFileOpens(const std::string& camFilePath) {
    CamPieceReader reader;
    return reader.open(camFilePath);
}

} // namespace vistrel
