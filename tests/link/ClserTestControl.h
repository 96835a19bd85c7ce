#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>

namespace vistrel::test {

// The test's own handle on a scripted library: it keeps the library mapped (and its script alive)
// while the code under test loads and releases it, and reaches the cltest_ controls.
class ClserTestControl {
public:
    explicit ClserTestControl(const char* path, int ports = 2) : m_handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        EXPECT_NE(m_handle, nullptr) << dlerror();
        fn<void (*)(int)>("cltest_reset")(ports);
    }
    ~ClserTestControl() {
        if (m_handle) {
            dlclose(m_handle);
        }
    }
    ClserTestControl(const ClserTestControl&) = delete;
    ClserTestControl& operator=(const ClserTestControl&) = delete;

    void reply(const std::string& bytes) {
        fn<void (*)(const char*, int)>("cltest_set_reply")(bytes.data(), static_cast<int>(bytes.size()));
    }
    // Bytes that arrive on the line now, ahead of any command.
    void inject(const std::string& bytes) {
        fn<void (*)(const char*, int)>("cltest_inject")(bytes.data(), static_cast<int>(bytes.size()));
    }
    // 0 as scripted, 1 a read that does not return until the mode changes, 2 success without a byte.
    void readMode(int mode) { fn<void (*)(int)>("cltest_set_read_mode")(mode); }
    void writeResult(int result) { fn<void (*)(int)>("cltest_set_write_result")(result); }
    void failReadAfter(int bytes, int code) { fn<void (*)(int, int)>("cltest_fail_read_after")(bytes, code); }
    std::string written() { return fn<const char* (*)()>("cltest_written")(); }
    std::string log() { return fn<const char* (*)()>("cltest_log")(); }
    int readCalls() { return fn<int (*)()>("cltest_read_calls")(); }
    unsigned int readTimeout(int call) { return fn<unsigned int (*)(int)>("cltest_read_timeout")(call); }
    unsigned int writeTimeout() { return fn<unsigned int (*)()>("cltest_write_timeout")(); }
    int openRefs() { return fn<int (*)()>("cltest_open_refs")(); }

private:
    template <typename Fn> Fn fn(const char* name) {
        void* address = m_handle ? dlsym(m_handle, name) : nullptr;
        if (address == nullptr) {
            ADD_FAILURE() << "missing " << name;
            std::abort();
        }
        return reinterpret_cast<Fn>(address);
    }

    void* m_handle;
};

} // namespace vistrel::test
