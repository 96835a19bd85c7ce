#pragma once

#include <string>
#include <vector>

#include "tools/camsim/CameraModel.h"

namespace vistrel::camsim {

// The command line of vistrel-camsim.
struct CamSimOptions {
    std::string camPath;
    std::string devicePath; // empty: a new pseudo-terminal pair
    int baud = 9600;
    std::string modelLine;      // empty: from the file name
    std::string transcriptPath; // "-": standard error
    FaultKnobs knobs;
    bool exitWithParent = false; // end when the starting process ends, however it ends
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name. Returns false with a message in `error`.
bool ParseCamSimOptions(const std::vector<std::string>& args, CamSimOptions& options, std::string& error);

// Turns \r, \n, \t, \0, \\ and \xHH into the bytes they name.
bool UnescapeBytes(const std::string& text, std::string& bytes);

const char* CamSimUsage();

} // namespace vistrel::camsim
