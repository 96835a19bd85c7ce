// A scripted Camera Link serial library for the link tests: the test loads it with dlopen, then
// drives it through the cltest_ functions of the same handle.
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Script {
    int ports = 2;
    int writeResult = 0;
    std::string reply;
    std::size_t replyPos = 0;
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
    script.replyPos = 0;
    script.written.clear();
    script.readTimeouts.clear();
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
    if (index >= static_cast<unsigned int>(script.ports) || index >= 1000) {
        return -10001;
    }
    *ref = &refs[index];
    ++script.openRefs;
    return 0;
}

__attribute__((visibility("default"))) int clSerialRead(void* /*ref*/, char* buffer, unsigned int* size,
                                                        unsigned int timeout) {
    script.readTimeouts.push_back(timeout);
    const int served = static_cast<int>(script.replyPos);
    if (script.failAfter >= 0 && served >= script.failAfter) {
        return script.readError;
    }
    if (script.replyPos + *size > script.reply.size()) {
        return -10004;
    }
    std::memcpy(buffer, script.reply.data() + script.replyPos, *size);
    script.replyPos += *size;
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
