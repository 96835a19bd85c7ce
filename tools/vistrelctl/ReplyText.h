#pragma once

#include "camera/CameraDescription.h"

#include <optional>
#include <string>
#include <string_view>

namespace vistrel::ctl {

// Bytes for a terminal (a reply, a device name): printable ASCII as it is, a backslash doubled,
// CR, LF and tab as \r, \n and \t, every other byte as \xNN.
std::string escapedBytes(std::string_view bytes);

// What the panel's status line makes of a reply: the "NoError" text when the acknowledge text is in
// it; the text of error n for a reply ">n"; else the text of error 0.
struct ReplyInterpretation {
    bool acknowledged = false;
    std::optional<int> errorNumber; // the number the reply gave, when it gave one
    std::string text;               // bytes of the description
};
ReplyInterpretation interpretReply(const CameraDescription& description, std::string_view reply);

} // namespace vistrel::ctl
