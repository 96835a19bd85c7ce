#include "camera/CamKeyIndex.h"

#include <functional>
#include <optional>
#include <utility>

#include "camera/CamKeyText.h"
#include "camera/CamPieceReader.h"

namespace vistrel {

namespace {

constexpr std::size_t kMaxIndexedDigits = 18; // every such number fits 64 bits

std::uint64_t nameHash(std::string_view upperName) {
    return std::hash<std::string_view>{}(upperName);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A key of the form name + number ("VALUE12"), the number written without leading zeros.
struct NumberedKey {
    std::string word;
    std::uint64_t number = 0;
};

std::optional<NumberedKey> numberedKey(const std::string& upperKey) {
    std::size_t digits = upperKey.size();
    while (digits > 0 && isDigit(upperKey[digits - 1])) {
        --digits;
    }
    const std::size_t count = upperKey.size() - digits;
    if (digits == 0 || count == 0 || count > kMaxIndexedDigits || (count > 1 && upperKey[digits] == '0')) {
        return std::nullopt;
    }
    NumberedKey key{upperKey.substr(0, digits), 0};
    for (std::size_t i = digits; i < upperKey.size(); ++i) {
        key.number = key.number * 10 + static_cast<std::uint64_t>(upperKey[i] - '0');
    }
    return key;
}

} // namespace

CamKeyIndex::CamKeyIndex(CamFileSnapshot snapshot) : m_snapshot(std::move(snapshot)) {
    // A piece holds "[NAME]" for a NAME without brackets exactly when some "[" in it is followed,
    // before any other bracket, by "]": each such pair gives one name.
    const std::string& text = m_snapshot.text();
    std::string name;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = m_snapshot.pieceEnd(start);
        const std::string_view piece = cText(std::string_view(text).substr(start, end - start));
        std::size_t open = piece.find('[');
        while (open != std::string_view::npos) {
            const std::size_t next = piece.find_first_of("[]", open + 1);
            if (next == std::string_view::npos) {
                break;
            }
            if (piece[next] == ']') {
                name.clear();
                for (const char c : piece.substr(open + 1, next - open - 1)) {
                    name += asciiUpper(c);
                }
                m_sectionByHash.emplace(nameHash(name), start);
                open = piece.find('[', next + 1);
            } else {
                open = next;
            }
        }
        start = end;
    }
}

std::size_t CamKeyIndex::scanForSection(const std::string& pattern) const {
    const std::string& text = m_snapshot.text();
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = m_snapshot.pieceEnd(start);
        if (containsUpper(cText(std::string_view(text).substr(start, end - start)), pattern)) {
            return start;
        }
        start = end;
    }
    return npos;
}

std::size_t CamKeyIndex::findSection(const std::string& upperName) {
    const std::string pattern = "[" + upperName + "]";
    if (upperName.find_first_of("[]") == std::string::npos) {
        const auto it = m_sectionByHash.find(nameHash(upperName));
        if (it == m_sectionByHash.end()) {
            return npos;
        }
        // The table keeps the first piece for each hash; only a collision makes it the wrong one.
        if (containsUpper(cText(m_snapshot.piece(it->second)), pattern)) {
            return it->second;
        }
    }
    const auto known = m_otherSections.find(upperName);
    if (known != m_otherSections.end()) {
        return known->second;
    }
    const std::size_t found = scanForSection(pattern);
    m_otherSections.emplace(upperName, found);
    return found;
}

std::size_t CamKeyIndex::cachedSection(std::string_view section) {
    if (m_lastSectionPiece == npos || section != m_lastSection) {
        m_lastSectionPiece = findSection(upperCamName(section));
        m_lastSection = section;
    }
    return m_lastSectionPiece;
}

