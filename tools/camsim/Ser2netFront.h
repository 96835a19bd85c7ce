#pragma once

#include <string>
#include <sys/types.h>

namespace vistrel::camsim {

// ser2net, Debian's serial-to-network server, in front of a device (a simulator's pseudo-terminal)
// for as long as the object lives: on a free port of 127.0.0.1 only, with chardelay off, so that the
// link library can be driven over the network as a station's camera is. Stopped by the destructor,
// and killed with the process that started it.
class Ser2netFront {
public:
    enum class Accepter { Rfc2217, Raw };

    explicit Ser2netFront(const std::string& device, Accepter accepter = Accepter::Rfc2217);
    ~Ser2netFront();
    Ser2netFront(const Ser2netFront&) = delete;
    Ser2netFront& operator=(const Ser2netFront&) = delete;

    bool ok() const { return m_pid > 0; }
    const std::string& error() const { return m_error; } // why it is not running
    std::string url() const;                             // rfc2217://127.0.0.1:PORT or tcp://127.0.0.1:PORT

    // Ends the server now; its connections close as those of a server that goes away.
    void stop();

private:
    bool listening() const;
    void start(const std::string& device);

    Accepter m_accepter;
    std::string m_folder;
    std::string m_error;
    int m_port = 0;
    pid_t m_pid = -1;
};

} // namespace vistrel::camsim
