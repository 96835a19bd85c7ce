#pragma once

#include <functional>

namespace vistrel {

// Owns one channel that clSerialInit opened: it is closed with `closer` (clSerialClose) when the
// owner goes out of scope, is assigned another, or close() runs, and never twice. The library that
// opened it must stay loaded until then.
class CameraLinkSerialChannel {
public:
    CameraLinkSerialChannel() = default;
    using Closer = std::function<void(void*)>;
    CameraLinkSerialChannel(Closer closer, void* ref) : m_close(std::move(closer)), m_ref(ref), m_open(true) {}
    ~CameraLinkSerialChannel();
    CameraLinkSerialChannel(CameraLinkSerialChannel&& other) noexcept;
    CameraLinkSerialChannel& operator=(CameraLinkSerialChannel&& other) noexcept;
    CameraLinkSerialChannel(const CameraLinkSerialChannel&) = delete;
    CameraLinkSerialChannel& operator=(const CameraLinkSerialChannel&) = delete;

    bool isOpen() const { return m_open; }
    // The reference to pass to the library's other entry points; null when closed.
    void* ref() const { return m_ref; }

    // Closes the channel when it is open; nothing otherwise.
    void close();
    // Forgets the channel without closing it: the library that owns it no longer answers.
    void abandon();

private:
    Closer m_close;
    void* m_ref = nullptr;
    bool m_open = false; // a library may hand back a null reference for an open channel
};

} // namespace vistrel
