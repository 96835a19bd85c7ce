#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// A description file read once, as the pieces the per-file reader sees: the pieces from the first
// one that holds a "[" to the end, joined (CR LF already read as LF). Pieces before that one can
// matter to no lookup, so a file padded at the front costs no memory for the padding.
// Positions are offsets into text(); a piece starts at 0 or right after the end of another.
class CamFileSnapshot {
public:
    static constexpr std::size_t npos = std::string::npos;

    // Nothing when the file cannot be opened as the reader opens it.
    static std::optional<CamFileSnapshot> read(const std::string& camFilePath);

    const std::string& text() const { return m_text; }
    // End of the piece that starts at `start`.
    std::size_t pieceEnd(std::size_t start) const;
    std::string_view piece(std::size_t start) const {
        return std::string_view(m_text).substr(start, pieceEnd(start) - start);
    }
    // Offset in the file of the piece that starts at `start`.
    std::int64_t fileOffset(std::size_t start) const;
    // Whether that piece begins a line, rather than continuing one longer than 99 characters.
    bool atLineStart(std::size_t start) const { return start == 0 ? m_firstAtLineStart : m_text[start - 1] == '\n'; }

private:
    std::string m_text;
    std::int64_t m_firstOffset = 0;
    bool m_firstAtLineStart = true;
    std::vector<std::size_t> m_droppedCrs; // starts of the pieces that follow a CR dropped before LF
};

} // namespace vistrel
