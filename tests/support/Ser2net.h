#pragma once

// ser2net, Debian's serial-to-network server, in front of a device for as long as the object lives:
// on a free port of 127.0.0.1 only, with chardelay off, stopped by the destructor and killed with
// the process that started it. Header-only, so that benchmarks can use it too.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vistrel::test {

class Ser2net {
public:
    enum class Accepter { Rfc2217, Raw };

    Ser2net(const std::string& device, Accepter accepter = Accepter::Rfc2217) : m_accepter(accepter) {
        char folder[] = "/tmp/vistrel-ser2net-XXXXXX";
        if (mkdtemp(folder) == nullptr) {
            m_error = "no temporary folder";
            return;
        }
        m_folder = folder;
        // A port found free can be taken by another test before ser2net binds it: try again.
        for (int attempt = 0; attempt < 3 && m_pid < 0; ++attempt) {
            start(device);
        }
    }
    ~Ser2net() {
        stop();
        std::remove((m_folder + "/ser2net.yaml").c_str());
        std::remove((m_folder + "/ser2net.log").c_str());
        rmdir(m_folder.c_str());
    }
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool ok() const { return m_pid > 0; }
    const std::string& error() const { return m_error; }
    int port() const { return m_port; }
    std::string url() const {
        return (m_accepter == Accepter::Rfc2217 ? "rfc2217://127.0.0.1:" : "tcp://127.0.0.1:") + std::to_string(m_port);
    }

    // Ends the server: its connections close as a server that goes away closes them.
    void stop() {
        if (m_pid <= 0) {
            return;
        }
        kill(m_pid, SIGTERM);
        for (int i = 0; i < 200 && waitpid(m_pid, nullptr, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (waitpid(m_pid, nullptr, WNOHANG) == 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }

private:
    static int freePort() {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = 0;
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port = ntohs(address.sin_port);
        }
        close(fd);
        return port;
    }

    // Whether something listens on 127.0.0.1:port, read from the kernel's table without connecting
    // (a connection would make ser2net open the device).
    bool listening() const {
        char local[32];
        std::snprintf(local, sizeof local, "0100007F:%04X", m_port);
        std::ifstream table("/proc/net/tcp");
        for (std::string line; std::getline(table, line);) {
            std::istringstream fields(line);
            std::string slot, address, remote, state;
            fields >> slot >> address >> remote >> state;
            if (address == local && state == "0A") {
                return true;
            }
        }
        return false;
    }

    void start(const std::string& device) {
        m_port = freePort();
        const std::string config = m_folder + "/ser2net.yaml";
        const std::string log = m_folder + "/ser2net.log";
        std::ofstream(config) << "connection: &vistrel\n  accepter: "
                              << (m_accepter == Accepter::Rfc2217 ? "telnet(rfc2217),tcp" : "tcp") << ",127.0.0.1,"
                              << m_port << "\n  connector: serialdev," << device
                              << ",9600n81,local\n  options:\n    chardelay: false\n";
        const pid_t parent = getpid();
        const pid_t pid = fork();
        if (pid == 0) {
            // Never outlives whoever started it, even one killed without a chance to clean up.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) {
                _exit(127);
            }
            const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, 1);
            dup2(out, 2);
            execlp("ser2net", "ser2net", "-d", "-u", "-c", config.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid < 0) {
            m_error = "fork failed";
            return;
        }
        for (int i = 0; i < 300; ++i) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                m_error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                              ? "ser2net is not installed (scripts/install-deps.sh installs it)"
                              : "ser2net ended: " + readLog(log);
                return;
            }
            if (listening()) {
                m_pid = pid;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        m_error = "ser2net did not listen on port " + std::to_string(m_port) + ": " + readLog(log);
    }

    static std::string readLog(const std::string& path) {
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    Accepter m_accepter;
    std::string m_folder;
    std::string m_error;
    int m_port = 0;
    pid_t m_pid = -1;
};

} // namespace vistrel::test
