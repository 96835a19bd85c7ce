#pragma once

#include "camera/CameraDescription.h"
#include "link/Link.h"

#include <optional>
#include <string>

namespace vistrel {

// What the panel's status line makes of one exchange. An exchange that framed no reply (a link
// result of 0 or below) failed: it shows the link's own status text, whatever the acknowledge
// text is. A framed reply shows the "NoError" text when the acknowledge text is anywhere in it;
// for a reply ">n" the text of error n (of error 0 when n has no slot); else the text of error 0.
struct ReplyInterpretation {
    bool acknowledged = false;
    bool exchangeFailed = false;
    std::optional<int> errorNumber; // the number the reply gave, when it gave one
    std::string text;               // bytes of the description, or the link's status text
};
ReplyInterpretation interpretReply(const CameraDescription& description, const LinkResult& exchanged);

// The reply an exchange framed: the bytes the link counted, up to a NUL; empty when it failed.
std::string framedReply(const LinkResult& exchanged);

// The panel's result of a command: a failed exchange keeps the link's own result, a reply the
// camera refused gives 0, an accepted one its length.
int panelResult(const LinkResult& exchanged, const ReplyInterpretation& meaning);

} // namespace vistrel
