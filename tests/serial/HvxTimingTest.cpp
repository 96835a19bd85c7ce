#include "tests/serial/FakeLines.h"
#include "tests/serial/SimLink.h"

namespace vistrel::test {
namespace {

using camsim::FaultKnobs;
using std::chrono::milliseconds;

class TimingTest : public SimLinkTest {
protected:
    void SetUp() override {
        SimLinkTest::SetUp();
        ASSERT_EQ(connect(), 1);
    }
    // Arrival of each received piece, in milliseconds after `start`.
    std::vector<double> arrivals(std::chrono::steady_clock::time_point start) const {
        std::vector<double> result;
        for (const camsim::TranscriptEntry& entry : m_server->transcript())
            result.push_back(
                std::chrono::duration<double, std::milli>(m_server->startedAt() + entry.at - start).count());
        return result;
    }
};

TEST_F(TimingTest, SilenceEndsTheWaitAfterFiveSeconds) {
    FaultKnobs knobs;
    knobs.answer = FaultKnobs::Answer::Never;
    this->knobs(knobs);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("G=1"), -2);
    EXPECT_EQ(status(), "Acknowledge error");
    const double elapsed = msSince(start);
    EXPECT_GE(elapsed, 5000);
    EXPECT_LT(elapsed, 5600);
}

TEST_F(TimingTest, SlowFirstByteAndByteGapsWithinTheLimits) {
    // A camera that takes its time to begin is waited for; gaps under 200 ms are too.
    FaultKnobs knobs;
    knobs.answerDelay = milliseconds(700);
    knobs.byteDelay = milliseconds(120);
    knobs.nulBytes = 1; // NUL bytes do not count as signs of life, nor reset the byte wait
    this->knobs(knobs);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("G=1"), 4);
    EXPECT_GE(msSince(start), 700 + 3 * 120);

    // A gap of more than 200 ms ends the reply.
    knobs = {};
    knobs.byteDelay = milliseconds(350);
    this->knobs(knobs);
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("G=1"), -2);
    const double elapsed = msSince(start);
    EXPECT_GE(elapsed, 200);
    EXPECT_LT(elapsed, 340);
}

TEST_F(TimingTest, PacingPutsEachCharacterAfterItsDeadline) {
    const int delay = 20;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("G=2", delay), 4);
    const double total = msSince(start);
    std::vector<double> at = arrivals(start);
    ASSERT_EQ(at.size(), 4u); // one character at a time
    for (std::size_t i = 0; i < at.size(); ++i)
        EXPECT_GE(at[i], static_cast<double>(delay) * static_cast<double>(i + 1)) << i;
    EXPECT_GE(total, 4.0 * delay);
    EXPECT_LT(at.back(), 4.0 * delay + 50); // no drift; generous, as the machine may be busy
    EXPECT_EQ(m_server->lines().back(), "G=2");

    // Out of range counts as no pacing: the line goes out in one write.
    for (int outOfRange : {201, -5, 0}) {
        start = std::chrono::steady_clock::now();
        const std::size_t before = m_server->transcript().size();
        EXPECT_EQ(send("G=1", outOfRange), 4);
        EXPECT_LT(msSince(start), 60) << outOfRange;
        ASSERT_EQ(m_server->transcript().size(), before + 1) << outOfRange;
        EXPECT_EQ(m_server->transcript().back().bytes, "G=1\r");
    }

    // 200 is still in range: a lone CR waits 200 ms.
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("", 200), 3);
    EXPECT_GE(arrivals(start).back(), 200);
}

TEST_F(TimingTest, OutputHeldByFlowControlGivesUpAfterFiveSeconds) {
    FakeLines::install();
    FakeLines::outputQueued = 4; // never drains, as with CTS held low by a stuck camera
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("G=1"), -1);
    EXPECT_EQ(status(), "Sending error");
    const double elapsed = msSince(start);
    EXPECT_GE(elapsed, 5000);
    EXPECT_LT(elapsed, 5600);
    EXPECT_EQ(m_host.busy, (std::vector<int>{1, 0}));

    FakeLines::outputQueued = 0;
    EXPECT_EQ(send("G=1"), 4);
}

} // namespace
} // namespace vistrel::test
