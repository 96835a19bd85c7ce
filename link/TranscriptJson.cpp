#include "link/TranscriptJson.h"

#include <cstdio>
#include <ctime>

namespace vistrel {

namespace {

bool isUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size() || (length == 2 && lead < 0xC2)) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// A JSON string of `text`; with `asBytes` each byte is the code point of its number, otherwise
// bytes at or above 0x80 pass through as UTF-8.
void appendString(std::string& out, const std::string& text, bool asBytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else if (byte >= 0x80 && asBytes) {
                out += static_cast<char>(0xC0 | (byte >> 6));
                out += static_cast<char>(0x80 | (byte & 0x3F));
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

std::string millisecondsText(std::chrono::nanoseconds duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(duration.count()) / 1e6);
    std::string ms = text;
    // 27.400 reads 27.4; one decimal is kept.
    while (ms.size() > 2 && ms.back() == '0' && ms[ms.size() - 2] != '.') {
        ms.pop_back();
    }
    return ms;
}

} // namespace

std::string utcTimeText(std::int64_t utcMs) {
    std::int64_t seconds = utcMs / 1000;
    std::int64_t millis = utcMs % 1000;
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    const auto at = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&at, &utc);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(millis));
    return text;
}

std::string transcriptJsonLine(const LinkEvent& event) {
    std::string line =
        "{\"time\":\"" + utcTimeText(event.startUtcMs) + "\",\"op\":\"" + linkOpName(event.op) + "\",\"link\":";
    appendString(line, event.link, !isUtf8(event.link));
    if (event.hasCommand) {
        line += ",\"command\":";
        appendString(line, event.command, true);
    }
    if (event.hasReply) {
        line += ",\"reply\":";
        appendString(line, event.reply, true);
    }
    line += ",\"result\":" + std::to_string(event.result) + ",\"status\":";
    appendString(line, event.status, !isUtf8(event.status));
    line += ",\"ms\":" + millisecondsText(event.duration) + "}";
    return line;
}

} // namespace vistrel
