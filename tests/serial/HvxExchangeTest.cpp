#include "tests/serial/SimLink.h"

#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <thread>
#include <unistd.h>

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

// A line lost in any way ends the exchange at once, closes the port and forgets it.
TEST_F(ExchangeTest, LostLineEndsTheExchangeAndTheConnection) {
    struct Case {
        FaultKnobs::Answer answer;
        int hangUpAfter;
        bool idle;
        double withinMs;
    };
    // Taken a command and hung up silent; hung up in the middle of an answer (well before the
    // 200 ms silence would end it); hung up while idle.
    for (const Case& c : {Case{FaultKnobs::Answer::Never, 1, false, 1000},
                          Case{FaultKnobs::Answer::WithoutCr, 1, false, 180}, Case{{}, 0, true, 1000}}) {
        if (!HVX_CheckLink(m_status)) {
            ASSERT_EQ(connect(), 1);
        }
        EXPECT_EQ(HVX_CheckLink(m_status), 1);
        EXPECT_EQ(status(), "Connection OK");
        FaultKnobs knobs;
        knobs.answer = c.answer;
        knobs.hangUpAfter = c.hangUpAfter;
        knobs.byteDelay = std::chrono::milliseconds(20);
        this->knobs(knobs);
        if (c.idle) {
            m_server->hangUp();
            EXPECT_EQ(HVX_CheckLink(m_status), -1);
            EXPECT_EQ(status(), "Connexion lost");
        } else {
            std::strcpy(m_reply, "stale");
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(send("G=2"), -2);
            EXPECT_LT(msSince(start), c.withinMs);
            EXPECT_EQ(status(), "Connexion lost");
            EXPECT_EQ(reply(), "");
        }
        EXPECT_EQ(HVX_CheckLink(m_status), 0);
        EXPECT_EQ(status(), "No Connexion");
        EXPECT_EQ(send("G=1"), 0);
        EXPECT_EQ(status(), "No Connexion");
        EXPECT_EQ(HVX_Disconn(m_status), 0);
        EXPECT_EQ(status(), "No Connexion to Close");
        // The device is gone: the next connection opens afresh and fails as for any missing device.
        EXPECT_EQ(connect(), 0);
        EXPECT_EQ(status(), "Error On Opening Communication");
        m_server.reset();
        std::string error;
        m_server = camsim::SimServer::openPty(camsim::CameraModel(demoCamera()), error);
        ASSERT_TRUE(m_server) << error;
        m_server->start();
    }
}

// Over a bare pseudo-terminal: the master closing is a loss for the check and for an exchange.
TEST(LostLine, MasterClosingIsSeenByTheCheckAndTheExchange) {
    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    for (const bool byCheck : {true, false}) {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        ASSERT_EQ(HVX_ConnectDevice(status, ptsname(master), 9600), 1);
        EXPECT_EQ(HVX_CheckLink(status), 1);
        close(master);
        if (byCheck) {
            EXPECT_EQ(HVX_CheckLink(status), -1);
        } else {
            EXPECT_EQ(HVX_SendData(status, "G=1", reply, 3), -2);
        }
        EXPECT_STREQ(status, "Connexion lost");
        EXPECT_EQ(HVX_SendData(status, "G=1", reply, 0), 0);
        EXPECT_EQ(HVX_Disconn(status), 0);
    }
}

} // namespace
} // namespace vistrel::test
