#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "serial/HvxSys.h"
#include "serial/halvex32.h"
#include "tools/camsim/SimServer.h"

namespace vistrel::test {

// A camera with one drop-down list G (0, 1, 2), one check box T (0, 1) and one list E.
inline camsim::SimCamera demoCamera() {
    camsim::SimCamera camera;
    camera.modelLine = "CamSim Demo";
    camera.errorNumbers = {0, 1, 2};
    camera.controls = {
        {camsim::SimControl::Kind::Combo, "G", {"0", "1", "2"}, "0"},
        {camsim::SimControl::Kind::Check, "T", {"0", "1"}, "0"},
        {camsim::SimControl::Kind::List, "E", {"100", "200"}, "100"},
    };
    return camera;
}

// What the library asked the host for.
struct HostLog {
    int beeps = 0;
    std::vector<int> busy;

    static void beep(void* context) { ++static_cast<HostLog*>(context)->beeps; }
    static void busyCursor(void* context, int on) { static_cast<HostLog*>(context)->busy.push_back(on); }
};

inline double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The simulated camera on one side of a pseudo-terminal, Halvex32 free to open the other side.
class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_server = camsim::SimServer::openPty(camsim::CameraModel(demoCamera()), error);
        ASSERT_TRUE(m_server) << error;
        m_server->start();
        HVX_SetHostCallbacks(&HostLog::beep, &HostLog::busyCursor, &m_host);
    }

    void TearDown() override {
        HVX_Disconn(nullptr);
        hvxSetSys(nullptr);
        HVX_SetHostCallbacks(nullptr, nullptr, nullptr);
        m_server.reset();
    }

    int connect(int baud = 9600) { return HVX_ConnectDevice(m_status, m_server->devicePath().c_str(), baud); }
    int send(const char* command, int delayMs = 0) { return HVX_SendData(m_status, command, m_reply, delayMs); }
    void knobs(const camsim::FaultKnobs& knobs) { m_server->setKnobs(knobs); }
    std::string status() const { return m_status; }
    std::string reply() const { return m_reply; }

    std::unique_ptr<camsim::SimServer> m_server;
    HostLog m_host;
    char m_status[64] = {};
    char m_reply[HVX_REPLY_MIN_SIZE] = {};
};

} // namespace vistrel::test
