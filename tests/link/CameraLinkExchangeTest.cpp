#include "link/CameraLinkExchange.h"
#include "ClserTestControl.h"
#include "link/CameraLinkChannel.h"
#include "link/CameraLinkLibrary.h"
#include "support/ScriptedPrompts.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

using test::ClserTestControl;

class CameraLinkExchange : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(LoadCameraLinkLibrary(m_link, m_prompts, CLSERTEST_PATH), CameraLinkLoad::Bound);
        ASSERT_EQ(OpenCameraLinkChannel(m_link, m_link.LinkStatusText), 1);
    }
    void TearDown() override { ReleaseCameraLinkLibrary(m_link, m_prompts); }

    int exchange(const std::string& reply, const char* command = "I") {
        m_control.reply(reply);
        return CameraLinkSendReceive(m_link, m_link.LinkStatusText, command, m_link.ReplyBuffer, kReplyBufferCapacity);
    }
    std::string status() const { return m_link.LinkStatusText; }
    std::string stored(int length) const { return std::string(m_link.ReplyBuffer, static_cast<std::size_t>(length)); }

    ClserTestControl m_control{CLSERTEST_PATH};
    LinkState m_link;
    test::ScriptedPrompts m_prompts;
};

TEST_F(CameraLinkExchange, FramesFromTheFirstGreaterThanToTheNextCarriageReturn) {
    EXPECT_EQ(exchange(">0\r"), 3);
    EXPECT_EQ(status(), "Sending & Receive OK");
    EXPECT_STREQ(m_link.ReplyBuffer, ">0\r");
    EXPECT_EQ(m_control.written(), "I\r");
    EXPECT_EQ(m_control.writeTimeout(), 200u);
    ASSERT_EQ(m_control.readCalls(), 3);
    EXPECT_EQ(m_control.readTimeout(0), 5000u);
    EXPECT_EQ(m_control.readTimeout(1), 200u);
    EXPECT_EQ(m_control.readTimeout(2), 200u);

    EXPECT_EQ(exchange("ab>1\r"), 5);
    EXPECT_STREQ(m_link.ReplyBuffer, "ab>1\r");
    EXPECT_EQ(exchange("\r>5\r"), 4);
    EXPECT_STREQ(m_link.ReplyBuffer, "\r>5\r");
    EXPECT_EQ(exchange(">>3\r"), 4);
    EXPECT_STREQ(m_link.ReplyBuffer, ">>3\r");

    // Nothing after the frame's end is taken from the channel.
    EXPECT_EQ(exchange(">2\rXYZ"), 3);
    EXPECT_EQ(m_control.readCalls(), 3);
}

TEST_F(CameraLinkExchange, TimeOutsAndReadErrorsKeepTheBytesReadSoFar) {
    std::memset(m_link.ReplyBuffer, 0, sizeof m_link.ReplyBuffer);
    EXPECT_EQ(exchange(""), -1);
    EXPECT_EQ(status(), "Error Reading Data  : Timeout");
    EXPECT_EQ(m_control.readCalls(), 1);

    EXPECT_EQ(exchange(">12"), -1); // a pause after three bytes
    EXPECT_EQ(status(), "Error Reading Data  : Timeout");
    EXPECT_EQ(stored(3), ">12");

    m_control.failReadAfter(2, -10003);
    EXPECT_EQ(exchange(">9\r"), -1);
    EXPECT_EQ(status(), "Error Reading Data ");
    EXPECT_EQ(stored(2), ">9");
}

TEST_F(CameraLinkExchange, FailedWriteReadsNothingAndLeavesTheReplyUntouched) {
    std::strcpy(m_link.ReplyBuffer, "previous");
    m_control.writeResult(-10002);
    EXPECT_EQ(exchange(">0\r"), -1);
    EXPECT_EQ(status(), "Error Sending Data");
    EXPECT_EQ(m_control.readCalls(), 0);
    EXPECT_STREQ(m_link.ReplyBuffer, "previous");
}

