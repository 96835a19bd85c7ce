// vistrelctl send: one exchange with the camera over the link the program would use.
#include "camera/CamFileDescribe.h"
#include "link/CameraLinkLibrary.h"
#include "panel/ReplyInterpretation.h"
#include "tools/vistrelctl/CliPrompts.h"
#include "tools/vistrelctl/CtlLink.h"
#include "tools/vistrelctl/DisplayText.h"
#include "tools/vistrelctl/LinkOptions.h"
#include "tools/vistrelctl/LinkSetup.h"
#include "tools/vistrelctl/ReplyText.h"
#include "tools/vistrelctl/Subcommand.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace vistrel::ctl {

namespace {

using Json = nlohmann::ordered_json;

// One exchange over the program's own link: open, send, close.
std::optional<LinkResult> exchangeOnce(const SendOptions& options, int delayMs, int& exitCode) {
    CliPrompts prompts;
    LinkState state;
    if (!setUpLink(options, state, prompts)) {
        exitCode = kLinkExitNoLink;
        return std::nullopt;
    }
    std::optional<LinkResult> exchange;
    CtlLink observed(state);
    std::string error;
    if (!observed.openTranscript(options.transcript, error)) {
        std::fprintf(stderr, "vistrelctl send: %s\n", error.c_str());
        exitCode = kLinkExitNoLink;
    } else if (const LinkResult opened = observed.link().open(); opened.result == 0) {
        exitCode = reportLinkNotOpened(state, opened.status, opened.reason);
    } else {
        exchange = observed.link().exchange(options.command, delayMs);
        if (observed.lost()) {
            exitCode = observed.reportLost();
            exchange.reset(); // nothing more on a dead line, not even a close
        } else {
            observed.link().close();
        }
    }
    if (state.LinkKind == kLinkCameraLink) {
        ReleaseCameraLinkLibrary(state, prompts);
    }
    if (const std::optional<int> stuck = reportGrabberStuck(state)) {
        exitCode = *stuck;
        return std::nullopt;
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
            "                      [--library PATH] [--port N] [--cam FILE] [--settings FILE] [--transcript FILE|-]\n"
            "                      [--json] COMMAND\n",
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
        meaning = interpretReply(camera->description, *exchange);
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
