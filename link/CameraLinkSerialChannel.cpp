#include "link/CameraLinkSerialChannel.h"

#include <utility>

namespace vistrel {

CameraLinkSerialChannel::~CameraLinkSerialChannel() {
    close();
}

CameraLinkSerialChannel::CameraLinkSerialChannel(CameraLinkSerialChannel&& other) noexcept
    : m_close(std::exchange(other.m_close, nullptr)), m_ref(std::exchange(other.m_ref, nullptr)),
      m_open(std::exchange(other.m_open, false)) {}

CameraLinkSerialChannel& CameraLinkSerialChannel::operator=(CameraLinkSerialChannel&& other) noexcept {
    if (this != &other) {
        close();
        m_close = std::exchange(other.m_close, nullptr);
        m_ref = std::exchange(other.m_ref, nullptr);
        m_open = std::exchange(other.m_open, false);
    }
    return *this;
}

void CameraLinkSerialChannel::close() {
    const bool wasOpen = std::exchange(m_open, false);
    void* ref = std::exchange(m_ref, nullptr);
    // Taken out first: the closer may abandon this very channel when the library is stuck.
    const Closer closer = std::exchange(m_close, nullptr);
    if (wasOpen && closer) {
        closer(ref);
    }
}

void CameraLinkSerialChannel::abandon() {
    m_open = false;
    m_ref = nullptr;
    m_close = nullptr;
}

} // namespace vistrel