TEST_F(CameraLinkExchange, CommandLengthLimits) {
    const std::string longest(98, 'c');
    EXPECT_EQ(exchange(">0\r", longest.c_str()), 3);
    EXPECT_EQ(m_control.written(), longest + "\r");
    EXPECT_EQ(m_control.written().size(), 99u);

    const std::string tooLong(99, 'c');
    EXPECT_EQ(exchange(">0\r", tooLong.c_str()), -1);
    EXPECT_EQ(status(), kTextCommandTooLong);
    EXPECT_EQ(m_control.written(), ""); // nothing went out
    EXPECT_EQ(m_control.readCalls(), 0);
}

TEST_F(CameraLinkExchange, ReplyFillingTheBufferWithoutAFrameEndIsRefused) {
    // 199 bytes fit; no frame end among them.
    EXPECT_EQ(exchange(std::string(198, 'x') + ">" + "\r"), -1);
    EXPECT_EQ(status(), kTextReplyTooLong);
    EXPECT_EQ(m_control.readCalls(), 199);
    EXPECT_EQ(std::strlen(m_link.ReplyBuffer), 199u);

    // The longest frame that fits: 199 bytes ending with the carriage return.
    EXPECT_EQ(exchange(std::string(197, 'x') + ">\r"), 199);
    EXPECT_EQ(status(), kTextExchangeOk);

    // A small buffer holds as much as its capacity less the terminator.
    char small[4] = {'-', '-', '-', '-'};
    m_control.reply(">12\r");
    EXPECT_EQ(CameraLinkSendReceive(m_link, m_link.LinkStatusText, "I", small, 4), -1);
    EXPECT_EQ(status(), kTextReplyTooLong);
    EXPECT_STREQ(small, ">12");
}

TEST_F(CameraLinkExchange, NothingIsCalledWithoutABoundLibraryOrAnOpenChannel) {
    CloseCameraLinkChannel(m_link, m_link.LinkStatusText);
    const std::string log = m_control.log();
    EXPECT_EQ(exchange(">0\r"), -1);
    EXPECT_EQ(status(), kTextNoChannel);

    ReleaseCameraLinkLibrary(m_link, m_prompts);
    EXPECT_EQ(exchange(">0\r"), -1);
    EXPECT_EQ(status(), kTextNoLibrary);
    EXPECT_EQ(m_control.log(), log);
    EXPECT_EQ(m_control.readCalls(), 0);
}

TEST_F(CameraLinkExchange, WhatWaitsBeforeTheCommandIsNeverItsReply) {
    m_control.inject(">9\r");
    EXPECT_EQ(exchange(">0\r"), 3);
    EXPECT_STREQ(m_link.ReplyBuffer, ">0\r");
}

// Reads that ignore the interface: success without a byte, and a read that never returns.
TEST_F(CameraLinkExchange, MisbehavingReadsEndInTimeByOurClock) {
    using Clock = std::chrono::steady_clock;
    m_control.readMode(2);
    auto start = Clock::now();
    EXPECT_EQ(exchange(">0\r"), -1);
    EXPECT_EQ(status(), "Error Reading Data  : Timeout");
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(kClFirstByteTimeoutMs));

    m_control.readMode(1);
    start = Clock::now();
    EXPECT_EQ(exchange(">0\r"), -1);
    EXPECT_EQ(status(), kTextGrabberNotResponding);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kClStuckGraceMs + 1000));
    // The link is lost: nothing of the library is called again, and nothing waits for it.
    EXPECT_TRUE(m_link.CameraLinkCalls->stuck());
    EXPECT_FALSE(IsCameraLinkBound(m_link));
    EXPECT_EQ(OpenCameraLinkChannel(m_link, m_link.LinkStatusText), 0);
    m_control.readMode(0); // lets the abandoned call end
}

} // namespace
} // namespace vistrel
