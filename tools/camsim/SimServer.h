#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/UniqueFd.h"
#include "tools/camsim/CameraModel.h"

namespace vistrel::camsim {

// Carries a CameraModel over a file descriptor: a pseudo-terminal whose other side is handed to the
// program under test, or a real serial device. Answers go out at the times the model asks for.
class SimServer {
public:
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // A new pseudo-terminal pair; devicePath() names the side to connect to. Null with `error` set
    // when the system gives no pair.
    static std::unique_ptr<SimServer> openPty(CameraModel model, std::string& error);
    // An existing serial device, raw 8N1 at `baud`; where the device has modem lines, the camera's
    // CTS is driven through RTS.
    static std::unique_ptr<SimServer> openDevice(const std::string& path, int baud, CameraModel model,
                                                 std::string& error);

    const std::string& devicePath() const { return m_devicePath; }

    // Called on the serving thread for every piece of received bytes.
    void setReceiveHook(std::function<void(const TranscriptEntry&)> hook);

    void start(); // serves on a thread of its own
    void stop();  // ends serving and waits for the thread; safe to call twice

    // Sends bytes at once, outside any answer (stale input for the program under test).
    void inject(const std::string& bytes);
    // Ends the link now, as an unplugged cable or a closed terminal does.
    void hangUp();
    bool hungUp() const;

    // Waits until the model has taken `count` command lines; false at the time-out.
    bool waitForLines(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits until nothing is left to send and the receiving side has read it all (pseudo-terminal only).
    bool waitUntilDelivered(std::chrono::milliseconds timeout) const;
    // Bytes waiting, unread, on the receiving side of the pseudo-terminal; -1 when unknown.
    int bytesWaitingAtDevice() const;

    std::vector<TranscriptEntry> transcript() const;
    std::vector<std::string> lines() const; // the most recent ones, as the model keeps them
    std::size_t linesTaken() const;
    Clock::time_point startedAt() const;
    void setKnobs(const FaultKnobs& knobs);
    std::string valueOf(char commandChar) const;

private:
    struct Pending {
        Clock::time_point due;
        std::string bytes;
        bool hangUp = false;
    };

    SimServer(UniqueFd fd, UniqueFd holdFd, std::string devicePath, bool realDevice, CameraModel model);
    void serve();
    void wake();
    void closeLink();
    void driveCts();
    bool flushDue(std::unique_lock<std::mutex>& lock);

    UniqueFd m_fd;
    UniqueFd m_holdFd;                // the device side kept open, so the link stays up between the client's opens
    UniqueFd m_wakeRead, m_wakeWrite; // a pipe that wakes the serving thread
    std::string m_devicePath;
    bool m_realDevice = false;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    CameraModel m_model;
    std::deque<Pending> m_queue;
    bool m_stopping = false;
    bool m_hungUp = false;
    std::function<void(const TranscriptEntry&)> m_hook;
    std::thread m_thread;
};

} // namespace vistrel::camsim
