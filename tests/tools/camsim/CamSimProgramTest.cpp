#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "serial/halvex32.h"
#include "tools/camsim/CamSimOptions.h"
#include "tools/camsim/CameraModel.h"

namespace vistrel::camsim {
namespace {

std::string demoPath() {
    return VISTREL_TEST_DATA "/serial/demo.cam";
}

// vistrel-camsim started on the demo description with `arguments`; its pseudo-terminal is the
// first line it prints. `asanOptions` go to the simulator alone.
struct StartedSimulator {
    pid_t pid = -1;
    std::string device;
};
StartedSimulator startSimulator(const std::vector<std::string>& arguments, const std::string& asanOptions = {}) {
    std::vector<std::string> words = {CAMSIM_PATH, "--cam", demoPath()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) {
        return {};
    }
    StartedSimulator started;
    started.pid = fork();
    if (started.pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        if (!asanOptions.empty()) {
            const char* sanitizer = getenv("ASAN_OPTIONS");
            setenv("ASAN_OPTIONS", (std::string(sanitizer ? sanitizer : "") + ":" + asanOptions).c_str(), 1);
        }
        execv(CAMSIM_PATH, argv.data());
        _exit(127);
    }
    close(out[1]);
    char c = 0;
    while (started.pid > 0 && read(out[0], &c, 1) == 1 && c != '\n')
        started.device += c;
    close(out[0]);
    return started;
}

TEST(CamSimOptionsTest, ParsesKnobsAndRefusesBadArguments) {
    CamSimOptions options;
    std::string error;
    ASSERT_TRUE(ParseCamSimOptions({"--cam",           "a.cam",      "--answer-delay", "30",
                                    "--byte-delay",    "5",          "--leading",      "ab\\r\\x3e\\0",
                                    "--answer",        "without-cr", "--nul",          "2",
                                    "--hang-up-after", "3",          "--cts",          "drop-after=4",
                                    "--value-error",   "2",          "--device",       "/dev/ttyUSB0",
                                    "--baud",          "19200"},
                                   options, error))
        << error;
    EXPECT_EQ(options.camPath, "a.cam");
    EXPECT_EQ(options.knobs.answerDelay, std::chrono::milliseconds(30));
    EXPECT_EQ(options.knobs.byteDelay, std::chrono::milliseconds(5));
    EXPECT_EQ(options.knobs.leadingBytes, std::string("ab\r>\0", 5));
    EXPECT_EQ(options.knobs.answer, FaultKnobs::Answer::WithoutCr);
    EXPECT_EQ(options.knobs.nulBytes, 2);
    EXPECT_EQ(options.knobs.hangUpAfter, 3);
    EXPECT_EQ(options.knobs.cts, FaultKnobs::Cts::DropAfter);
    EXPECT_EQ(options.knobs.ctsDropAfter, 4);
    EXPECT_EQ(options.knobs.valueError, 2);
    EXPECT_EQ(options.devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(options.baud, 19200);

    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--cam"},
        {"--cam", "a.cam", "--nul", "-1"},
        {"--cam", "a.cam", "--answer-delay", "12x"},
        {"--cam", "a.cam", "--answer", "sometimes"},
        {"--cam", "a.cam", "--cts", "drop-after="},
        {"--cam", "a.cam", "--leading", "bad\\q"},
        {"--cam", "a.cam", "--leading", "cut\\x4"},
        {"--cam", "a.cam", "--frobnicate", "1"},
        {"--cam", "a.cam", "stray"},
    };
    for (const auto& args : bad) {
        CamSimOptions refused;
        error.clear();
        EXPECT_FALSE(ParseCamSimOptions(args, refused, error)) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(error.empty());
    }
}

// The program itself: started with a description, it prints a device that Halvex32 can use.
TEST(CamSimProgramTest, ServesAPseudoTerminalUntilStopped) {
    const StartedSimulator started = startSimulator({"--model", "Model X"});
    const pid_t child = started.pid;
    const std::string& device = started.device;
    ASSERT_GT(child, 0);
    ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;

    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    EXPECT_EQ(HVX_ConnectDevice(status, device.c_str(), 9600), 1) << status;
    EXPECT_EQ(HVX_SendData(status, "!=0", reply, 0), 12);
    EXPECT_STREQ(reply, "Model X\r>OK\r");
    EXPECT_EQ(HVX_SendData(status, "T=1", reply, 2), 4);
    EXPECT_EQ(HVX_Disconn(status), 1);

    kill(child, SIGTERM);
    int exitStatus = 0;
    ASSERT_EQ(waitpid(child, &exitStatus, 0), child);
    EXPECT_TRUE(WIFEXITED(exitStatus));
    EXPECT_EQ(WEXITSTATUS(exitStatus), 0);

    const std::string missing = std::string(CAMSIM_PATH) + " --cam /no/such.cam 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(missing.c_str())), 1);
    const std::string usage = std::string(CAMSIM_PATH) + " --nul 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(usage.c_str())), 2);
}

// Resident memory of a process, in kB.
long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            long kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
    }
    return -1;
}

