// The Camera Link exchange end to end: the simulated grabber library loaded with dlopen, each of its
// ports a simulated camera.
#include "link/CameraLinkChannel.h"
#include "link/CameraLinkExchange.h"
#include "link/CameraLinkLibrary.h"
#include "link/CameraLinkPorts.h"
#include "support/ScriptedPrompts.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace vistrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Sets the simulator's environment for one test (everything else unset) and loads the library.
class SimLink : public ::testing::Test {
protected:
    void configure(std::initializer_list<std::pair<const char*, std::string>> settings) {
        for (const char* name : {"CLSERSIM_PORTS", "CLSERSIM_CAM", "CLSERSIM_CAM_0", "CLSERSIM_CAM_1",
                                 "CLSERSIM_ANSWER", "CLSERSIM_ANSWER_DELAY", "CLSERSIM_BYTE_DELAY", "CLSERSIM_LEADING",
                                 "CLSERSIM_WRITE_FAIL", "CLSERSIM_READ_ERROR", "CLSERSIM_ANSWER_1"}) {
            unsetenv(name);
        }
        for (const auto& [name, value] : settings) {
            setenv(name, value.c_str(), 1);
        }
        ASSERT_EQ(LoadCameraLinkLibrary(m_link, m_prompts, CLSERSIM_PATH), CameraLinkLoad::Bound);
    }
    void TearDown() override {
        CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
        ReleaseCameraLinkLibrary(m_link, m_prompts);
        EXPECT_TRUE(m_prompts.shown.empty());
    }
    void connect(int port = 0) {
        m_link.CameraLinkPort = port;
        ASSERT_EQ(OpenCameraLinkChannel(m_link, m_link.LinkStatusText), 1);
    }
    int exchange(const char* command) {
        return CameraLinkSendReceive(m_link, m_link.LinkStatusText, command, m_link.ReplyBuffer, kReplyBufferCapacity);
    }
    std::string reply(int length) const { return std::string(m_link.ReplyBuffer, static_cast<std::size_t>(length)); }
    std::string status() const { return m_link.LinkStatusText; }

    LinkState m_link;
    test::ScriptedPrompts m_prompts;
};

TEST_F(SimLink, ProbeListsTheConfiguredPortsAndAnOpenPortIsInUse) {
    configure({{"CLSERSIM_PORTS", "3"}});
    EXPECT_EQ(ListCameraLinkPorts(m_link), (std::vector<int>{0, 1, 2}));
    connect(1);
    void* second = nullptr;
    EXPECT_NE(m_link.CameraLinkLibrary.entryPoints().clSerialInit(1, &second), 0);
    CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
    ReleaseCameraLinkLibrary(m_link, m_prompts);

    configure({{"CLSERSIM_PORTS", "0"}});
    EXPECT_TRUE(ListCameraLinkPorts(m_link).empty());
}

TEST_F(SimLink, SlowAndMissingAnswersTimeOut) {
    configure({{"CLSERSIM_BYTE_DELAY", "120"}});
    connect();
    EXPECT_GT(exchange("X=1"), 0); // 120 ms between bytes is within 200 ms

    CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
    ReleaseCameraLinkLibrary(m_link, m_prompts);
    configure({{"CLSERSIM_BYTE_DELAY", "300"}});
    connect();
    std::memset(m_link.ReplyBuffer, 0, sizeof m_link.ReplyBuffer);
    EXPECT_EQ(exchange("X=1"), -1);
    EXPECT_EQ(status(), "Error Reading Data  : Timeout");
    EXPECT_STREQ(m_link.ReplyBuffer, ">"); // what came before the pause

    CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
    ReleaseCameraLinkLibrary(m_link, m_prompts);
    configure({{"CLSERSIM_ANSWER", "never"}});
    connect();
    const auto start = Clock::now();
    EXPECT_EQ(exchange("X=1"), -1);
    const auto waited = Clock::now() - start;
    EXPECT_EQ(status(), "Error Reading Data  : Timeout");
    EXPECT_GE(waited, 5000ms);
    EXPECT_LT(waited, 6500ms);
}

TEST_F(SimLink, ALateAnswerIsNeverTakenForTheNextCommands) {
    configure({{"CLSERSIM_ANSWER_DELAY", "5300"}});
    connect();
    EXPECT_EQ(exchange("ID?"), -1);
    // The identification comes while the next exchange listens; X=1's own answer is as late.
    EXPECT_EQ(exchange("X=1"), -1);
    EXPECT_EQ(status(), "Error Reading Data  : Timeout");
    EXPECT_STREQ(m_link.ReplyBuffer, "");
}

TEST_F(SimLink, FaultKnobsReachTheExchange) {
    configure({{"CLSERSIM_LEADING", "ab"}, {"CLSERSIM_ANSWER_1", "overlong"}, {"CLSERSIM_PORTS", "2"}});
    connect(0);
    EXPECT_EQ(exchange("X=1"), 5); // the bare camera knows no X: error 0, after the leading bytes
    EXPECT_STREQ(m_link.ReplyBuffer, "ab>0\r");

    CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
    connect(1);
    EXPECT_EQ(exchange("X=1"), -1);
    EXPECT_EQ(status(), kTextReplyTooLong);

    CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
    ReleaseCameraLinkLibrary(m_link, m_prompts);
    configure({{"CLSERSIM_WRITE_FAIL", "1"}});
    connect();
    EXPECT_EQ(exchange("X=1"), -1);
    EXPECT_EQ(status(), "Error Sending Data");

    CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
    ReleaseCameraLinkLibrary(m_link, m_prompts);
    configure({{"CLSERSIM_READ_ERROR", "-10006"}});
    connect();
    EXPECT_EQ(exchange("X=1"), -1);
    EXPECT_EQ(status(), "Error Reading Data ");
}

TEST_F(SimLink, ReadOfNBytesCopiesNothingUntilAllHaveArrived) {
    configure({{"CLSERSIM_BYTE_DELAY", "100"}});
    connect();
    const CameraLinkEntryPoints& entry = m_link.CameraLinkLibrary.entryPoints();
    char command[] = "X=1\r";
    unsigned int count = 4;
    ASSERT_EQ(entry.clSerialWrite(m_link.SerialRef.ref(), command, &count, 200), 0);
    char buffer[8] = "-------";
    count = 3;
    EXPECT_EQ(entry.clSerialRead(m_link.SerialRef.ref(), buffer, &count, 50), -10004);
    EXPECT_STREQ(buffer, "-------");
    count = 3;
    EXPECT_EQ(entry.clSerialRead(m_link.SerialRef.ref(), buffer, &count, 1000), 0);
    EXPECT_EQ(std::string(buffer, 3), ">0\r"); // the bare camera knows no X
    count = 1;
    EXPECT_EQ(entry.clSerialRead(m_link.SerialRef.ref(), buffer, &count, 300), -10004);
    EXPECT_EQ(count, 0u);
}

} // namespace
} // namespace vistrel
