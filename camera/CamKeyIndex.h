#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "camera/CamFileReader.h"
#include "camera/CamFileSnapshot.h"

namespace vistrel {

// Answers key lookups from one snapshot, each exactly as LookupCamKey answers it on that file.
// Section lines are indexed in one pass when it is built; a section's lines are scanned once, the
// first time one of its keys is asked for, and numbered keys ("Value12") are then found through a
// table, so a load stays linear in the file however long its lists are.
class CamKeyIndex {
public:
    explicit CamKeyIndex(CamFileSnapshot snapshot);

    CamKeyLookup lookup(std::string_view section, std::string_view key);

    const CamFileSnapshot& snapshot() const { return m_snapshot; }

private:
    static constexpr std::size_t npos = CamFileSnapshot::npos;

    // A piece whose first "=" follows its first character: where it starts, where its C text ends.
    struct Candidate {
        std::size_t start = 0;
        std::size_t textEnd = 0;
    };
    // The lines of one section, after its section line.
    struct Block {
        std::vector<Candidate> candidates;
        std::size_t end = npos; // the piece with a "[" that ends the section; npos: end of file
        // For a key name such as "VALUE": each number n written after it on a candidate, and the
        // first candidate (index) where "VALUE" followed by n's digits stands.
        std::unordered_map<std::string, std::unordered_map<std::uint64_t, std::size_t>> numbered;
    };

    std::size_t findSection(const std::string& upperName);
    std::size_t cachedSection(std::string_view section);
    std::size_t scanForSection(const std::string& pattern) const;
    Block& blockAfter(std::size_t sectionPiece);
    std::size_t findKey(Block& block, const std::string& upperKey);
    std::string_view candidateText(const Candidate& candidate) const {
        return std::string_view(m_snapshot.text()).substr(candidate.start, candidate.textEnd - candidate.start);
    }
    const std::unordered_map<std::uint64_t, std::size_t>& numberedTable(Block& block, const std::string& word);
    void notePiece(CamKeyLookup& result, std::size_t start) const;

    CamFileSnapshot m_snapshot;
    // Hash of each bracket-free name written in brackets, to the first piece that holds it.
    std::unordered_map<std::uint64_t, std::size_t> m_sectionByHash;
    std::unordered_map<std::string, std::size_t> m_otherSections; // names with brackets, found by a scan
    std::unordered_map<std::size_t, Block> m_blocks;
    // A load asks for a section's keys one after another.
    std::string m_lastSection;
    std::size_t m_lastSectionPiece = npos;
};

} // namespace vistrel
