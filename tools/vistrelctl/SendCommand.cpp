// vistrelctl send: one exchange with the camera over the link the program would use.
#include "camera/CamFileDescribe.h"
#include "link/CameraLinkChannel.h"
#include "link/CameraLinkExchange.h"
#include "link/CameraLinkLibrary.h"
#include "link/SerialDevices.h"
#include "panel/ReplyInterpretation.h"
#include "serial/halvex32.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/DisplayText.h"
#include "tools/vistrelctl/LinkOptions.h"
#include "tools/vistrelctl/ReplyText.h"
#include "tools/vistrelctl/Subcommand.h"

#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

struct Exchange {
    int result = 0;
    std::string status;
    std::string reply;
};

int failOpening(const SendOptions& options, const std::string& status, const std::string& hint) {
    const char* linkName = options.linkKind == kLinkCameraLink ? "the Camera Link port" : options.device.c_str();
    std::fprintf(stderr, "vistrelctl: cannot open %s: %s\n", linkName, status.c_str());
    if (!hint.empty()) {
        std::fprintf(stderr, "vistrelctl: %s\n", hint.c_str());
    }
    return kLinkExitNoLink;
}

// Over a COM link: Halvex32 on the mapped or given device.
std::optional<Exchange> exchangeOverCom(const SendOptions& options, int delayMs, int& exitCode) {
    char status[kLinkStatusCapacity] = {};
    const int connected = HVX_ConnectDevice(status, options.device.c_str(), options.baud);
    if (connected != 1 && connected != -1) {
        exitCode = failOpening(options, status, DevicePermissionProblem(options.device));
        return std::nullopt;
    }
    char reply[kReplyBufferCapacity + 1] = {};
    Exchange exchange;
    exchange.result = HVX_SendData(status, options.command.c_str(), reply, delayMs);
    exchange.status = status;
    exchange.reply = reply;
    char closing[kLinkStatusCapacity] = {};
    HVX_Disconn(closing);
    return exchange;
}

// Over Camera Link: the library's port, through the program's own exchange.
std::optional<Exchange> exchangeOverCameraLink(const SendOptions& options, int& exitCode) {
    CliPrompts prompts;
    LinkState link;
    if (LoadCameraLinkLibrary(link, prompts, options.library) != CameraLinkLoad::Bound) {
        exitCode = kLinkExitNoLink;
        return std::nullopt;
    }
    link.CameraLinkPort = options.port;
    if (OpenCameraLinkChannel(link, link.LinkStatusText) != 1) {
        exitCode = failOpening(options, link.LinkStatusText, "");
        ReleaseCameraLinkLibrary(link, prompts);
        return std::nullopt;
    }
    Exchange exchange;
    exchange.result = CameraLinkSendReceive(link, link.LinkStatusText, options.command.c_str(), link.ReplyBuffer,
                                            kReplyBufferCapacity);
    exchange.status = link.LinkStatusText;
    // A failed read leaves what arrived unterminated; the buffer's spare byte bounds it.
    exchange.reply = std::string(link.ReplyBuffer, strnlen(link.ReplyBuffer, kReplyBufferCapacity));
    char closing[kLinkStatusCapacity] = {};
    CloseCameraLinkChannel(link, closing);
    ReleaseCameraLinkLibrary(link, prompts);
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
    const std::optional<Exchange> exchange = options->linkKind == kLinkCameraLink
                                                 ? exchangeOverCameraLink(*options, exitCode)
                                                 : exchangeOverCom(*options, delayMs, exitCode);
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
