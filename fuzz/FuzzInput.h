#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

namespace vistrel::fuzz {

// Takes the fuzzer's bytes apart: a length byte then that many bytes, for each short name, and
// whatever is left as the file's contents.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::string name(std::size_t maxLength) {
        if (m_pos >= m_size) {
            return {};
        }
        const std::size_t wanted = m_data[m_pos++] % (maxLength + 1);
        const std::size_t length = std::min(wanted, m_size - m_pos);
        std::string text(reinterpret_cast<const char*>(m_data + m_pos), length);
        m_pos += length;
        return text;
    }
    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::string rest() { return {reinterpret_cast<const char*>(m_data + m_pos), m_size - std::min(m_pos, m_size)}; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// One scratch file per fuzzing process, in memory where possible, rewritten for every input and
// removed at exit.
inline const std::string& scratchPath() {
    struct Scratch {
        std::string path = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/vistrel-fuzz-") +
                           std::to_string(::getpid()) + ".cam";
        ~Scratch() { ::unlink(path.c_str()); }
    };
    static const Scratch scratch;
    return scratch.path;
}

} // namespace vistrel::fuzz
