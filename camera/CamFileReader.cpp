#include "camera/CamFileReader.h"

#include "camera/CamKeyText.h"
#include "camera/CamPieceReader.h"
#include "camera/Enclosed.h"

#include <utility>

namespace vistrel {

namespace {

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
    const std::string pattern = enclosed('[', upperCamName(section), ']');
    const std::string upperKey = upperCamName(key);

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
            result.value = camValueOf(cText(piece), line.equals);
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

} // namespace vistrel
