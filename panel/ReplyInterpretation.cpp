#include "panel/ReplyInterpretation.h"

#include <algorithm>
#include <cctype>

namespace vistrel {

ReplyInterpretation interpretReply(const CameraDescription& description, std::string_view reply) {
    ReplyInterpretation result;
    // The reply is a terminated text: nothing after a NUL counts.
    reply = reply.substr(0, reply.find('\0'));
    if (reply.find(description.ackText) != std::string_view::npos) {
        result.acknowledged = true;
        result.text = description.replyTexts[0];
        return result;
    }
    // ">%d": optional white space, then a decimal number.
    if (!reply.empty() && reply[0] == '>') {
        std::size_t i = 1;
        while (i < reply.size() && std::isspace(static_cast<unsigned char>(reply[i]))) {
            ++i;
        }
        const std::size_t signAt = i;
        if (i < reply.size() && (reply[i] == '-' || reply[i] == '+')) {
            ++i;
        }
        long long number = 0;
        const std::size_t digitsAt = i;
        while (i < reply.size() && std::isdigit(static_cast<unsigned char>(reply[i])) && number < 1000000) {
            number = number * 10 + (reply[i] - '0');
            ++i;
        }
        if (i > digitsAt) {
            const int n = static_cast<int>(reply[signAt] == '-' ? -number : number);
            result.errorNumber = n;
            // A number without a slot (negative ones included) shows the text of error 0.
            const bool hasSlot = n >= 0 && n <= kLastErrorNumber;
            result.text = description.replyTexts[hasSlot ? static_cast<std::size_t>(n) + 1 : 1];
            return result;
        }
    }
    result.text = description.replyTexts[1];
    return result;
}

PanelReply panelReplyOf(const CameraDescription& description, const LinkResult& exchanged) {
    PanelReply out;
    if (exchanged.result > 0) {
        const std::size_t counted = std::min(static_cast<std::size_t>(exchanged.result), exchanged.reply.size());
        out.reply = exchanged.reply.substr(0, counted);
        out.reply = out.reply.substr(0, out.reply.find('\0'));
    }
    out.meaning = interpretReply(description, out.reply);
    out.result = out.meaning.acknowledged ? exchanged.result : 0;
    return out;
}

} // namespace vistrel
