// A scripted Camera Link serial library for the link tests: the test loads it with dlopen, then
// drives it through the cltest_ functions of the same handle.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Script {
    int ports = 2;
    int writeResult = 0;
    std::string reply;      // the camera's answer to each command written
    std::string waiting;    // bytes on the line now
    std::size_t served = 0; // bytes read since the reply was set
    bool afterWrite = false;
    int readMode = 0;   // 0 as scripted, 1 never returns until released, 2 success without a byte
    int failAfter = -1; // bytes served before readError is returned; -1: never
    int readError = -10004;
    std::string written;
    std::string log;
    std::vector<unsigned int> readTimeouts;
    unsigned int writeTimeout = 0;
    int openRefs = 0;
};

Script script;
int refs[1000];
std::atomic<bool> hanging{false};

// A library whose loading goes wrong, for the trial load: its fate comes from the environment.
#ifdef CLTEST_LOAD_FATE
__attribute__((constructor)) void loadFate() {
    const char* fate = std::getenv("CLTEST_LOAD_FATE");
    const std::string wanted = fate ? fate : "";
    if (wanted == "exit") {
        std::exit(3);
    } else if (wanted == "crash") {
        std::abort();
    } else if (wanted == "hang") {
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
}
#endif

void note(const std::string& event) {
    if (!script.log.empty()) {
        script.log += ' ';
    }
    script.log += event;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void cltest_reset(int ports) {
    script = Script{};
    script.ports = ports;
}
__attribute__((visibility("default"))) void cltest_set_reply(const char* bytes, int length) {
    // Each exchange starts a fresh record of what was written and read.
    script.reply.assign(bytes, static_cast<std::size_t>(length));
    script.served = 0;
    script.afterWrite = false;
    script.written.clear();
    script.readTimeouts.clear();
}
__attribute__((visibility("default"))) void cltest_inject(const char* bytes, int length) {
    script.waiting.append(bytes, static_cast<std::size_t>(length));
}
__attribute__((visibility("default"))) void cltest_set_read_mode(int mode) {
    script.readMode = mode;
    hanging = mode == 1;
}
__attribute__((visibility("default"))) void cltest_set_write_result(int result) {
    script.writeResult = result;
}
__attribute__((visibility("default"))) void cltest_fail_read_after(int bytes, int code) {
    script.failAfter = bytes;
    script.readError = code;
}
__attribute__((visibility("default"))) const char* cltest_written() {
    return script.written.c_str();
}
__attribute__((visibility("default"))) const char* cltest_log() {
    return script.log.c_str();
}
__attribute__((visibility("default"))) int cltest_read_calls() {
    return static_cast<int>(script.readTimeouts.size());
}
__attribute__((visibility("default"))) unsigned int cltest_read_timeout(int call) {
    return script.readTimeouts.at(static_cast<std::size_t>(call));
}
__attribute__((visibility("default"))) unsigned int cltest_write_timeout() {
    return script.writeTimeout;
}
__attribute__((visibility("default"))) int cltest_open_refs() {
    return script.openRefs;
}

__attribute__((visibility("default"))) int clSerialInit(unsigned int index, void** ref) {
    note("init" + std::to_string(index));
#ifdef CLTEST_LOAD_FATE
    // For a program run as a whole: how its reads misbehave (cltest_set_read_mode).
    if (const char* mode = std::getenv("CLTEST_READ_MODE")) {
        script.readMode = std::atoi(mode);
        hanging = script.readMode == 1;
    }
#endif
    if (index >= static_cast<unsigned int>(script.ports) || index >= 1000) {
        return -10001;
    }
    *ref = &refs[index];
    ++script.openRefs;
    return 0;
}

__attribute__((visibility("default"))) int clSerialRead(void* /*ref*/, char* buffer, unsigned int* size,
                                                        unsigned int timeout) {
    if (script.readMode == 1) {
        while (hanging) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -10004;
    }
    if (script.readMode == 2) {
        *size = 0;
        return 0;
    }
    // Reads before the command (the exchange clearing the line) are not part of its record.
    if (script.afterWrite) {
        script.readTimeouts.push_back(timeout);
    }
    if (script.failAfter >= 0 && static_cast<int>(script.served) >= script.failAfter) {
        return script.readError;
    }
    if (*size > script.waiting.size()) {
        return -10004;
    }
    std::memcpy(buffer, script.waiting.data(), *size);
    script.waiting.erase(0, *size);
    script.served += *size;
    return 0;
}

__attribute__((visibility("default"))) int clSerialWrite(void* /*ref*/, char* buffer, unsigned int* size,
                                                         unsigned int timeout) {
    script.writeTimeout = timeout;
    note("write");
    if (script.writeResult != 0) {
        return script.writeResult;
    }
    script.written.append(buffer, *size);
    script.waiting += script.reply;
    script.afterWrite = true;
    return 0;
}

#ifndef CLTEST_NO_CLOSE
__attribute__((visibility("default"))) void clSerialClose(void* ref) {
    const long index = static_cast<int*>(ref) - refs;
    note("close" + std::to_string(index));
    --script.openRefs;
}
#endif
}
