#include "tests/serial/SimLink.h"

#include <cstring>
#include <thread>

namespace vistrel::test {
namespace {

using camsim::FaultKnobs;

class ExchangeTest : public SimLinkTest {
protected:
    void SetUp() override {
        SimLinkTest::SetUp();
        ASSERT_EQ(connect(), 1);
    }
    // Sends and expects a failed acknowledgement with an empty reply.
    void expectAcknowledgeError(const char* command) {
        std::strcpy(m_reply, "stale");
        EXPECT_EQ(send(command), -2) << command;
        EXPECT_EQ(status(), "Acknowledge error");
        EXPECT_EQ(reply(), "");
    }
};

TEST_F(ExchangeTest, RepliesAreFramedFromTheFirstByteToTheCrAfterTheAcknowledge) {
    EXPECT_EQ(send("G=1"), 4);
    EXPECT_EQ(status(), "Sending & Receipt OK");
    EXPECT_EQ(reply(), ">OK\r");
    EXPECT_EQ(send("G=7"), 3); // a refused value is still a complete reply
    EXPECT_EQ(reply(), ">2\r");
    EXPECT_EQ(send("Q=1"), 3);
    EXPECT_EQ(reply(), ">1\r");
    // A CR before the first ">" is ordinary data.
    EXPECT_EQ(send("!=0"), 16);
    EXPECT_EQ(reply(), "CamSim Demo\r>OK\r");
    EXPECT_EQ(send("!=3"), 18);
    EXPECT_EQ(reply(), "G=1\rT=0\rE=100\r>OK\r");

    // Bytes before the ">" stay in the reply; a ">" after the first is data.
    FaultKnobs knobs;
    knobs.leadingBytes = "ab";
    this->knobs(knobs);
    EXPECT_EQ(send("G=2"), 6);
    EXPECT_EQ(reply(), "ab>OK\r");
    knobs.leadingBytes = ">x";
    this->knobs(knobs);
    EXPECT_EQ(send("G=2"), 6);
    EXPECT_EQ(reply(), ">x>OK\r");

    // NUL bytes never reach the reply.
    knobs = {};
    knobs.nulBytes = 2;
    this->knobs(knobs);
    EXPECT_EQ(send("T=1"), 4);
    EXPECT_EQ(reply(), ">OK\r");
    EXPECT_EQ(m_host.busy.size(), 16u);
}

TEST_F(ExchangeTest, IncompleteRepliesAreAcknowledgeErrors) {
    FaultKnobs knobs;
    knobs.answer = FaultKnobs::Answer::WithoutCr; // stops after ">OK"
    this->knobs(knobs);
    expectAcknowledgeError("G=1");
    knobs.answer = FaultKnobs::Answer::Garbage; // a CR but no ">"
    this->knobs(knobs);
    expectAcknowledgeError("G=1");
    knobs.answer = FaultKnobs::Answer::Overlong; // ">" then 250 bytes before the CR
    this->knobs(knobs);
    expectAcknowledgeError("G=1");

    // 200 bytes is the most a reply can hold; one more and it is lost.
    knobs = {};
    knobs.leadingBytes = std::string(196, 'p');
    this->knobs(knobs);
    EXPECT_EQ(send("G=1"), 200);
    EXPECT_EQ(reply(), knobs.leadingBytes + ">OK\r");
    knobs.leadingBytes += 'p';
    this->knobs(knobs);
    expectAcknowledgeError("G=1");

    // The connection survives every failed exchange.
    this->knobs({});
    EXPECT_EQ(send("G=0"), 4);
}

TEST_F(ExchangeTest, CommandsGoOutWithOneCrAndOverlongOnesAreRefused) {
    EXPECT_EQ(send(""), 3); // a lone CR, which the camera does not know
    EXPECT_EQ(reply(), ">1\r");
    const std::string longest(HVX_COMMAND_MAX_LENGTH, 'L');
    EXPECT_EQ(send(longest.c_str()), 3);
    ASSERT_TRUE(m_server->waitForLines(2, std::chrono::seconds(1)));
    EXPECT_EQ(m_server->lines(), (std::vector<std::string>{"", longest}));

    const std::string tooLong(HVX_COMMAND_MAX_LENGTH + 1, 'L');
    std::strcpy(m_reply, "kept?");
    EXPECT_EQ(send(tooLong.c_str()), -1);
    EXPECT_EQ(status(), "Sending error");
    EXPECT_EQ(reply(), "");
    EXPECT_EQ(send(nullptr), -1);
    EXPECT_EQ(status(), "Sending error");
    EXPECT_EQ(HVX_SendData(m_status, "G=1", nullptr, 0), -1);
    EXPECT_EQ(status(), "Sending error");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(m_server->lines().size(), 2u);
}

TEST_F(ExchangeTest, StaleInputIsDiscardedBeforeSending) {
    m_server->inject("old>OK\r>9\r");
    const auto start = std::chrono::steady_clock::now();
    while (m_server->bytesWaitingAtDevice() < 10 && msSince(start) < 2000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(m_server->bytesWaitingAtDevice(), 10);
    EXPECT_EQ(send("G=2"), 4);
    EXPECT_EQ(reply(), ">OK\r");
    EXPECT_EQ(m_server->lines(), std::vector<std::string>{"G=2"});
}

TEST_F(ExchangeTest, ALateAnswerIsNeverTakenForTheNextCommands) {
    FaultKnobs knobs;
    knobs.answerDelay = std::chrono::milliseconds(5400);
    this->knobs(knobs);
    expectAcknowledgeError("!=0");
    this->knobs({});
    // The identification arrives while the next exchange listens for it, and goes.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("G=7"), 3);
    EXPECT_EQ(reply(), ">2\r");
    EXPECT_LT(msSince(start), 1000);
}

TEST_F(ExchangeTest, HangUpEndsTheExchangeAtOnce) {
    // The camera takes the command and hangs up without a word.
    FaultKnobs knobs;
    knobs.answer = FaultKnobs::Answer::Never;
    knobs.hangUpAfter = 1;
    this->knobs(knobs);
    auto start = std::chrono::steady_clock::now();
    expectAcknowledgeError("G=2");
    EXPECT_LT(msSince(start), 1000);

    // Later exchanges fail at the write, also at once; the port is closed in the usual way.
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("G=1"), -1);
    EXPECT_EQ(status(), "Sending error");
    EXPECT_EQ(send("G=1", 5), -1);
    EXPECT_LT(msSince(start), 1000);
    EXPECT_EQ(HVX_Disconn(m_status), 1);
}

TEST_F(ExchangeTest, HangUpInTheMiddleOfAnAnswer) {
    FaultKnobs knobs;
    knobs.answer = FaultKnobs::Answer::WithoutCr;
    knobs.hangUpAfter = 1;
    knobs.byteDelay = std::chrono::milliseconds(20);
    this->knobs(knobs);
    const auto start = std::chrono::steady_clock::now();
    expectAcknowledgeError("G=1");
    EXPECT_LT(msSince(start), 180); // well before the 200 ms silence would have ended it
}

TEST_F(ExchangeTest, HangUpWhileIdle) {
    m_server->hangUp();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_LT(send("G=1"), 0);
    EXPECT_LT(msSince(start), 1000);
    EXPECT_EQ(HVX_Disconn(m_status), 1);
    EXPECT_EQ(connect(), 0);
    EXPECT_EQ(status(), "Error On Opening Communication");
}

} // namespace
} // namespace vistrel::test
