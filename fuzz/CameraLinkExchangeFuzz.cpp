// The Camera Link exchange against a grabber library that answers with the fuzzer's bytes and
// result codes: the reply never overruns its buffer, a success is always a whole frame, and the
// status is always a terminated text.
#include "FuzzInput.h"
#include "link/CameraLinkChannel.h"
#include "link/CameraLinkExchange.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

std::string g_stream; // what the camera sends, with the read failures among it
std::size_t g_pos = 0;
int g_writeResult = 0;
std::size_t g_reads = 0;
bool g_written = false; // the camera answers only once the command is out

int fakeInit(unsigned int, void** ref) {
    *ref = &g_stream;
    return 0;
}
int fakeWrite(void*, char* buffer, unsigned int* size, unsigned int) {
    // The line is the command and one carriage return.
    if (*size == 0 || buffer[*size - 1] != '\r' || std::strlen(buffer) != *size) {
        std::abort();
    }
    g_written = g_writeResult == 0;
    return g_writeResult;
}
// 0xFF then a byte: a failed read (time-out for an even byte); any other byte: that byte arrives;
// no byte left: a time-out.
int fakeRead(void*, char* buffer, unsigned int* size, unsigned int) {
    if (!g_written) {
        return vistrel::kClErrTimeout;
    }
    ++g_reads;
    if (*size != 1) {
        std::abort();
    }
    if (g_pos >= g_stream.size()) {
        return vistrel::kClErrTimeout;
    }
    const auto byte = static_cast<std::uint8_t>(g_stream[g_pos++]);
    if (byte == 0xFF) {
        const auto code = g_pos < g_stream.size() ? static_cast<std::uint8_t>(g_stream[g_pos++]) : 0;
        return code % 2 == 0 ? vistrel::kClErrTimeout : -10000 - code;
    }
    buffer[0] = static_cast<char>(byte);
    return 0;
}
void fakeClose(void*) {}

// Hands out the fake entry points as if a library exported them.
class FakeLoader : public vistrel::DynamicLoader {
public:
    void* open(const std::string&) override { return this; }
    void* symbol(void*, const char* name) override {
        const std::string_view entry(name);
        return entry == "clSerialInit"    ? reinterpret_cast<void*>(&fakeInit)
               : entry == "clSerialRead"  ? reinterpret_cast<void*>(&fakeRead)
               : entry == "clSerialWrite" ? reinterpret_cast<void*>(&fakeWrite)
               : entry == "clSerialClose" ? reinterpret_cast<void*>(&fakeClose)
                                          : nullptr;
    }
    bool close(void*) override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vistrel::fuzz::FuzzInput input(data, size);
    g_reads = 0;
    g_written = false;
    const int capacity = input.byte() % 64 + 1;
    g_writeResult = input.byte() % 8 == 0 ? -10002 : 0;
    const std::string command = input.name(120);
    g_stream = input.rest();
    g_pos = 0;

    static FakeLoader loader;
    vistrel::LinkState link;
    link.CameraLinkLibrary = vistrel::CameraLinkLibraryHandle(loader, &loader);
    if (vistrel::OpenCameraLinkChannel(link, link.LinkStatusText) != 1) {
        std::abort();
    }

    // Exactly `capacity` bytes, so ASan sees any write past them.
    std::unique_ptr<char[]> reply(new char[static_cast<std::size_t>(capacity)]);
    std::memset(reply.get(), '#', static_cast<std::size_t>(capacity));
    char status[vistrel::kLinkStatusCapacity];
    std::memset(status, 'x', sizeof status);
    const int result = vistrel::CameraLinkSendReceive(link, status, command.c_str(), reply.get(), capacity);

    if (std::memchr(status, '\0', sizeof status) == nullptr) {
        std::abort();
    }
    if (result == -1) {
        return 0;
    }
    // A success: at least '>' and CR, terminated inside the buffer, ending the first frame.
    if (result < 2 || result > capacity - 1 || reply[static_cast<std::size_t>(result)] != '\0' ||
        reply[static_cast<std::size_t>(result) - 1] != '\r' || g_reads != static_cast<std::size_t>(result)) {
        std::abort();
    }
    const std::string_view frame(reply.get(), static_cast<std::size_t>(result));
    const std::size_t start = frame.find('>');
    if (start == std::string_view::npos || frame.find('\r', start + 1) != frame.size() - 1) {
        std::abort();
    }
    return 0;
}
