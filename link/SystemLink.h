#pragma once

#include "link/Link.h"
#include "link/LinkState.h"

namespace vistrel {

// The link the program talks through: Halvex32 on the serial device that COM1 or COM2 stands for
// (LinkState::ComDevice), or the Camera Link channel of the bound grabber library. It works on the
// run's LinkState: the status text and the reply land in LinkStatusText and ReplyBuffer as well as
// in the result. exchange() touches nothing but the LinkState, so it may run on a worker thread
// while the thread that owns the state waits for it.
class SystemLink : public Link {
public:
    explicit SystemLink(LinkState& link) : m_link(link) {}

    // LinkKind 3: clSerialInit on CameraLinkPort ("Connexion OK" 1, "Connexion Error" 0).
    // Otherwise HVX_ConnectDevice on the device COM<LinkKind> stands for, at LinkBaudRate.
    LinkResult open() override;

    // LinkKind 3: CameraLinkSendReceive with capacity 200; otherwise HVX_SendData paced by
    // `charDelayMs`. ReplyBuffer is emptied first; the reply is what it holds afterwards (at most
    // 200 bytes), also after a failure that kept the bytes read so far. Halvex32's "Connexion
    // lost" sets `lost`.
    LinkResult exchange(const std::string& command, int charDelayMs) override;

    // LinkKind 3: closes the channel when clSerialInit opened one that is still open, "Connexion
    // Closed" (result 1) in any case. Otherwise HVX_Disconn.
    LinkResult close() override;

    // LinkKind 3: 1 while the channel is open, else 0 (a lost channel cannot be seen).
    // Otherwise HVX_CheckLink; a loss also lands in LinkStatusText.
    LinkResult checkLink() override;

private:
    LinkResult outcome(int result, bool withReply) const;

    LinkState& m_link;
};

} // namespace vistrel
