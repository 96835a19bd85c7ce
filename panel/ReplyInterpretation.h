#pragma once

#include "camera/CameraDescription.h"
#include "link/Link.h"

#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

// What the panel's status line makes of a reply: the "NoError" text when the acknowledge text is
// anywhere in it; for a reply ">n" the text of error n (of error 0 when n has no slot); else the
// text of error 0.
struct ReplyInterpretation {
    bool acknowledged = false;
    std::optional<int> errorNumber; // the number the reply gave, when it gave one
    std::string text;               // bytes of the description
};
ReplyInterpretation interpretReply(const CameraDescription& description, std::string_view reply);

// What the panel makes of the link's answer to one of its commands: the reply it counts (only the
// bytes the link counted, up to a NUL; nothing after a failure), its meaning, and the panel's
// result (the link's, or 0 when the reply was not acknowledged).
struct PanelReply {
    std::string reply;
    ReplyInterpretation meaning;
    int result = 0;
};
PanelReply panelReplyOf(const CameraDescription& description, const LinkResult& exchanged);

} // namespace vistrel
