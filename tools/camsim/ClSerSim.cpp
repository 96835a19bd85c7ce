// libclsersim.so: a Camera Link serial library whose ports are simulated cameras. Each port carries
// a CameraModel; bytes written reach the model at once, and its answer becomes readable at the
// times the model gives.
//
// Environment, read when a port is opened while none is open; when it has changed since, every
// port starts afresh with a new camera:
//   CLSERSIM_PORTS                 number of ports (default 1, at most 64)
//   CLSERSIM_CAM, CLSERSIM_CAM_<n> camera description of every port / of port n (default: a bare camera)
// Fault knobs, for every port or, with the suffix _<n>, for port n:
//   CLSERSIM_ANSWER        normal | never | withoutcr | garbage | overlong
//   CLSERSIM_ANSWER_DELAY  milliseconds before the first byte of an answer
//   CLSERSIM_BYTE_DELAY    milliseconds before each further byte
//   CLSERSIM_LEADING       bytes sent before the '>' of every answer
//   CLSERSIM_WRITE_FAIL    non-zero: every write fails with this code (1 means -10004)
//   CLSERSIM_READ_ERROR    non-zero: every read fails with this code
#include "tools/camsim/CameraModel.h"
#include "tools/camsim/ClSerSimConfig.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vistrel::camsim {

namespace {

struct Port {
    unsigned int index = 0;
    ClSerSimPortConfig config;
    std::unique_ptr<CameraModel> model; // made at the first open, kept while the library is loaded
    std::deque<std::pair<Clock::time_point, char>> pending;
    bool open = false;
};

struct Library {
    std::mutex mutex;
    std::string signature; // the environment the ports were made from
    std::vector<std::unique_ptr<Port>> ports;

    Library() { configure(); }

    void configure() {
        const std::string now = ClSerSimEnvironmentSignature();
        if (now == signature && !ports.empty()) {
            return;
        }
        signature = now;
        ports.clear();
        const ClSerSimConfig config = ReadClSerSimConfig();
        for (unsigned int i = 0; i < config.ports.size(); ++i) {
            auto port = std::make_unique<Port>();
            port->index = i;
            port->config = config.ports[i];
            ports.push_back(std::move(port));
        }
    }

    bool anyOpen() const {
        return std::any_of(ports.begin(), ports.end(), [](const auto& port) { return port->open; });
    }
};

Library& library() {
    static Library instance;
    return instance;
}

Port* portOf(void* ref) {
    Library& lib = library();
    for (auto& port : lib.ports) {
        if (port.get() == ref && port->open) {
            return port.get();
        }
    }
    return nullptr;
}

bool makeModel(Port& port) {
    if (port.model) {
        return true;
    }
    SimCamera camera;
    if (!port.config.camPath.empty()) {
        std::string error;
        if (!LoadSimCamera(port.config.camPath, camera, error)) {
            std::fprintf(stderr, "libclsersim: port %u: %s\n", port.index, error.c_str());
            return false;
        }
    }
    port.model = std::make_unique<CameraModel>(camera, port.config.knobs);
    return true;
}

} // namespace

} // namespace vistrel::camsim

using namespace vistrel::camsim;

#define CLSERSIM_EXPORT extern "C" __attribute__((visibility("default")))

CLSERSIM_EXPORT int clSerialInit(unsigned int serialIndex, void** serialRefPtr) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    if (serialRefPtr == nullptr) {
        return kClErrInvalidReference;
    }
    if (!lib.anyOpen()) {
        lib.configure();
    }
    if (serialIndex >= lib.ports.size()) {
        return kClErrInvalidIndex;
    }
    Port& port = *lib.ports[serialIndex];
    if (port.open) {
        return kClErrPortInUse;
    }
    if (!makeModel(port)) {
        return kClErrInvalidIndex;
    }
    port.open = true;
    port.pending.clear();
    *serialRefPtr = &port;
    return kClErrNoErr;
}

