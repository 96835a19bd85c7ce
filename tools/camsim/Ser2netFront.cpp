#include "tools/camsim/Ser2netFront.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vistrel::camsim {

namespace {

int freeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

std::string contentsOf(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

} // namespace

Ser2netFront::Ser2netFront(const std::string& device, Accepter accepter) : m_accepter(accepter) {
    char folder[] = "/tmp/vistrel-ser2net-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        m_error = "no temporary folder";
        return;
    }
    m_folder = folder;
    // A port found free can be taken by someone else before ser2net binds it: then another.
    for (int attempt = 0; attempt < 3 && m_pid < 0; ++attempt) {
        start(device);
    }
}

Ser2netFront::~Ser2netFront() {
    stop();
    std::remove((m_folder + "/ser2net.yaml").c_str());
    std::remove((m_folder + "/ser2net.log").c_str());
    rmdir(m_folder.c_str());
}

std::string Ser2netFront::url() const {
    return (m_accepter == Accepter::Rfc2217 ? "rfc2217://127.0.0.1:" : "tcp://127.0.0.1:") + std::to_string(m_port);
}

void Ser2netFront::stop() {
    if (m_pid <= 0) {
        return;
    }
    kill(m_pid, SIGTERM);
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = waitpid(m_pid, nullptr, WNOHANG) == m_pid;
        if (!ended) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (!ended) { // still there after 2 s
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
}

// Read from the kernel's table rather than by connecting: a connection would open the device.
bool Ser2netFront::listening() const {
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

void Ser2netFront::start(const std::string& device) {
    m_port = freeLoopbackPort();
    const std::string config = m_folder + "/ser2net.yaml";
    const std::string log = m_folder + "/ser2net.log";
    std::ofstream(config) << "connection: &camsim\n  accepter: "
                          << (m_accepter == Accepter::Rfc2217 ? "telnet(rfc2217),tcp" : "tcp") << ",127.0.0.1,"
                          << m_port << "\n  connector: serialdev," << device
                          << ",9600n81,local\n  options:\n    chardelay: false\n";
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlives its parent, however that ends
        if (getppid() != parent) {
            _exit(127);
        }
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        dup2(out, 1);
        dup2(out, 2);
        // -d: in the foreground, its log on standard output; -u: no UUCP lock files.
        execlp("ser2net", "ser2net", "-d", "-u", "-c", config.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; pid > 0 && i < 300; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            m_error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                          ? "ser2net is not installed (scripts/install-deps.sh installs it)"
                          : "ser2net ended: " + contentsOf(log);
            return;
        }
        if (listening()) {
            m_pid = pid;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    m_error = "ser2net did not listen on 127.0.0.1:" + std::to_string(m_port) + ": " + contentsOf(log);
}

} // namespace vistrel::camsim
