#include "camera/CamFileSnapshot.h"

#include <algorithm>
#include <cstring>

#include "camera/CamFileReader.h"
#include "camera/CamPieceReader.h"

namespace vistrel {

namespace {

// Keeps the pieces from the first one with a "[" on, and where the file had a CR that the pieces
// do not show, so that file offsets can be given back.
void collect(CamPieceReader& reader, std::string& text, std::int64_t& firstOffset, bool& firstAtLineStart,
             std::vector<std::size_t>& droppedCrs) {
    std::string_view piece;
    if (!reader.skipToBracket() || !reader.next(piece)) {
        return;
    }
    firstOffset = reader.pieceOffset();
    firstAtLineStart = reader.pieceAtLineStart();
    std::int64_t expected = firstOffset;
    do {
        if (reader.pieceOffset() != expected) {
            droppedCrs.push_back(text.size());
        }
        text.append(piece);
        expected = reader.pieceOffset() + static_cast<std::int64_t>(piece.size());
    } while (reader.next(piece));
}

} // namespace

std::optional<CamFileSnapshot> CamFileSnapshot::read(const std::string& camFilePath) {
    CamPieceReader reader;
    if (!reader.open(camFilePath)) {
        return std::nullopt;
    }
    CamFileSnapshot snapshot;
    collect(reader, snapshot.m_text, snapshot.m_firstOffset, snapshot.m_firstAtLineStart, snapshot.m_droppedCrs);
    // A read that failed half way leaves a partial file: the description counts as unreadable.
    if (reader.failed()) {
        return std::nullopt;
    }
    return snapshot;
}

std::size_t CamFileSnapshot::pieceEnd(std::size_t start) const {
    // The joined pieces cut again the same way: up to a line feed within 99 bytes, else 99 bytes.
    const std::size_t limit = std::min(m_text.size(), start + static_cast<std::size_t>(kCamPieceLength));
    const void* lf = std::memchr(m_text.data() + start, '\n', limit - start);
    return lf == nullptr ? limit : static_cast<std::size_t>(static_cast<const char*>(lf) - m_text.data()) + 1;
}

std::int64_t CamFileSnapshot::fileOffset(std::size_t start) const {
    const auto dropped = std::upper_bound(m_droppedCrs.begin(), m_droppedCrs.end(), start) - m_droppedCrs.begin();
    return m_firstOffset + static_cast<std::int64_t>(start) + static_cast<std::int64_t>(dropped);
}

} // namespace vistrel