CLSERSIM_EXPORT int clSerialWrite(void* serialRef, char* buffer, unsigned int* bufferSize, unsigned int /*timeoutMs*/) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    Port* port = portOf(serialRef);
    if (port == nullptr || bufferSize == nullptr || (buffer == nullptr && *bufferSize > 0)) {
        return kClErrInvalidReference;
    }
    if (port->config.writeFailure != 0) {
        *bufferSize = 0;
        return port->config.writeFailure;
    }
    const Clock::time_point now = Clock::now();
    const Response response = port->model->receive(std::string_view(buffer, *bufferSize), now);
    Clock::time_point due = std::max(now, port->pending.empty() ? now : port->pending.back().first);
    for (const TimedBytes& piece : response.pieces) {
        due += piece.after;
        for (char c : piece.bytes) {
            port->pending.emplace_back(due, c);
        }
    }
    return kClErrNoErr;
}

// The standard's read: n bytes, or nothing at all when n bytes have not arrived within the time-out.
CLSERSIM_EXPORT int clSerialRead(void* serialRef, char* buffer, unsigned int* bufferSize, unsigned int timeoutMs) {
    Library& lib = library();
    std::unique_lock lock(lib.mutex);
    Port* port = portOf(serialRef);
    if (port == nullptr || bufferSize == nullptr || (buffer == nullptr && *bufferSize > 0)) {
        return kClErrInvalidReference;
    }
    if (port->config.readError != 0) {
        *bufferSize = 0;
        return port->config.readError;
    }
    const std::size_t wanted = *bufferSize;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (wanted == 0) {
        return kClErrNoErr;
    }
    if (port->pending.size() < wanted || port->pending[wanted - 1].first > deadline) {
        lock.unlock();
        std::this_thread::sleep_until(deadline);
        *bufferSize = 0;
        return kClErrTimeout;
    }
    const Clock::time_point ready = port->pending[wanted - 1].first;
    lock.unlock();
    std::this_thread::sleep_until(ready);
    lock.lock();
    if (portOf(serialRef) != port || port->pending.size() < wanted) {
        *bufferSize = 0;
        return kClErrInvalidReference; // closed meanwhile
    }
    for (std::size_t i = 0; i < wanted; ++i) {
        buffer[i] = port->pending.front().second;
        port->pending.pop_front();
    }
    return kClErrNoErr;
}

CLSERSIM_EXPORT void clSerialClose(void* serialRef) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    if (Port* port = portOf(serialRef)) {
        port->open = false;
        port->pending.clear();
    }
}

CLSERSIM_EXPORT int clGetNumSerialPorts(unsigned int* numSerialPorts) {
    if (numSerialPorts == nullptr) {
        return kClErrInvalidReference;
    }
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    if (!lib.anyOpen()) {
        lib.configure();
    }
    *numSerialPorts = static_cast<unsigned int>(lib.ports.size());
    return kClErrNoErr;
}

CLSERSIM_EXPORT int clGetManufacturerInfo(char* manufacturerName, unsigned int* bufferSize, unsigned int* version) {
    static const char name[] = "Vistrel camera simulator";
    if (bufferSize == nullptr) {
        return kClErrInvalidReference;
    }
    if (version != nullptr) {
        *version = 0x00010001; // Camera Link serial API 1.1
    }
    if (manufacturerName == nullptr || *bufferSize < sizeof name) {
        *bufferSize = sizeof name;
        return kClErrBufferTooSmall;
    }
    std::memcpy(manufacturerName, name, sizeof name);
    *bufferSize = sizeof name;
    return kClErrNoErr;
}

CLSERSIM_EXPORT int clGetNumBytesAvail(void* serialRef, unsigned int* numBytes) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    Port* port = portOf(serialRef);
    if (port == nullptr || numBytes == nullptr) {
        return kClErrInvalidReference;
    }
    const Clock::time_point now = Clock::now();
    *numBytes = static_cast<unsigned int>(
        std::count_if(port->pending.begin(), port->pending.end(), [now](const auto& p) { return p.first <= now; }));
    return kClErrNoErr;
}

CLSERSIM_EXPORT int clFlushPort(void* serialRef) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    Port* port = portOf(serialRef);
    if (port == nullptr) {
        return kClErrInvalidReference;
    }
    const Clock::time_point now = Clock::now();
    while (!port->pending.empty() && port->pending.front().first <= now) {
        port->pending.pop_front();
    }
    return kClErrNoErr;
}
