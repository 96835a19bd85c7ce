#include "panel/ReplyInterpretation.h"

#include <algorithm>
#include <cctype>

namespace vistrel {

std::string framedReply(const LinkResult& exchanged) {
    if (exchanged.result <= 0) {
        return {};
    }
    // Only the bytes the link counted, up to a NUL, are the reply.
    std::string reply = exchanged.reply.substr(0, static_cast<std::size_t>(exchanged.result));
    return reply.substr(0, reply.find('\0'));
}

ReplyInterpretation interpretReply(const CameraDescription& description, const LinkResult& exchanged) {
    ReplyInterpretation result;
    // Nothing framed: the camera neither accepted nor refused anything, so the link says what happened.
    if (exchanged.result <= 0) {
        result.exchangeFailed = true;
        result.text = exchanged.status;
        return result;
    }
    const std::string reply = framedReply(exchanged);
    if (reply.find(description.ackText) != std::string::npos) {
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

int panelResult(const LinkResult& exchanged, const ReplyInterpretation& meaning) {
    return meaning.acknowledged ? exchanged.result : std::min(exchanged.result, 0);
}

} // namespace vistrel
