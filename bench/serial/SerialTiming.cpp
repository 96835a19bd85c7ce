// Timing figures of the serial link library.
//   serial_timing roundtrip DEVICE [COUNT]  median round trip of "G=2" through HVX_SendData and through
//                                           a bare write/poll/read loop, against a simulator on DEVICE
//   serial_timing pacing [DELAY] [CHARS] [RUNS]  a paced line against an in-process simulator: earliest
//                                           character relative to its deadline, whole line, CPU share
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "serial/halvex32.h"
#include "tools/camsim/SimServer.h"

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

void summarise(const char* name, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (double s : samples)
        sum += s;
    std::printf("%-24s n=%zu  median %.1f us  p10 %.1f us  p90 %.1f us  mean %.1f us\n", name, samples.size(),
                samples[samples.size() / 2], samples[samples.size() / 10], samples[samples.size() * 9 / 10],
                sum / static_cast<double>(samples.size()));
}

// The floor: one write, then poll and read until the reply's closing CR after ">".
bool bareExchange(int fd) {
    static const char line[] = "G=2\r";
    if (write(fd, line, 4) != 4)
        return false;
    char buffer[256];
    bool answering = false;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 5000) != 1)
            return false;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EAGAIN)
                continue;
            return false;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == '>')
                answering = true;
            else if (answering && buffer[i] == '\r')
                return true;
        }
    }
}

int openBare(const char* device) {
    int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    if (fd < 0 || tcgetattr(fd, &t) != 0)
        return -1;
    cfmakeraw(&t);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Blocks of the two ways in turn, so that both see the same load on a shared machine.
int roundTrip(const char* device, int count) {
    constexpr int kBlocks = 10;
    const int perBlock = std::max(1, count / kBlocks);
    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    std::vector<double> library;
    std::vector<double> bare;
    for (int block = 0; block < kBlocks; ++block) {
        if (HVX_ConnectDevice(status, device, 9600) != 1) {
            std::fprintf(stderr, "serial_timing: %s: %s\n", device, status);
            return 1;
        }
        for (int i = 0; i < perBlock + perBlock / 10; ++i) {
            const auto start = Clock::now();
            if (HVX_SendData(status, "G=2", reply, 0) <= 0) {
                std::fprintf(stderr, "serial_timing: exchange failed: %s\n", status);
                return 1;
            }
            if (i >= perBlock / 10) // the first tenth of a block warms up
                library.push_back(micros(Clock::now() - start));
        }
        HVX_Disconn(status);

        int fd = openBare(device);
        if (fd < 0) {
            std::fprintf(stderr, "serial_timing: cannot open %s\n", device);
            return 1;
        }
        for (int i = 0; i < perBlock + perBlock / 10; ++i) {
            const auto start = Clock::now();
            if (!bareExchange(fd)) {
                std::fprintf(stderr, "serial_timing: bare exchange failed\n");
                return 1;
            }
            if (i >= perBlock / 10)
                bare.push_back(micros(Clock::now() - start));
        }
        close(fd);
    }
    summarise("HVX_SendData", library);
    summarise("bare write/poll/read", bare);
    return 0;
}

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

int pacing(int delayMs, int chars, int runs) {
    vistrel::camsim::SimCamera camera;
    camera.controls = {{vistrel::camsim::SimControl::Kind::List, "E", {}, "0"}};
    std::string error;
    auto server = vistrel::camsim::SimServer::openPty(vistrel::camsim::CameraModel(camera), error);
    if (!server) {
        std::fprintf(stderr, "serial_timing: %s\n", error.c_str());
        return 1;
    }
    server->start();
    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    if (HVX_ConnectDevice(status, server->devicePath().c_str(), 9600) != 1) {
        std::fprintf(stderr, "serial_timing: %s\n", status);
        return 1;
    }
    // chars - 1 digits and the CR.
    const std::string command = "E=" + std::string(static_cast<std::size_t>(std::max(0, chars - 3)), '7');
    const int n = static_cast<int>(command.size()) + 1;
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        const std::size_t before = server->transcript().size();
        const double threadCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double processCpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const auto start = Clock::now();
        int result = HVX_SendData(status, command.c_str(), reply, delayMs);
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double callerCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - threadCpu;
        const double allCpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpu;
        const auto transcript = server->transcript();
        if (result <= 0 || transcript.size() != before + static_cast<std::size_t>(n)) {
            std::fprintf(stderr, "serial_timing: run %d: %s, %zu pieces\n", run, status, transcript.size() - before);
            return 1;
        }
        double earliestMargin = 1e9; // arrival minus deadline, smallest over the line
        double last = 0;
        for (int i = 0; i < n; ++i) {
            const double arrival =
                std::chrono::duration<double, std::milli>(server->startedAt() +
                                                          transcript[before + static_cast<std::size_t>(i)].at - start)
                    .count();
            earliestMargin = std::min(earliestMargin, arrival - delayMs * (i + 1));
            last = arrival;
        }
        const bool ok = earliestMargin >= 0 && last <= n * delayMs + 1.0 && callerCpu <= 0.05 * wall;
        failures += ok ? 0 : 1;
        std::printf("run %d: %d chars at %d ms: earliest margin %+.3f ms, line %.3f ms (limit %d + 1), caller CPU "
                    "%.2f %% of wall, process CPU %.2f %% %s\n",
                    run, n, delayMs, earliestMargin, last, n * delayMs, 100.0 * callerCpu / wall, 100.0 * allCpu / wall,
                    ok ? "ok" : "MISSED");
    }
    HVX_Disconn(status);
    return failures == 0 ? 0 : 3;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "roundtrip") == 0)
        return roundTrip(argv[2], argc > 3 ? std::max(10, std::atoi(argv[3])) : 2000);
    if (argc >= 2 && std::strcmp(argv[1], "pacing") == 0) {
        int delay = argc > 2 ? std::atoi(argv[2]) : 20;
        int chars = argc > 3 ? std::atoi(argv[3]) : 20;
        int runs = argc > 4 ? std::atoi(argv[4]) : 5;
        if (delay < 1 || delay > 200 || chars < 3 || chars > 199 || runs < 1) {
            std::fprintf(stderr, "serial_timing pacing: DELAY 1-200, CHARS 3-199, RUNS >= 1\n");
            return 2;
        }
        return pacing(delay, chars, runs);
    }
    std::fprintf(stderr,
                 "usage: serial_timing roundtrip DEVICE [COUNT] | serial_timing pacing [DELAY] [CHARS] [RUNS]\n");
    return 2;
}
