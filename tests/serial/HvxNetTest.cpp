// Halvex32 over the network: through ser2net in front of the simulator, and against a scripted
// server of our own for the bytes and faults ser2net never produces.
#include "tests/serial/SimLink.h"
#include "tools/camsim/Ser2netFront.h"

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <thread>

namespace vistrel::test {
namespace {

using camsim::FaultKnobs;
using camsim::Ser2netFront;

// A telnet server on 127.0.0.1: for each step it reads until `awaited` has arrived, then answers.
class ScriptedServer {
public:
    struct Step {
        std::string awaited, answer;
    };
    ScriptedServer(std::vector<Step> steps, bool closeAtEnd) {
        m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        bind(m_listen, reinterpret_cast<sockaddr*>(&address), length);
        listen(m_listen, 1);
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_url = "rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        m_thread = std::thread([this, steps, closeAtEnd] { serve(steps, closeAtEnd); });
    }
    ~ScriptedServer() {
        shutdown(m_listen, SHUT_RDWR); // ends a waiting accept
        shutdown(m_fd, SHUT_RDWR);
        m_thread.join();
        close(m_fd);
        close(m_listen);
    }
    const std::string& url() const { return m_url; }
    std::string received() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }

private:
    void serve(const std::vector<Step>& steps, bool closeAtEnd) {
        const int fd = m_fd = accept(m_listen, nullptr, nullptr);
        std::size_t from = 0;
        char bytes[256];
        for (std::size_t i = 0; fd >= 0 && i <= steps.size(); ++i) {
            std::size_t at = std::string::npos;
            while (i < steps.size() ? (at = received().find(steps[i].awaited, from)) == std::string::npos
                                    : !closeAtEnd) {
                const ssize_t n = recv(fd, bytes, sizeof bytes, 0);
                if (n <= 0)
                    break;
                std::lock_guard<std::mutex> lock(m_mutex);
                m_received.append(bytes, static_cast<std::size_t>(n));
            }
            if (i < steps.size() && at != std::string::npos) {
                from = at + steps[i].awaited.size();
                send(fd, steps[i].answer.data(), steps[i].answer.size(), MSG_NOSIGNAL);
            }
        }
        shutdown(fd, SHUT_RDWR);
    }

