#include "tools/camsim/CamSimOptions.h"

#include <charconv>

namespace vistrel::camsim {

namespace {

bool parseInt(const std::string& text, int low, int high, int& value) {
    int parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

const char* CamSimUsage() {
    return "Usage: vistrel-camsim --cam FILE [OPTION]...\n"
           "Simulates a camera that speaks the line protocol described by FILE (.cam), on a new\n"
           "pseudo-terminal whose path is printed on the first line, until interrupted.\n"
           "  --device PATH          serve an existing serial device instead\n"
           "  --baud N               its rate (default 9600)\n"
           "  --model TEXT           line answered to the identification command\n"
           "  --answer-delay MS      pause before each answer\n"
           "  --byte-delay MS        pause before each further byte of an answer\n"
           "  --leading BYTES        bytes sent before the \">\" (escapes \\r \\n \\t \\0 \\\\ \\xHH)\n"
           "  --answer MODE          normal, never, without-cr, garbage or overlong\n"
           "  --nul N                NUL bytes sent before every byte of an answer\n"
           "  --hang-up-after N      hang up after answering N commands\n"
           "  --cts MODE             asserted, low, or drop-after=N (a device with modem lines only)\n"
           "  --value-error N        error number answered to a refused value\n"
           "  --command-error N      error number answered to an unknown command\n"
           "  --transcript FILE      append what is received, with times (\"-\": standard error)\n"
           "  --exit-with-parent     end when the process that started it ends, however it ends\n"
           "  --help                 show this help, then end\n"
           "  --version              show the version, then end\n"
           "Exit status: 0 when stopped by a signal or a hang-up, 1 when the description or the device\n"
           "cannot be used, 2 for a wrong command line.\n"
           "Full documentation: man vistrel-camsim\n";
}

bool UnescapeBytes(const std::string& text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case 'r':
            bytes += '\r';
            break;
        case 'n':
            bytes += '\n';
            break;
        case 't':
            bytes += '\t';
            break;
        case '0':
            bytes += '\0';
            break;
        case '\\':
            bytes += '\\';
            break;
        case 'x': {
            if (i + 2 >= text.size() || hexDigit(text[i + 1]) < 0 || hexDigit(text[i + 2]) < 0)
                return false;
            bytes += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

bool ParseCamSimOptions(const std::vector<std::string>& args, CamSimOptions& options, std::string& error) {
    constexpr int kMaxMs = 3600 * 1000;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (name == "--exit-with-parent") {
            options.exitWithParent = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const std::string& value = args[++i];
        int number = 0;
        auto needInt = [&](int low, int high) {
            if (parseInt(value, low, high, number))
                return true;
            error = name + ": not a number from " + std::to_string(low) + " to " + std::to_string(high) + ": " + value;
            return false;
        };
        if (name == "--cam") {
            options.camPath = value;
        } else if (name == "--device") {
            options.devicePath = value;
        } else if (name == "--baud") {
            if (!needInt(1, 4000000))
                return false;
            options.baud = number;
        } else if (name == "--model") {
            options.modelLine = value;
        } else if (name == "--transcript") {
            options.transcriptPath = value;
        } else if (name == "--answer-delay" || name == "--byte-delay") {
            if (!needInt(0, kMaxMs))
                return false;
            (name == "--answer-delay" ? options.knobs.answerDelay : options.knobs.byteDelay) =
                std::chrono::milliseconds(number);
        } else if (name == "--leading") {
            if (!UnescapeBytes(value, options.knobs.leadingBytes)) {
                error = "--leading: bad escape in " + value;
                return false;
            }
        } else if (name == "--answer") {
            using Answer = FaultKnobs::Answer;
            if (value == "normal")
                options.knobs.answer = Answer::Normal;
            else if (value == "never")
                options.knobs.answer = Answer::Never;
            else if (value == "without-cr")
                options.knobs.answer = Answer::WithoutCr;
            else if (value == "garbage")
                options.knobs.answer = Answer::Garbage;
            else if (value == "overlong")
                options.knobs.answer = Answer::Overlong;
            else {
                error = "--answer: unknown mode " + value;
                return false;
            }
        } else if (name == "--nul") {
            if (!needInt(0, 1000))
                return false;
            options.knobs.nulBytes = number;
        } else if (name == "--hang-up-after") {
            if (!needInt(1, 1000000000))
                return false;
            options.knobs.hangUpAfter = number;
        } else if (name == "--cts") {
            if (value == "asserted") {
                options.knobs.cts = FaultKnobs::Cts::Asserted;
            } else if (value == "low") {
                options.knobs.cts = FaultKnobs::Cts::Low;
            } else if (value.rfind("drop-after=", 0) == 0 &&
                       parseInt(value.substr(11), 0, 1000000000, options.knobs.ctsDropAfter)) {
                options.knobs.cts = FaultKnobs::Cts::DropAfter;
            } else {
                error = "--cts: expected asserted, low or drop-after=N: " + value;
                return false;
            }
        } else if (name == "--value-error" || name == "--command-error") {
            if (!needInt(0, 18))
                return false;
            (name == "--value-error" ? options.knobs.valueError : options.knobs.commandError) = number;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (!options.help && !options.version && options.camPath.empty()) {
        error = "--cam FILE is required";
        return false;
    }
    return true;
}

} // namespace vistrel::camsim
