#include "link/SystemLink.h"

#include "link/CameraLinkChannel.h"
#include "link/CameraLinkExchange.h"
#include "link/ComPortChoice.h"
#include "platform/DeviceAccess.h"
#include "serial/halvex32.h"

#include <cstring>

namespace vistrel {

static_assert(kLinkStatusCapacity >= HVX_STATUS_MIN_SIZE, "Halvex32's status texts must fit");
static_assert(sizeof(LinkState::ReplyBuffer) >= HVX_REPLY_MIN_SIZE, "Halvex32's longest reply must fit");

namespace {
// Halvex32's text for a device it could not open; its other failures come after the open.
constexpr const char* kOpenFailedStatus = "Error On Opening Communication";
} // namespace

LinkResult SystemLink::outcome(int result, bool withReply) const {
    LinkResult out;
    out.result = result;
    out.status.assign(m_link.LinkStatusText, strnlen(m_link.LinkStatusText, kLinkStatusCapacity));
    if (withReply) {
        out.reply.assign(m_link.ReplyBuffer, strnlen(m_link.ReplyBuffer, kReplyBufferCapacity));
    }
    return out;
}

LinkResult SystemLink::open() {
    if (m_link.LinkKind == kLinkCameraLink) {
        return outcome(OpenCameraLinkChannel(m_link, m_link.LinkStatusText), false);
    }
    const std::string device = ComDeviceOf(m_link, m_link.LinkKind);
    LinkResult opened = outcome(HVX_ConnectDevice(m_link.LinkStatusText, device.c_str(), m_link.LinkBaudRate), false);
    if (opened.result == 0 && opened.status == kOpenFailedStatus) {
        opened.reason = DiagnoseDevice(device, DeviceProbe::TryOpening).text();
    }
    return opened;
}

LinkResult SystemLink::exchange(const std::string& command, int charDelayMs) {
    // Cleared whole, so that the bytes a failed read leaves behind are terminated.
    std::memset(m_link.ReplyBuffer, 0, sizeof m_link.ReplyBuffer);
    const int result = m_link.LinkKind == kLinkCameraLink
                           ? CameraLinkSendReceive(m_link, m_link.LinkStatusText, command.c_str(), m_link.ReplyBuffer,
                                                   kReplyBufferCapacity)
                           : HVX_SendData(m_link.LinkStatusText, command.c_str(), m_link.ReplyBuffer, charDelayMs);
    LinkResult out = outcome(result, true);
    out.lost = m_link.LinkKind != kLinkCameraLink && result == -2 && out.status == kTextConnexionLost;
    return out;
}

LinkResult SystemLink::checkLink() {
    if (m_link.LinkKind == kLinkCameraLink) {
        // The grabber libraries offer no way to see a lost channel without sending.
        return {m_link.SerialRef.isOpen() ? 1 : 0, {}, {}, false};
    }
    // A live line leaves the status text of the last operation as it was.
    char status[kLinkStatusCapacity] = {};
    const int result = HVX_CheckLink(status);
    LinkResult out{result, status, {}, result == -1};
    if (out.lost) {
        std::memcpy(m_link.LinkStatusText, status, sizeof status);
    }
    return out;
}

LinkResult SystemLink::close() {
    if (m_link.LinkKind == kLinkCameraLink) {
        CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
        return outcome(1, false);
    }
    return outcome(HVX_Disconn(m_link.LinkStatusText), false);
}

} // namespace vistrel
