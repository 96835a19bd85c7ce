#pragma once

#include "camera/CameraDescription.h"

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

} // namespace vistrel