CamKeyIndex::Block& CamKeyIndex::blockAfter(std::size_t sectionPiece) {
    const auto [it, added] = m_blocks.try_emplace(sectionPiece);
    Block& block = it->second;
    if (!added) {
        return block;
    }
    const std::string& text = m_snapshot.text();
    for (std::size_t start = m_snapshot.pieceEnd(sectionPiece); start < text.size();) {
        const std::size_t end = m_snapshot.pieceEnd(start);
        const std::string_view piece = cText(std::string_view(text).substr(start, end - start));
        if (hasKeyEquals(piece)) {
            block.candidates.push_back({start, start + piece.size()});
        }
        if (piece.find('[') != std::string_view::npos) {
            block.end = start;
            break;
        }
        start = end;
    }
    return block;
}

const std::unordered_map<std::uint64_t, std::size_t>& CamKeyIndex::numberedTable(Block& block,
                                                                                 const std::string& word) {
    const auto [it, added] = block.numbered.try_emplace(word);
    auto& table = it->second;
    if (!added) {
        return table;
    }
    // "WORD" + digits stands in a text exactly where "WORD" is followed by a run of digits that
    // begins with those digits; so every prefix of such a run is a number found there.
    for (std::size_t i = 0; i < block.candidates.size(); ++i) {
        const std::string_view text = candidateText(block.candidates[i]); // digits have no case
        for (std::size_t at = findUpper(text, word); at != std::string_view::npos; at = findUpper(text, word, at + 1)) {
            std::size_t digit = at + word.size();
            if (digit >= text.size() || !isDigit(text[digit])) {
                continue;
            }
            if (text[digit] == '0') {
                table.emplace(0, i); // a longer run from "0" has a leading zero: no number's digits
                continue;
            }
            std::uint64_t number = 0;
            for (std::size_t count = 0; count < kMaxIndexedDigits && digit < text.size() && isDigit(text[digit]);
                 ++count, ++digit) {
                number = number * 10 + static_cast<std::uint64_t>(text[digit] - '0');
                table.emplace(number, i);
            }
        }
    }
    return table;
}

std::size_t CamKeyIndex::findKey(Block& block, const std::string& upperKey) {
    if (const std::optional<NumberedKey> numbered = numberedKey(upperKey)) {
        const auto& table = numberedTable(block, numbered->word);
        const auto it = table.find(numbered->number);
        return it == table.end() ? npos : block.candidates[it->second].start;
    }
    for (const Candidate& candidate : block.candidates) {
        if (containsUpper(candidateText(candidate), upperKey)) {
            return candidate.start;
        }
    }
    return npos;
}

void CamKeyIndex::notePiece(CamKeyLookup& result, std::size_t start) const {
    std::string_view piece = m_snapshot.piece(start);
    result.lineOffset = m_snapshot.fileOffset(start);
    result.continuation = !m_snapshot.atLineStart(start);
    if (!piece.empty() && piece.back() == '\n') {
        piece.remove_suffix(1);
    }
    result.piece = std::string(piece);
}

CamKeyLookup CamKeyIndex::lookup(std::string_view section, std::string_view key) {
    CamKeyLookup result;
    const std::size_t sectionPiece = cachedSection(section);
    if (sectionPiece == npos) {
        result.outcome = CamKeyLookup::Outcome::NoSection;
        return result;
    }
    result.sectionOffset = m_snapshot.fileOffset(sectionPiece);
    Block& block = blockAfter(sectionPiece);
    const std::size_t keyPiece = findKey(block, upperCamName(key));
    if (keyPiece != npos) {
        const std::string_view text = cText(m_snapshot.piece(keyPiece));
        result.outcome = CamKeyLookup::Outcome::Found;
        result.value = camValueOf(text, text.find('='));
        notePiece(result, keyPiece);
    } else if (block.end != npos) {
        result.outcome = CamKeyLookup::Outcome::SectionEnded;
        notePiece(result, block.end);
    } else {
        result.outcome = CamKeyLookup::Outcome::EndOfSection;
    }
    return result;
}

} // namespace vistrel
