#include "tools/camsim/ClSerSimConfig.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace vistrel::camsim {

namespace {

const char* systemGetenv(const char* name) {
    return std::getenv(name);
}

std::optional<long> number(const char* text) {
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0') {
        return std::nullopt;
    }
    return value;
}

long portCount(const char* (*getenv)(const char*)) {
    const long count = number(getenv("CLSERSIM_PORTS")).value_or(1);
    return count < 0 ? 0 : (count > kClSerSimMaxPorts ? kClSerSimMaxPorts : count);
}

} // namespace

std::string ClSerSimEnvironmentSignature() {
    // Every CLSERSIM_ variable, in a fixed order.
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "CLSERSIM_", 9) == 0) {
            entries.emplace_back(*entry);
        }
    }
    std::sort(entries.begin(), entries.end());
    std::string signature;
    for (const std::string& entry : entries) {
        signature += entry;
        signature += '\0';
    }
    return signature;
}

ClSerSimConfig ReadClSerSimConfig(const char* (*getenv)(const char*)) {
    if (getenv == nullptr) {
        getenv = systemGetenv;
    }
    // The port's own variable, else the one for every port.
    auto value = [getenv](const std::string& name, unsigned int port) -> const char* {
        const std::string own = name + "_" + std::to_string(port);
        if (const char* text = getenv(own.c_str())) {
            return text;
        }
        return getenv(name.c_str());
    };
    auto millis = [&](const std::string& name, unsigned int port) {
        const std::optional<long> ms = number(value(name, port));
        return Micros(ms && *ms > 0 ? *ms * 1000 : 0);
    };

    ClSerSimConfig config;
    const long count = portCount(getenv);
    for (unsigned int i = 0; i < static_cast<unsigned int>(count); ++i) {
        ClSerSimPortConfig port;
        if (const char* cam = value("CLSERSIM_CAM", i)) {
            port.camPath = cam;
        }
        if (const char* answer = value("CLSERSIM_ANSWER", i)) {
            const std::string a = answer;
            using A = FaultKnobs::Answer;
            port.knobs.answer = a == "never"       ? A::Never
                                : a == "withoutcr" ? A::WithoutCr
                                : a == "garbage"   ? A::Garbage
                                : a == "overlong"  ? A::Overlong
                                                   : A::Normal;
        }
        port.knobs.answerDelay = millis("CLSERSIM_ANSWER_DELAY", i);
        port.knobs.byteDelay = millis("CLSERSIM_BYTE_DELAY", i);
        if (const char* leading = value("CLSERSIM_LEADING", i)) {
            port.knobs.leadingBytes = leading;
        }
        const long writeFailure = number(value("CLSERSIM_WRITE_FAIL", i)).value_or(0);
        port.writeFailure = writeFailure == 1 ? kClErrTimeout : static_cast<int>(writeFailure);
        port.readError = static_cast<int>(number(value("CLSERSIM_READ_ERROR", i)).value_or(0));
        config.ports.push_back(port);
    }
    return config;
}

} // namespace vistrel::camsim
