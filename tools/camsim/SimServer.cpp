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

speed_t termiosSpeedOf(int baud) {
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

} // namespace

SimServer::SimServer(UniqueFd fd, UniqueFd holdFd, std::string devicePath, bool realDevice, CameraModel model)
    : m_fd(std::move(fd)), m_holdFd(std::move(holdFd)), m_devicePath(std::move(devicePath)), m_realDevice(realDevice),
      m_model(std::move(model)) {
    int wake[2] = {-1, -1};
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_wakeRead.reset(wake[0]);
        m_wakeWrite.reset(wake[1]);
    }
}

SimServer::~SimServer() {
    stop();
    closeLink();
}

std::unique_ptr<SimServer> SimServer::openPty(CameraModel model, std::string& error) {
    UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    char name[128] = {};
    if (!master || grantpt(master.get()) != 0 || unlockpt(master.get()) != 0 ||
        ptsname_r(master.get(), name, sizeof name) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    fcntl(master.get(), F_SETFL, fcntl(master.get(), F_GETFL) | O_NONBLOCK);
    UniqueFd hold(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!hold) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        return nullptr;
    }
    makeRaw(hold.get(), B9600);
    auto server =
        std::unique_ptr<SimServer>(new SimServer(std::move(master), std::move(hold), name, false, std::move(model)));
    if (!server->m_wakeRead) {
        error = "cannot create a pipe";
        return nullptr;
    }
    return server;
}

std::unique_ptr<SimServer> SimServer::openDevice(const std::string& path, int baud, CameraModel model,
                                                 std::string& error) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    if (!isatty(fd.get())) {
        error = path + " is not a terminal device";
        return nullptr;
    }
    speed_t speed = termiosSpeedOf(baud);
    if (speed == B0) {
        error = "unsupported baud rate " + std::to_string(baud);
        return nullptr;
    }
    makeRaw(fd.get(), speed);
    auto server = std::unique_ptr<SimServer>(new SimServer(std::move(fd), UniqueFd(), path, true, std::move(model)));
    if (!server->m_wakeRead) {
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
    if (m_wakeWrite) {
        char c = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wakeWrite.get(), &c, 1);
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
    m_fd.reset();
    m_holdFd.reset();
}

void SimServer::driveCts() {
    if (!m_realDevice || !m_fd)
        return;
    int rts = TIOCM_RTS;
    ioctl(m_fd.get(), m_model.ctsAsserted() ? TIOCMBIS : TIOCMBIC, &rts);
}

bool SimServer::waitForLines(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_model.linesTaken() >= count; });
}

int SimServer::bytesWaitingAtDevice() const {
    std::lock_guard lock(m_mutex);
    int waiting = -1;
    if (!m_holdFd || ioctl(m_holdFd.get(), FIONREAD, &waiting) != 0)
        return -1;
    return waiting;
}

bool SimServer::waitUntilDelivered(std::chrono::milliseconds timeout) const {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        {
            std::lock_guard lock(m_mutex);
            int waiting = 0;
            if (m_queue.empty() && (!m_holdFd || (ioctl(m_holdFd.get(), FIONREAD, &waiting) == 0 && waiting == 0)))
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
        if (front.hangUp || !m_fd) {
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
        ssize_t n = ::write(m_fd.get(), front.bytes.data(), front.bytes.size());
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
        pollfd fds[2] = {{m_wakeRead.get(), POLLIN, 0}, {m_fd.get(), POLLIN, 0}};
        if (!writable && timeoutMs == 0) {
            fds[1].events |= POLLOUT;
            timeoutMs = -1;
        }
        const nfds_t count = m_fd.valid() ? 2 : 1;
        lock.unlock();
        int ready = ::poll(fds, count, timeoutMs);
        lock.lock();
        if (ready <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            char scrap[64];
            while (::read(m_wakeRead.get(), scrap, sizeof scrap) > 0) {
            }
        }
        if (count < 2 || !m_fd || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[4096];
        ssize_t n = ::read(m_fd.get(), buffer, sizeof buffer);
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
