#include "tools/camsim/SimServer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vistrel::camsim {

namespace {

void makeRaw(int fd, speed_t speed) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (speed != B0) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    }
    tcsetattr(fd, TCSANOW, &t);
}

speed_t speedFor(int baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

SimServer::SimServer(int fd, int holdFd, std::string devicePath, bool realDevice, CameraModel model)
    : m_fd(fd), m_holdFd(holdFd), m_devicePath(std::move(devicePath)), m_realDevice(realDevice),
      m_model(std::move(model)) {
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wake[0] = m_wake[1] = -1;
}

SimServer::~SimServer() {
    stop();
    closeLink();
    closeFd(m_wake[0]);
    closeFd(m_wake[1]);
}

std::unique_ptr<SimServer> SimServer::openPty(CameraModel model, std::string& error) {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        if (master >= 0)
            ::close(master);
        return nullptr;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    int hold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (hold < 0) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        ::close(master);
        return nullptr;
    }
    makeRaw(hold, B9600);
    auto server = std::unique_ptr<SimServer>(new SimServer(master, hold, name, false, std::move(model)));
    if (server->m_wake[0] < 0) {
        error = "cannot create a pipe";
        return nullptr;
    }
    return server;
}

std::unique_ptr<SimServer> SimServer::openDevice(const std::string& path, int baud, CameraModel model,
                                                 std::string& error) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    if (!isatty(fd)) {
        error = path + " is not a terminal device";
        ::close(fd);
        return nullptr;
    }
    speed_t speed = speedFor(baud);
    if (speed == B0) {
        error = "unsupported baud rate " + std::to_string(baud);
        ::close(fd);
        return nullptr;
    }
    makeRaw(fd, speed);
    auto server = std::unique_ptr<SimServer>(new SimServer(fd, -1, path, true, std::move(model)));
    if (server->m_wake[0] < 0) {
        error = "cannot create a pipe";
        return nullptr;
    }
    server->driveCts();
    return server;
}

void SimServer::setReceiveHook(std::function<void(const TranscriptEntry&)> hook) {
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

void SimServer::start() {
    std::lock_guard lock(m_mutex);
    if (!m_thread.joinable())
        m_thread = std::thread([this] { serve(); });
}

void SimServer::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    wake();
    if (m_thread.joinable())
        m_thread.join();
}

void SimServer::wake() {
    if (m_wake[1] >= 0) {
        char c = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wake[1], &c, 1);
    }
}

void SimServer::inject(const std::string& bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_front({Clock::now(), bytes});
    }
    wake();
}

void SimServer::hangUp() {
    {
        std::lock_guard lock(m_mutex);
        closeLink();
        m_hungUp = true;
        m_queue.clear();
    }
    wake();
    m_changed.notify_all();
}

bool SimServer::hungUp() const {
    std::lock_guard lock(m_mutex);
    return m_hungUp;
}

void SimServer::closeLink() {
    // Closing the controlling side first hangs the other side up, as unplugging a cable would.
    closeFd(m_fd);
    closeFd(m_holdFd);
}

void SimServer::driveCts() {
    if (!m_realDevice || m_fd < 0)
        return;
    int rts = TIOCM_RTS;
    ioctl(m_fd, m_model.ctsAsserted() ? TIOCMBIS : TIOCMBIC, &rts);
}

bool SimServer::waitForLines(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_model.linesTaken() >= count; });
}

int SimServer::bytesWaitingAtDevice() const {
    std::lock_guard lock(m_mutex);
    int waiting = -1;
    if (m_holdFd < 0 || ioctl(m_holdFd, FIONREAD, &waiting) != 0)
        return -1;
    return waiting;
}

bool SimServer::waitUntilDelivered(std::chrono::milliseconds timeout) const {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        {
            std::lock_guard lock(m_mutex);
            int waiting = 0;
            if (m_queue.empty() && (m_holdFd < 0 || (ioctl(m_holdFd, FIONREAD, &waiting) == 0 && waiting == 0)))
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

std::vector<TranscriptEntry> SimServer::transcript() const {
    std::lock_guard lock(m_mutex);
    return m_model.transcript();
}

std::vector<std::string> SimServer::lines() const {
    std::lock_guard lock(m_mutex);
    return m_model.lines();
}

std::size_t SimServer::linesTaken() const {
    std::lock_guard lock(m_mutex);
    return m_model.linesTaken();
}

Clock::time_point SimServer::startedAt() const {
    std::lock_guard lock(m_mutex);
    return m_model.startedAt();
}

void SimServer::setKnobs(const FaultKnobs& knobs) {
    std::lock_guard lock(m_mutex);
    m_model.setKnobs(knobs);
    driveCts();
}

std::string SimServer::valueOf(char commandChar) const {
    std::lock_guard lock(m_mutex);
    return m_model.valueOf(commandChar);
}

// Writes what is due. Returns false when the device would not take more for now.
bool SimServer::flushDue(std::unique_lock<std::mutex>&) {
    const auto now = Clock::now();
    while (!m_queue.empty() && m_queue.front().due <= now) {
        Pending& front = m_queue.front();
        if (front.hangUp || m_fd < 0) {
            if (front.hangUp) {
                closeLink();
                m_hungUp = true;
                m_queue.clear();
                m_changed.notify_all();
                return true;
            }
            m_queue.pop_front();
            continue;
        }
        ssize_t n = ::write(m_fd, front.bytes.data(), front.bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return false;
        if (n < 0) {
            m_queue.pop_front(); // the other side is gone; what it would have read is lost with it
            continue;
        }
        front.bytes.erase(0, static_cast<std::size_t>(n));
        if (front.bytes.empty())
            m_queue.pop_front();
    }
    return true;
}

void SimServer::serve() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        bool writable = flushDue(lock);
        int timeoutMs = -1;
        if (!m_queue.empty()) {
            auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_queue.front().due - Clock::now());
            timeoutMs = static_cast<int>(std::max<long long>(0, wait.count()));
        }
        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {m_fd, POLLIN, 0}};
        if (!writable && timeoutMs == 0) {
            fds[1].events |= POLLOUT;
            timeoutMs = -1;
        }
        const nfds_t count = m_fd >= 0 ? 2 : 1;
        lock.unlock();
        int ready = ::poll(fds, count, timeoutMs);
        lock.lock();
        if (ready <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            char scrap[64];
            while (::read(m_wake[0], scrap, sizeof scrap) > 0) {
            }
        }
        if (count < 2 || m_fd < 0 || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[4096];
        ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            // No one on the other side (a device without a holder): wait a little rather than spin.
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            lock.lock();
            continue;
        }
        const auto now = Clock::now();
        Response response = m_model.receive(std::string_view(buffer, static_cast<std::size_t>(n)), now);
        if (m_hook)
            m_hook(m_model.transcript().back());
        auto due = m_queue.empty() ? now : std::max(now, m_queue.back().due);
        for (TimedBytes& piece : response.pieces) {
            due += piece.after;
            m_queue.push_back({due, std::move(piece.bytes)});
        }
        if (response.hangUp)
            m_queue.push_back({due, {}, true});
        driveCts();
        m_changed.notify_all();
    }
}

} // namespace vistrel::camsim
