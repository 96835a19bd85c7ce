#pragma once

#include "platform/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel {

// Reads a description file the way a text-mode fgets(buf, 100, file) loop does: pieces of at most
// 99 bytes, each ending after its line feed when that fits; CR LF reads as LF. Memory stays fixed
// however long the file or its lines are.
class CamPieceReader {
public:
    // Opens a regular file for reading; anything else (directory, device, pipe) fails, and so does a
    // file whose first bytes cannot be read.
    bool open(const std::string& path);

    // The next piece, valid until the next call; false at end of file.
    bool next(std::string_view& piece);

    // Moves to the start of the next piece that holds a "[" byte, so that next() returns it;
    // pieces without one are passed over without being cut. False at end of file.
    bool skipToBracket();

    // True once a read failed. next() and skipToBracket() then report the end of the file, but the
    // file counts as one that cannot be opened, not as one that ends there.
    bool failed() const { return m_failed; }

    std::int64_t pieceOffset() const { return m_pieceOffset; } // file offset of the last piece
    bool pieceAtLineStart() const { return m_pieceAtLineStart; }

private:
    static constexpr std::size_t kCapacity = 16384;

    bool fill(std::size_t need);
    void passOver(std::size_t length);

    UniqueFd m_fd;
    bool m_eof = false;
    bool m_failed = false;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::int64_t m_bufferOffset = 0; // file offset of m_buffer[0]
    bool m_atLineStart = true;
    std::int64_t m_pieceOffset = 0;
    bool m_pieceAtLineStart = true;
    char m_buffer[kCapacity];
};

// The piece as the C string functions see it: up to its first NUL byte.
inline std::string_view cText(std::string_view piece) {
    const std::size_t nul = piece.find('\0');
    return nul == std::string_view::npos ? piece : piece.substr(0, nul);
}

} // namespace vistrel
