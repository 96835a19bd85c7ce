#include "link/TranscriptJson.h"

#include <algorithm>

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

// Milliseconds to the microsecond: 27.400 reads 27.4, one decimal is kept. Integer arithmetic, as
// the line is made for every exchange.
void appendMilliseconds(std::string& out, std::chrono::nanoseconds duration) {
    const long long us = std::max<long long>(0, (duration.count() + 500) / 1000);
    out += std::to_string(us / 1000);
    out += '.';
    long long fraction = us % 1000;
    int digits = 3;
    while (digits > 1 && fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    const std::string text = std::to_string(fraction);
    out.append(static_cast<std::size_t>(digits) - text.size(), '0');
    out += text;
}

void appendTwo(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

} // namespace

std::string utcTimeText(std::int64_t utcMs) {
    std::int64_t seconds = utcMs / 1000;
    std::int64_t millis = utcMs % 1000;
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    std::int64_t days = seconds / 86400;
    std::int64_t ofDay = seconds % 86400;
    if (ofDay < 0) {
        ofDay += 86400;
        --days;
    }
    // The civil date of a day count (proleptic Gregorian), without the C library's locked calls.
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const auto day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const auto month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    std::string text = std::to_string(year);
    text.insert(0, text.size() < 4 ? 4 - text.size() : 0, '0');
    text += '-';
    appendTwo(text, month);
    text += '-';
    appendTwo(text, day);
    text += 'T';
    appendTwo(text, static_cast<int>(ofDay / 3600));
    text += ':';
    appendTwo(text, static_cast<int>(ofDay / 60 % 60));
    text += ':';
    appendTwo(text, static_cast<int>(ofDay % 60));
    text += '.';
    text += static_cast<char>('0' + millis / 100);
    appendTwo(text, static_cast<int>(millis % 100));
    text += 'Z';
    return text;
}

std::string transcriptJsonLine(const LinkEvent& event) {
    std::string line;
    line.reserve(96 + event.link.size() + event.command.size() + event.reply.size() + event.status.size());
    line += "{\"time\":\"";
    line += utcTimeText(event.startUtcMs);
    line += "\",\"op\":\"";
    line += linkOpName(event.op);
    line += "\",\"link\":";
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
    line += ",\"ms\":";
    appendMilliseconds(line, event.duration);
    line += '}';
    return line;
}

} // namespace vistrel
