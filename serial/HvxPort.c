#include "serial/HvxInternal.h"
#include "serial/HvxSys.h"
#include "serial/halvex32.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

static int checkLine(int fd);
static void closeLine(int fd);
static void closePort(int fd);

const struct HvxTransport g_hvxTtyTransport = {hvxCts,    hvxDiscardInput, hvxWriteAll, hvxReadByte,
                                               checkLine, closeLine,       closePort};

struct HvxPort g_hvxPort = {0, -1, &g_hvxTtyTransport, 0};

// Only the rates the terminal interface names can be set; any other gives a settings error.
static int speedFor(int baud, speed_t* speed) {
    static const struct {
        int baud;
        speed_t speed;
    } kRates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
        {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
        {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
        {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
        {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
    };
    for (size_t i = 0; i < sizeof kRates / sizeof kRates[0]; ++i) {
        if (kRates[i].baud == baud) {
            *speed = kRates[i].speed;
            return 1;
        }
    }
    return 0;
}

// Raw 8N1 at `baud`, output held while CTS is low, no XON/XOFF. Parity checking is left as found.
static int applyLineSettings(int fd, int baud) {
    speed_t speed;
    struct termios t;
    if (!speedFor(baud, &speed) || tcgetattr(fd, &t) != 0)
        return -1;
    t.c_iflag &= ~(tcflag_t)(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    t.c_oflag &= ~(tcflag_t)OPOST;
    t.c_lflag &= ~(tcflag_t)(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(tcflag_t)(CSIZE | PARENB | CSTOPB | CMSPAR);
    // CLOCAL: a camera that does not drive DCD must not hang the line up.
    t.c_cflag |= CS8 | CREAD | CLOCAL | CRTSCTS;
    // One byte satisfies a read, so an empty non-blocking read says EAGAIN and only a hang-up says 0.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0 || tcsetattr(fd, TCSANOW, &t) != 0)
        return -1;
    // tcsetattr succeeds when any part was taken; check that what matters was.
    struct termios check;
    if (tcgetattr(fd, &check) != 0 || cfgetospeed(&check) != speed || (check.c_cflag & CSIZE) != CS8 ||
        (check.c_cflag & (PARENB | CSTOPB)) != 0)
        return -1;
    return 0;
}

static void closePort(int fd) {
    hvxSys()->ioctl(fd, TIOCNXCL, NULL);
    hvxSys()->close(fd);
}

static void closeLine(int fd) {
    hvxSetDtr(fd, 0);
    tcflush(fd, TCIOFLUSH);
    closePort(fd);
}

int HVX_Connect(char* status, int port, int baud) {
    if (g_hvxPort.connected) {
        hvxSetStatus(status, "Connexion Already Done");
        return -1;
    }
    if (port < 1) {
        hvxSetStatus(status, "Error On Opening Communication");
        return 0;
    }
    // COM1 is the first serial device, /dev/ttyS0.
    char device[32];
    snprintf(device, sizeof device, "/dev/ttyS%d", port - 1);
    return HVX_ConnectDevice(status, device, baud);
}

int HVX_ConnectDevice(char* status, const char* device, int baud) {
    if (g_hvxPort.connected) {
        hvxSetStatus(status, "Connexion Already Done");
        return -1;
    }
    if (device && hvxIsNetAddress(device))
        return hvxNetConnect(status, device, baud);
    int fd = device ? hvxSys()->open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (fd < 0) {
        hvxSetStatus(status, "Error On Opening Communication");
        return 0;
    }
    // The port is ours alone: TIOCEXCL stops other openers (root excepted), the lock stops other
    // users of the same convention whoever they run as.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        hvxSys()->close(fd);
        hvxSetStatus(status, "Error On Opening Communication");
        return 0;
    }
    hvxSys()->ioctl(fd, TIOCEXCL, NULL);
    tcflush(fd, TCIOFLUSH);

    if (applyLineSettings(fd, baud) != 0) {
        closePort(fd);
        hvxSetStatus(status, "Error Setting Communication");
        hvxBeep();
        return 0;
    }
    hvxSetDtr(fd, 1);

    // Taken at once: something at the other end must already assert CTS.
    if (hvxCts(fd) != 1) {
        hvxSetDtr(fd, 0);
        tcflush(fd, TCIOFLUSH);
        closePort(fd);
        hvxSetStatus(status, "Error : no camera ?");
        hvxBeep();
        g_hvxPort.connected = 0;
        return 0;
    }
    g_hvxPort.fd = fd;
    g_hvxPort.transport = &g_hvxTtyTransport;
    g_hvxPort.connected = 1;
    g_hvxPort.unanswered = 0;
    hvxSetStatus(status, "Connection OK");
    return 1;
}

void hvxForgetLostPort(void) {
    if (g_hvxPort.fd >= 0)
        g_hvxPort.transport->drop(g_hvxPort.fd);
    g_hvxPort.fd = -1;
    g_hvxPort.connected = 0;
}

static int checkLine(int fd) {
    // Events 0: poll reports only a hang-up or an error, and returns at once.
    struct pollfd p = {fd, 0, 0};
    int n;
    do {
        n = hvxSys()->poll(&p, 1, 0);
    } while (n < 0 && errno == EINTR);
    return n > 0 && hvxLostEvents(p.revents) ? HVX_LOST : 1;
}

int HVX_CheckLink(char* status) {
    if (!g_hvxPort.connected) {
        hvxSetStatus(status, "No Connexion");
        return 0;
    }
    if (g_hvxPort.transport->check(g_hvxPort.fd) == HVX_LOST) {
        hvxForgetLostPort();
        hvxSetStatus(status, "Connexion lost");
        return -1;
    }
    hvxSetStatus(status, "Connection OK");
    return 1;
}

int HVX_Disconn(char* status) {
    if (!g_hvxPort.connected) {
        hvxSetStatus(status, "No Connexion to Close");
        return 0;
    }
    g_hvxPort.transport->close(g_hvxPort.fd);
    g_hvxPort.fd = -1;
    g_hvxPort.connected = 0;
    hvxSetStatus(status, "Connexion Closed");
    return 1;
}

// A host that ends without HVX_Disconn must not leave the port in exclusive mode: on a
// pseudo-terminal the mode outlives the process and keeps every other user out.
__attribute__((destructor)) static void releasePortAtUnload(void) {
    HVX_Disconn(NULL);
}
