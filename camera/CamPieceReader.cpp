#include "camera/CamPieceReader.h"

#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vistrel {

namespace {
constexpr std::size_t kPiece = 99;
// A piece may need one byte more than it holds: the CR dropped before its line feed.
constexpr std::size_t kWindow = kPiece + 1;
} // namespace

bool CamPieceReader::open(const std::string& path) {
    // Only regular files are read at all, since fopen of a directory succeeds on Linux and would
    // only fail at the first read.
    RegularFile opened = openRegularFile(path);
    if (!opened.fd) {
        return false;
    }
    m_fd = std::move(opened.fd);
    fill(kWindow);
    return !m_failed;
}

bool CamPieceReader::fill(std::size_t need) {
    if (m_pos > 0) {
        std::memmove(m_buffer, m_buffer + m_pos, m_end - m_pos);
        m_bufferOffset += static_cast<std::int64_t>(m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    while (!m_eof && m_end < need && m_end < kCapacity) {
        const ssize_t got = ::read(m_fd.get(), m_buffer + m_end, kCapacity - m_end);
        if (got > 0) {
            m_end += static_cast<std::size_t>(got);
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            m_eof = true;
            m_failed = got < 0;
        }
    }
    return m_end > m_pos;
}

bool CamPieceReader::next(std::string_view& piece) {
    if (!m_fd || m_failed) {
        return false;
    }
    if (m_end - m_pos < kWindow && !m_eof) {
        fill(kWindow);
    }
    const std::size_t avail = m_end - m_pos;
    if (avail == 0) {
        return false;
    }
    char* const p = m_buffer + m_pos;
    m_pieceOffset = m_bufferOffset + static_cast<std::int64_t>(m_pos);
    m_pieceAtLineStart = m_atLineStart;
    const std::size_t window = std::min(avail, kWindow);
    if (const void* lf = std::memchr(p, '\n', window)) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - p);
        const std::size_t data = (at > 0 && p[at - 1] == '\r') ? at - 1 : at;
        if (data < kPiece) {
            p[data] = '\n'; // drops the CR of a CR LF pair
            piece = std::string_view(p, data + 1);
            m_pos += at + 1;
            m_atLineStart = true;
            return true;
        }
    }
    const std::size_t length = std::min(window, kPiece);
    piece = std::string_view(p, length);
    m_pos += length;
    m_atLineStart = false;
    return true;
}

// Moves m_pos forward over `length` bytes that hold no "[" and stops at a piece start: after the
// last line feed in them, in steps of whole pieces of the line that follows.
void CamPieceReader::passOver(std::size_t length) {
    const char* const p = m_buffer + m_pos;
    std::size_t lineStart = 0;
    bool atLineStart = m_atLineStart;
    if (const void* lf = ::memrchr(p, '\n', length)) {
        lineStart = static_cast<std::size_t>(static_cast<const char*>(lf) - p) + 1;
        atLineStart = true;
    }
    const std::size_t pieces = (length - lineStart) / kPiece;
    m_pos += lineStart + pieces * kPiece;
    m_atLineStart = atLineStart && pieces == 0;
}

bool CamPieceReader::skipToBracket() {
    if (!m_fd || m_failed) {
        return false;
    }
    for (;;) {
        const std::size_t avail = m_end - m_pos;
        if (const void* bracket = std::memchr(m_buffer + m_pos, '[', avail)) {
            passOver(static_cast<std::size_t>(static_cast<const char*>(bracket) - (m_buffer + m_pos)));
            return true;
        }
        if (m_eof) {
            m_pos = m_end;
            return false;
        }
        passOver(avail);
        fill(m_end - m_pos + 1);
        if (m_failed) {
            return false;
        }
    }
}

} // namespace vistrel
