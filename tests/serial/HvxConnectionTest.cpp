#include "tests/serial/FakeLines.h"
#include "tests/serial/SimLink.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace vistrel::test {
namespace {

using ConnectionTest = SimLinkTest;

TEST_F(ConnectionTest, ConnectTwiceDisconnectTwiceAndSendWithoutConnection) {
    EXPECT_EQ(connect(), 1);
    EXPECT_EQ(status(), "Connection OK");

    // The second attempt changes nothing: the open port keeps working.
    EXPECT_EQ(connect(), -1);
    EXPECT_EQ(status(), "Connexion Already Done");
    EXPECT_EQ(HVX_Connect(m_status, 2, 9600), -1);
    EXPECT_EQ(status(), "Connexion Already Done");
    EXPECT_EQ(send("G=1"), 4);
    EXPECT_EQ(reply(), ">OK\r");
    EXPECT_EQ(m_server->valueOf('G'), "1");

    EXPECT_EQ(HVX_Disconn(m_status), 1);
    EXPECT_EQ(status(), "Connexion Closed");
    EXPECT_EQ(HVX_Disconn(m_status), 0);
    EXPECT_EQ(status(), "No Connexion to Close");

    // Without a connection the reply buffer is left exactly as it was and nothing is sent.
    std::strcpy(m_reply, "untouched");
    EXPECT_EQ(send("G=2"), 0);
    EXPECT_EQ(status(), "No Connexion");
    EXPECT_EQ(reply(), "untouched");
    EXPECT_EQ(m_host.busy, (std::vector<int>{1, 0})); // the one exchange made while connected
    EXPECT_EQ(m_server->lines().size(), 1u);

    // A null status buffer is tolerated, and the port can be opened again.
    EXPECT_EQ(HVX_ConnectDevice(nullptr, m_server->devicePath().c_str(), 38400), 1);
    EXPECT_EQ(send("G=2"), 4);
    EXPECT_EQ(m_host.beeps, 0);
}

TEST_F(ConnectionTest, DevicesThatCannotBeOpened) {
    EXPECT_EQ(HVX_ConnectDevice(m_status, "/dev/no-such-serial-device", 9600), 0);
    EXPECT_EQ(status(), "Error On Opening Communication");
    EXPECT_EQ(HVX_ConnectDevice(m_status, nullptr, 9600), 0);
    EXPECT_EQ(status(), "Error On Opening Communication");
    for (int port : {0, -3, INT_MIN, 999}) {
        std::strcpy(m_status, "-");
        EXPECT_EQ(HVX_Connect(m_status, port, 9600), 0) << port;
        EXPECT_EQ(status(), "Error On Opening Communication") << port;
    }
    EXPECT_EQ(m_host.beeps, 0);

    // Another process holding the port keeps us out; once it lets go, the port opens.
    int other = ::open(m_server->devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(connect(), 0);
    EXPECT_EQ(status(), "Error On Opening Communication");
    ::close(other);
    EXPECT_EQ(connect(), 1);

    // While we hold it, others are kept out the same way.
    int late = ::open(m_server->devicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (late >= 0) { // root may open an exclusive terminal; the lock still stops it
        EXPECT_NE(flock(late, LOCK_EX | LOCK_NB), 0);
        ::close(late);
    }
}

TEST_F(ConnectionTest, RefusedLineSettingsCloseThePortAndBeep) {
    for (int baud : {12345, 0, -9600, 9601}) {
        EXPECT_EQ(connect(baud), 0) << baud;
        EXPECT_EQ(status(), "Error Setting Communication") << baud;
    }
    EXPECT_EQ(m_host.beeps, 4);

    TempDir dir;
    EXPECT_EQ(HVX_ConnectDevice(m_status, dir.write("plain", "not a terminal").c_str(), 9600), 0);
    EXPECT_EQ(status(), "Error Setting Communication");
    EXPECT_EQ(m_host.beeps, 5);

    // Every failure left the port closed: it opens at once with a good rate.
    EXPECT_EQ(connect(115200), 1);
}

TEST_F(ConnectionTest, LineSettingsAreRaw8N1WithHardwareFlowControl) {
    FakeLines::install();
    ASSERT_EQ(connect(19200), 1);
    ASSERT_EQ(FakeLines::opened.size(), 1u);
    termios t{};
    ASSERT_EQ(tcgetattr(FakeLines::opened[0], &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_EQ(cfgetispeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | IGNCR | INLCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(fcntl(FakeLines::opened[0], F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);

    // DTR and RTS go up at connection, DTR comes down at disconnection.
    ASSERT_EQ(FakeLines::changes.size(), 1u);
    EXPECT_EQ(FakeLines::changes[0].first, static_cast<unsigned long>(TIOCMBIS));
    EXPECT_EQ(FakeLines::changes[0].second, TIOCM_DTR | TIOCM_RTS);
    EXPECT_EQ(HVX_Disconn(m_status), 1);
    ASSERT_EQ(FakeLines::changes.size(), 2u);
    EXPECT_EQ(FakeLines::changes[1].first, static_cast<unsigned long>(TIOCMBIC));
    EXPECT_EQ(FakeLines::changes[1].second, TIOCM_DTR);
    EXPECT_EQ(FakeLines::closed, FakeLines::opened);
}

TEST_F(ConnectionTest, NoCameraWhenNothingAssertsCts) {
    FakeLines::install();
    FakeLines::query = FakeLines::Query::NoCts;
    EXPECT_EQ(connect(), 0);
    EXPECT_EQ(status(), "Error : no camera ?");
    EXPECT_EQ(m_host.beeps, 1);
    ASSERT_EQ(FakeLines::opened.size(), 1u);
    EXPECT_EQ(FakeLines::closed, FakeLines::opened);
    ASSERT_EQ(FakeLines::changes.size(), 2u);
    EXPECT_EQ(FakeLines::changes[1].first, static_cast<unsigned long>(TIOCMBIC));
    EXPECT_EQ(send("G=1"), 0);
    EXPECT_EQ(status(), "No Connexion");

    // Modem lines that cannot be read for another reason than their absence do not make a camera.
    FakeLines::query = FakeLines::Query::Fails;
    EXPECT_EQ(connect(), 0);
    EXPECT_EQ(status(), "Error : no camera ?");
    EXPECT_EQ(m_host.beeps, 2);

    FakeLines::query = FakeLines::Query::Cts;
    EXPECT_EQ(connect(), 1);
    EXPECT_EQ(m_host.beeps, 2);
}

TEST_F(ConnectionTest, CtsDroppingLaterRefusesEachExchange) {
    FakeLines::install();
    ASSERT_EQ(connect(), 1);
    FakeLines::query = FakeLines::Query::NoCts;
    EXPECT_EQ(send("G=1"), -1);
    EXPECT_EQ(status(), "Communication error");
    EXPECT_EQ(reply(), "");
    EXPECT_EQ(send("G=2", 10), -1);
    EXPECT_EQ(status(), "Communication error");
    EXPECT_EQ(m_host.busy, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(m_host.beeps, 0);

    // Nothing reached the camera, and the port stayed open for when CTS comes back.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(m_server->lines().empty());
    FakeLines::query = FakeLines::Query::Cts;
    EXPECT_EQ(send("G=2"), 4);
    EXPECT_EQ(m_server->lines(), std::vector<std::string>{"G=2"});
}

} // namespace
} // namespace vistrel::test