// One command and its answer, straight over the raw pseudo-terminal.
bool exchange(int fd, const std::string& command) {
    if (write(fd, command.data(), command.size()) != static_cast<ssize_t>(command.size()))
        return false;
    char c = 0;
    while (read(fd, &c, 1) == 1) {
        if (c == '\r')
            return true;
    }
    return false;
}

// The simulator runs for as long as a test or a demonstration lasts: what it keeps of the past
// must not grow with every exchange.
TEST(CamSimProgramTest, MemoryStaysBoundedOverAHundredThousandExchanges) {
    CameraModel model(SimCamera{});
    for (int i = 0; i < 5000; ++i)
        model.receive("G=" + std::to_string(i) + "\r");
    EXPECT_EQ(model.linesTaken(), 5000u);
    EXPECT_LE(model.lines().size(), 2 * CameraModel::kKeptRecords);
    EXPECT_GE(model.lines().size(), CameraModel::kKeptRecords);
    EXPECT_EQ(model.lines().back(), "G=4999");
    EXPECT_LE(model.transcript().size(), 2 * CameraModel::kKeptRecords);

    // Under AddressSanitizer freed memory is held back for a while; what is measured here is what
    // the simulator itself keeps.
    const StartedSimulator started = startSimulator({}, "quarantine_size_mb=0:thread_local_quarantine_size_kb=0");
    const pid_t child = started.pid;
    const std::string& device = started.device;
    ASSERT_GT(child, 0);
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << device;
    termios raw{};
    ASSERT_EQ(tcgetattr(fd, &raw), 0);
    cfmakeraw(&raw);
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &raw), 0);

    // Past the records kept, then a hundred thousand more exchanges: about 7 MB if each were kept.
    bool answered = true;
    for (int i = 0; i < 3000 && answered; ++i)
        answered = exchange(fd, "G=1\r");
    const long before = residentKilobytes(child);
    for (int i = 0; i < 100000 && answered; ++i)
        answered = exchange(fd, i % 2 ? "G=1\r" : "G=0\r");
    const long after = residentKilobytes(child);
    EXPECT_TRUE(answered);
    ASSERT_GT(before, 0);
    EXPECT_LT(after - before, 1024) << before << " kB before, " << after << " kB after";
    close(fd);

    kill(child, SIGTERM);
    int exitStatus = 0;
    ASSERT_EQ(waitpid(child, &exitStatus, 0), child);
}

// Started by a process that is then killed outright, the simulator ends too: its output pipe, which
// only it still holds, reaches end of file.
TEST(CamSimProgramTest, EndsWithAParentThatIsKilled) {
    CamSimOptions options;
    std::string error;
    ASSERT_TRUE(ParseCamSimOptions({"--exit-with-parent", "--cam", "a.cam"}, options, error)) << error;
    EXPECT_TRUE(options.exitWithParent);

    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t parent = fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        if (fork() == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execl(CAMSIM_PATH, CAMSIM_PATH, "--exit-with-parent", "--cam", demoPath().c_str(), nullptr);
            _exit(127);
        }
        close(out[0]);
        close(out[1]);
        pause(); // until killed
        _exit(0);
    }
    close(out[1]);
    std::string device;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        device += c;
    ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;

    kill(parent, SIGKILL);
    ASSERT_EQ(waitpid(parent, nullptr, 0), parent);
    pollfd end{out[0], POLLIN, 0};
    ASSERT_EQ(poll(&end, 1, 5000), 1) << "the simulator outlived its parent";
    EXPECT_EQ(read(out[0], &c, 1), 0);
    close(out[0]);
}

} // namespace
} // namespace vistrel::camsim
