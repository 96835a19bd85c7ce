#include "tests/serial/SimLink.h"

#include <array>
#include <cstdio>
#include <dlfcn.h>
#include <set>
#include <sstream>

namespace vistrel::test {
namespace {

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}

TEST(ExportTest, LibraryExportsExactlyItsSixFunctionsAndNeedsOnlyLibc) {
    std::set<std::string> exported;
    std::istringstream symbols(run("nm -D --defined-only '" HALVEX32_PATH "'"));
    std::string address, type, name;
    while (symbols >> address >> type >> name) {
        // Sanitizer builds add their own bookkeeping symbols; they are not part of the interface.
        if (name.rfind("__asan", 0) == 0 || name.rfind("__odr_asan", 0) == 0 || name.rfind("__ubsan", 0) == 0)
            continue;
        exported.insert(name);
    }
    EXPECT_EQ(exported, (std::set<std::string>{"HVX_CheckLink", "HVX_Connect", "HVX_ConnectDevice", "HVX_Disconn",
                                               "HVX_SendData", "HVX_SetHostCallbacks"}));

    const std::string dynamic = run("readelf -d '" HALVEX32_PATH "'");
    EXPECT_NE(dynamic.find("[libc.so.6]"), std::string::npos);
    EXPECT_EQ(dynamic.find("libstdc++"), std::string::npos);
    EXPECT_EQ(dynamic.find("libgcc_s"), std::string::npos);
}

TEST(ExportTest, LoadedLibraryTalksToTheSimulator) {
    std::string error;
    auto server = camsim::SimServer::openPty(camsim::CameraModel(demoCamera()), error);
    ASSERT_TRUE(server) << error;
    server->start();

    void* library = dlopen(HALVEX32_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto connectDevice = reinterpret_cast<int (*)(char*, const char*, int)>(dlsym(library, "HVX_ConnectDevice"));
    auto sendData = reinterpret_cast<int (*)(char*, const char*, char*, int)>(dlsym(library, "HVX_SendData"));
    auto disconnect = reinterpret_cast<int (*)(char*)>(dlsym(library, "HVX_Disconn"));
    ASSERT_TRUE(connectDevice && sendData && disconnect);
    EXPECT_EQ(dlsym(library, "hvxSetSys"), nullptr);

    char status[HVX_STATUS_MIN_SIZE];
    char reply[HVX_REPLY_MIN_SIZE];
    EXPECT_EQ(connectDevice(status, server->devicePath().c_str(), 19200), 1);
    EXPECT_EQ(sendData(status, "E=200", reply, 0), 4);
    EXPECT_STREQ(reply, ">OK\r");
    EXPECT_STREQ(status, "Sending & Receipt OK");
    EXPECT_EQ(disconnect(status), 1);
    dlclose(library);
    EXPECT_EQ(server->valueOf('E'), "200");
}

TEST(ExportTest, UnloadingTheLibraryReleasesAPortLeftOpen) {
    std::string error;
    auto server = camsim::SimServer::openPty(camsim::CameraModel(demoCamera()), error);
    ASSERT_TRUE(server) << error;
    server->start();

    // Exclusive mode outlives the terminal's last close: the library itself must undo it. A
    // process of its own, since this one may already hold the library and then never unloads it.
    const std::string output =
        run("'" HALVEX32_UNLOAD_PROBE "' '" HALVEX32_PATH "' '" + server->devicePath() + "' 2>&1");
    EXPECT_EQ(output, "exclusive=0\n");
}

} // namespace
} // namespace vistrel::test
