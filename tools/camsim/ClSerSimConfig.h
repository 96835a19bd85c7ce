#pragma once

#include "tools/camsim/CameraModel.h"

#include <string>
#include <vector>

namespace vistrel::camsim {

// Result codes of the Camera Link serial interface.
inline constexpr int kClErrNoErr = 0;
inline constexpr int kClErrBufferTooSmall = -10001;
inline constexpr int kClErrPortInUse = -10003;
inline constexpr int kClErrTimeout = -10004;
inline constexpr int kClErrInvalidIndex = -10005;
inline constexpr int kClErrInvalidReference = -10006;

inline constexpr int kClSerSimMaxPorts = 64;

struct ClSerSimPortConfig {
    std::string camPath; // empty: a bare camera
    FaultKnobs knobs;
    int writeFailure = 0; // non-zero: the code every write returns
    int readError = 0;    // non-zero: the code every read returns
};

struct ClSerSimConfig {
    std::vector<ClSerSimPortConfig> ports;
};

// The simulated library's set-up from its environment variables (see ClSerSim.cpp). `getenv`
// stands for the environment; unreadable values are taken as absent.
ClSerSimConfig ReadClSerSimConfig(const char* (*getenv)(const char*) = nullptr);

// Every CLSERSIM_ variable of the environment, as one text: equal texts give equal set-ups.
std::string ClSerSimEnvironmentSignature();

} // namespace vistrel::camsim
