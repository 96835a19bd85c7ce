// Halvex32 over the network against the same simulated camera direct:
//   network_timing [COUNT] [DELAY]
// the median round trip of "G=2" on the simulator's pseudo-terminal, through ser2net's RFC 2217
// accepter and through its raw TCP accepter (ser2net on 127.0.0.1 with chardelay off), then a line
// paced at DELAY ms through RFC 2217, each character's arrival at the simulator against its deadline.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "serial/halvex32.h"
#include "tools/camsim/Ser2netFront.h"
#include "tools/camsim/SimServer.h"

namespace {

using Clock = std::chrono::steady_clock;
using vistrel::camsim::Ser2netFront;

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// `count` exchanges on one connection to `device`, after a tenth as many to warm up.
bool measure(const std::string& device, int count, std::vector<double>& ms) {
    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    if (HVX_ConnectDevice(status, device.c_str(), 9600) != 1) {
        std::fprintf(stderr, "network_timing: %s: %s\n", device.c_str(), status);
        return false;
    }
    for (int i = 0; i < count + count / 10; ++i) {
        const auto start = Clock::now();
        if (HVX_SendData(status, "G=2", reply, 0) != 4) {
            std::fprintf(stderr, "network_timing: %s: %s\n", device.c_str(), status);
            return false;
        }
        if (i >= count / 10)
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    HVX_Disconn(status);
    // ser2net lets go of the device a moment after the connection closes; the next way opens it.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return true;
}

// Earliest arrival at the simulator of a character of a paced line, less its deadline (ms).
double pacedMargin(vistrel::camsim::SimServer& server, const std::string& url, int delayMs, int chars) {
    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    if (HVX_ConnectDevice(status, url.c_str(), 9600) != 1) {
        std::fprintf(stderr, "network_timing: %s: %s\n", url.c_str(), status);
        return -1e9;
    }
    const std::string command = "E=" + std::string(static_cast<std::size_t>(chars - 3), '7');
    const auto start = Clock::now();
    const int result = HVX_SendData(status, command.c_str(), reply, delayMs);
    if (result <= 0)
        std::fprintf(stderr, "network_timing: paced line: %s\n", status);
    HVX_Disconn(status);
    const auto transcript = server.transcript();
    double margin = 1e9;
    int index = 0;
    // The simulator keeps a bounded transcript: the line is what arrived after the call began.
    for (const auto& entry : transcript) {
        const auto arrival = server.startedAt() + entry.at - start;
        for (std::size_t k = 0; arrival.count() >= 0 && k < entry.bytes.size(); ++k) {
            margin = std::min(margin, std::chrono::duration<double, std::milli>(arrival).count() - delayMs * ++index);
        }
    }
    if (index != chars)
        std::fprintf(stderr, "network_timing: %d characters arrived\n", index);
    return result > 0 && index == chars ? margin : -1e9;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
    const int delayMs = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 200) : 20;
    vistrel::camsim::SimCamera camera;
    camera.controls = {{vistrel::camsim::SimControl::Kind::Combo, "G", {"0", "1", "2"}, "0"},
                       {vistrel::camsim::SimControl::Kind::List, "E", {}, "0"}};
    std::string error;
    auto server = vistrel::camsim::SimServer::openPty(vistrel::camsim::CameraModel(camera), error);
    if (!server) {
        std::fprintf(stderr, "network_timing: %s\n", error.c_str());
        return 1;
    }
    server->start();
    Ser2netFront rfc2217(server->devicePath(), Ser2netFront::Accepter::Rfc2217);
    Ser2netFront raw(server->devicePath(), Ser2netFront::Accepter::Raw);
    if (!rfc2217.ok() || !raw.ok()) {
        std::fprintf(stderr, "network_timing: %s%s\n", rfc2217.error().c_str(), raw.error().c_str());
        return 1;
    }
    const std::string devices[3] = {server->devicePath(), rfc2217.url(), raw.url()};
    const char* names[3] = {"direct (pseudo-terminal)", "rfc2217 via ser2net", "tcp via ser2net"};
    std::vector<double> samples[3];
    // Blocks of the three in turn, so that each sees the same load on a shared machine.
    constexpr int kBlocks = 4;
    for (int block = 0; block < kBlocks; ++block) {
        for (int way = 0; way < 3; ++way) {
            if (!measure(devices[way], std::max(1, count / kBlocks), samples[way]))
                return 1;
        }
    }
    std::printf("round trip of G=2, median of %zu each:\n", samples[0].size());
    for (int way = 0; way < 3; ++way)
        std::printf("  %-26s %.3f ms (%.2f x direct)\n", names[way], median(samples[way]),
                    median(samples[way]) / median(samples[0]));
    const double limit = 1.5 * median(samples[0]) + 0.2;
    const bool met = median(samples[1]) <= limit;
    std::printf("  target: rfc2217 <= 1.5 x direct + 0.2 ms = %.3f ms: %s\n", limit, met ? "met" : "MISSED");

    const int chars = 20;
    bool paced = true;
    std::printf("pacing through rfc2217, %d characters at %d ms, earliest arrival at the simulator less its "
                "deadline:\n",
                chars, delayMs);
    for (int run = 0; run < 3; ++run) {
        const double margin = pacedMargin(*server, rfc2217.url(), delayMs, chars);
        paced = paced && margin >= 0;
        std::printf("  run %d: %+.3f ms %s\n", run, margin, margin >= 0 ? "ok" : "EARLY or failed");
    }
    return met && paced ? 0 : 3;
}