    int m_listen = -1;
    std::atomic<int> m_fd{-1};
    std::string m_url;
    mutable std::mutex m_mutex;
    std::string m_received;
    std::thread m_thread;
};

std::string sub(int code, std::string value) {
    return "\xff\xfa\x2c" + std::string(1, static_cast<char>(code)) + value + "\xff\xf0";
}
const std::string kOffers("\xff\xfb\x00\xff\xfd\x00\xff\xfb\x03\xff\xfd\x03\xff\xfb\x2c", 15);
const std::string kAccepted("\xff\xfd\x00\xff\xfb\x00\xff\xfd\x03\xff\xfb\x03\xff\xfd\x2c", 15);
const std::string kRate19200("\x00\x00\x4b\x00", 4);
const std::string kRequests = sub(1, kRate19200) + sub(2, "\x08") + sub(3, "\x01") + sub(4, "\x01") + sub(5, "\x03") +
                              sub(5, "\x08") + sub(5, "\x0b") + sub(11, "\x11");
const std::string kLineConfirmed = sub(101, kRate19200) + sub(102, "\x08") + sub(103, "\x01") + sub(104, "\x01");
const std::string kAllConfirmed =
    kLineConfirmed + sub(105, "\x03") + sub(105, "\x08") + sub(105, "\x0b") + sub(111, "\x11");

class NetOpening : public SimLinkTest {};

TEST_F(NetOpening, OutcomesOfTheOpening) {
    const std::string otherRate = sub(101, std::string("\x00\x00\x25\x80", 4)) + kAllConfirmed.substr(10);
    struct Row {
        std::vector<ScriptedServer::Step> steps;
        bool closeAtEnd;
        const char* url; // the server's when null
        int result;
        std::string status;
        double minMs, maxMs;
    } rows[] = {
        {{{kOffers, kAccepted}, {kRequests, kAllConfirmed}}, false, nullptr, 1, "Connection OK", 0, 300},
        {{{kOffers, kAccepted}, {kRequests, kLineConfirmed}},
         false,
         nullptr,
         1,
         "Connection OK (4 unconfirmed)",
         950,
         1300},
        {{}, false, nullptr, 0, "Error Setting Communication", 1900, 2500}, // never answers
        {{{kOffers, "\xff\xfe\x2c"}}, false, nullptr, 0, "Error Setting Communication", 0, 300},
        {{{kOffers, kAccepted}, {kRequests, otherRate}}, false, nullptr, 0, "Error Setting Communication", 0, 300},
        {{}, true, nullptr, 0, "Error On Opening Communication", 0, 300}, // closes at once
        {{}, false, "rfc2217://127.0.0.1:1", 0, "Error On Opening Communication", 0, 300},
        {{}, false, "rfc2217://127.0.0.1", 0, "Error On Opening Communication", 0, 50},
        {{}, false, "tcp://[::1:80", 0, "Error On Opening Communication", 0, 50},
        {{}, false, "RFC2217://127.0.0.1:65536", 0, "Error On Opening Communication", 0, 50},
        {{}, false, "tcp://127.0.0.1:80/x", 0, "Error On Opening Communication", 0, 50},
    };
    for (const Row& row : rows) {
        m_host.beeps = 0;
        ScriptedServer server(row.steps, row.closeAtEnd);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(HVX_ConnectDevice(m_status, row.url ? row.url : server.url().c_str(), 19200), row.result)
            << row.status;
        EXPECT_EQ(status(), row.status);
        EXPECT_EQ(m_host.beeps, row.status == "Error Setting Communication" ? 1 : 0) << row.status;
        EXPECT_GE(msSince(start), row.minMs) << row.status;
        EXPECT_LE(msSince(start), row.maxMs) << row.status;
        HVX_Disconn(nullptr);
    }
}

// 0xFF doubled both ways, CR NUL outside binary mode, the server's commands kept out of the reply;
// a server that closes is a lost link, mid-exchange or while the line is idle.
TEST_F(NetOpening, TelnetBytesOnTheWire) {
    const std::string notices = "\xff\xf1\xff\xfa\x2c\x6b\x10\xff\xf0\xff\xfb\x01"; // NOP, CTS up, WILL ECHO
    for (bool binary : {true, false}) {
        const std::string line = binary ? std::string("G=\xff\xff\r") : std::string("G=\xff\xff\r\0", 6);
        const std::string accepted = binary ? kAccepted : "\xff\xfe" + kAccepted.substr(2);
        const bool midExchange = binary;
        ScriptedServer server({{kOffers, accepted},
                               {kRequests, kAllConfirmed},
                               {line, "\xff\xff"
                                      "a" +
                                          notices + ">OK\r"},
                               {"Q", midExchange ? ">O" : ">OK\r"}},
                              true);
        ASSERT_EQ(HVX_ConnectDevice(m_status, server.url().c_str(), 19200), 1) << status();
        EXPECT_EQ(send("G=\xff"), 6);
        EXPECT_EQ(reply(), "\xff"
                           "a>OK\r");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(send("Q"), midExchange ? -2 : 4);
        while (!midExchange && HVX_CheckLink(m_status) == 1 && msSince(start) < 1000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_LT(msSince(start), 1000);
        EXPECT_EQ(status(), "Connexion lost");
        EXPECT_EQ(send("G=1"), 0);                                            // the port is forgotten
        EXPECT_NE(server.received().find("\xff\xfe\x01"), std::string::npos); // DONT ECHO
    }
}

class ThroughSer2net : public SimLinkTest, public ::testing::WithParamInterface<Ser2netFront::Accepter> {};

TEST_P(ThroughSer2net, ExchangesAsOnALocalLine) {
    Ser2netFront ser2net(m_server->devicePath(), GetParam());
    ASSERT_TRUE(ser2net.ok()) << ser2net.error();
    ASSERT_EQ(HVX_ConnectDevice(m_status, ser2net.url().c_str(), 9600), 1) << status();
    EXPECT_EQ(status().rfind("Connection OK", 0), 0u) << status();
    const struct {
        const char* command;
        std::string leading, reply;
    } rows[] = {{"G=1", "", ">OK\r"},
                {"!=0", "", "CamSim Demo\r>OK\r"},
                {"G=7", "", ">2\r"},
                {"E=\xff", "", ">2\r"}, // 0xFF reaches the camera once
                {"T=1", "\xff\xff\xfb\x01\xff", "\xff\xff\xfb\x01\xff>OK\r"}};
    FaultKnobs knobs;
    for (const auto& row : rows) {
        knobs.leadingBytes = row.leading;
        m_server->setKnobs(knobs);
        EXPECT_EQ(send(row.command), static_cast<int>(row.reply.size())) << row.command << ": " << status();
        EXPECT_EQ(reply(), row.reply) << row.command;
    }
    // Paced: no character reaches the camera before its deadline.
    m_server->setKnobs({});
    const std::size_t before = m_server->transcript().size();
    const auto start = camsim::Clock::now();
    EXPECT_EQ(send("G=2", 20), 4);
    std::size_t index = 0;
    const auto transcript = m_server->transcript();
    for (std::size_t i = before; i < transcript.size(); ++i) {
        for (std::size_t k = 0; k < transcript[i].bytes.size(); ++k) {
            EXPECT_GE(m_server->startedAt() + transcript[i].at, start + std::chrono::milliseconds(20 * ++index));
        }
    }
    EXPECT_EQ(index, 4u);
    EXPECT_EQ(m_server->lines(), (std::vector<std::string>{"G=1", "!=0", "G=7", "E=\xff", "T=1", "G=2"}));
}

INSTANTIATE_TEST_SUITE_P(Accepters, ThroughSer2net,
                         ::testing::Values(Ser2netFront::Accepter::Rfc2217, Ser2netFront::Accepter::Raw));

} // namespace
} // namespace vistrel::test
