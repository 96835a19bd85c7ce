// vistrelctl send: one exchange with the camera over the link the program would use.
#include "camera/CamFileDescribe.h"
#include "link/CameraLinkLibrary.h"
#include "link/ComPortChoice.h"
#include "link/SerialDevices.h"
#include "link/SystemLink.h"
#include "panel/ReplyInterpretation.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/DisplayText.h"
#include "tools/vistrelctl/LinkOptions.h"
#include "tools/vistrelctl/ReplyText.h"
#include "tools/vistrelctl/Subcommand.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

int failOpening(const LinkState& link, const std::string& status, const std::string& hint) {
    const std::string linkName =
        link.LinkKind == kLinkCameraLink ? "the Camera Link port" : ComDeviceOf(link, link.LinkKind);
    std::fprintf(stderr, "vistrelctl: cannot open %s: %s\n", linkName.c_str(), status.c_str());
    if (!hint.empty()) {
        std::fprintf(stderr, "vistrelctl: %s\n", hint.c_str());
    }
    return kLinkExitNoLink;
}

// The link the program would open, set up from the options: the kind, the device COM1 or COM2
// stands for (the mapping, or --device), the rate, the Camera Link library and port.
bool setUpLink(const SendOptions& options, LinkState& link, Prompts& prompts) {
    link.LinkKind = options.linkKind;
    link.LinkBaudRate = options.baud;
    if (options.linkKind != kLinkCameraLink) {
        link.ComDevice[options.linkKind == kLinkCom2 ? 1 : 0] = options.device;
        return true;
    }
    link.CameraLinkPort = options.port;
    return LoadCameraLinkLibrary(link, prompts, options.library) == CameraLinkLoad::Bound;
}

// One exchange over the program's own link: open, send, close.
std::optional<LinkResult> exchangeOnce(const SendOptions& options, int delayMs, int& exitCode) {
    CliPrompts prompts;
    LinkState state;
    if (!setUpLink(options, state, prompts)) {
        exitCode = kLinkExitNoLink;
        return std::nullopt;
    }
    SystemLink link(state);
    std::optional<LinkResult> exchange;
    if (const LinkResult opened = link.open(); opened.result == 0) {
        // A serial device the user may not open gets a hint on what to do about it.
        const std::string hint = state.LinkKind == kLinkCameraLink
                                     ? std::string()
                                     : DevicePermissionProblem(ComDeviceOf(state, state.LinkKind));
        exitCode = failOpening(state, opened.status, hint);
    } else {
        exchange = link.exchange(options.command, delayMs);
        link.close();
    }
    if (state.LinkKind == kLinkCameraLink) {
        ReleaseCameraLinkLibrary(state, prompts);
    }
    return exchange;
}

} // namespace

int runSend(const std::vector<std::string>& args) {
    std::string error;
    const std::optional<SendOptions> options = parseSendOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "vistrelctl send: %s\n", error.c_str());
        std::fputs(
            "usage: vistrelctl send [--link com1|com2|cameralink] [--device PATH] [--baud N] [--delay MS]\n"
            "                      [--library PATH] [--port N] [--cam FILE] [--settings FILE] [--json] COMMAND\n",
            stderr);
        return kLinkExitNoLink;
    }
    std::optional<DescribedCamera> camera;
    if (!options->camFile.empty()) {
        camera = describeCamFile(options->camFile);
        if (!camera) {
            std::fprintf(stderr, "vistrelctl send: cannot read the camera description %s\n", options->camFile.c_str());
            return kLinkExitNoLink;
        }
    }
    const int delayMs = options->delayMs.value_or(camera ? camera->description.CharDelayMs : kDefaultCharDelayMs);

    int exitCode = kLinkExitOk;
    const std::optional<LinkResult> exchange = exchangeOnce(*options, delayMs, exitCode);
    if (!exchange) {
        return exitCode;
    }
    std::optional<ReplyInterpretation> meaning;
    if (camera) {
        meaning = interpretReply(camera->description, exchange->reply);
    }

    if (options->json) {
        Json json;
        json["command"] = displayText(options->command);
        json["result"] = exchange->result;
        json["status"] = exchange->status;
        json["reply"] = displayText(exchange->reply);
        if (meaning) {
            json["interpretation"] = {{"acknowledged", meaning->acknowledged},
                                      {"errorNumber", meaning->errorNumber ? Json(*meaning->errorNumber) : Json()},
                                      {"text", displayText(meaning->text)}};
        } else {
            json["interpretation"] = nullptr;
        }
        std::printf("%s\n", json.dump().c_str());
    } else {
        std::printf("%s\n", escapedBytes(exchange->reply).c_str());
        std::printf("result: %d\nstatus: %s\n", exchange->result, exchange->status.c_str());
        if (meaning) {
            std::printf("interpretation: %s\n", displayText(meaning->text).c_str());
        }
    }
    return exchange->result > 0 ? kLinkExitOk : kLinkExitExchangeFailed;
}

} // namespace vistrel::ctl
