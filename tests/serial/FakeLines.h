#pragma once

#include <cerrno>
#include <sys/ioctl.h>
#include <vector>

#include "serial/HvxSys.h"

namespace vistrel::test {

// Modem lines that a pseudo-terminal does not have, put in front of the real system calls.
struct FakeLines {
    enum class Query { Cts, NoCts, Fails };
    static inline Query query = Query::Cts;
    static inline int outputQueued = 0; // what TIOCOUTQ reports; > 0 holds the output for ever
    static inline std::vector<std::pair<unsigned long, int>> changes; // TIOCMBIS / TIOCMBIC and their bits
    static inline std::vector<int> opened;
    static inline std::vector<int> closed;

    static int ioctl(int fd, unsigned long request, void* arg) {
        if (request == TIOCMGET) {
            if (query == Query::Fails) {
                errno = EIO;
                return -1;
            }
            *static_cast<int*>(arg) = TIOCM_DSR | (query == Query::Cts ? TIOCM_CTS : 0);
            return 0;
        }
        if (request == TIOCMBIS || request == TIOCMBIC) {
            changes.emplace_back(request, *static_cast<int*>(arg));
            return 0;
        }
        if (request == TIOCOUTQ && outputQueued > 0) {
            *static_cast<int*>(arg) = outputQueued;
            return 0;
        }
        return hvxRealSys()->ioctl(fd, request, arg);
    }
    static int open(const char* path, int flags) {
        int fd = hvxRealSys()->open(path, flags);
        opened.push_back(fd);
        return fd;
    }
    static int close(int fd) {
        closed.push_back(fd);
        return hvxRealSys()->close(fd);
    }

    // Installs the fake lines with CTS asserted and nothing recorded yet.
    static void install() {
        query = Query::Cts;
        outputQueued = 0;
        changes.clear();
        opened.clear();
        closed.clear();
        static HvxSys sys;
        sys = *hvxRealSys();
        sys.ioctl = &FakeLines::ioctl;
        sys.open = &FakeLines::open;
        sys.close = &FakeLines::close;
        hvxSetSys(&sys);
    }
};

} // namespace vistrel::test
