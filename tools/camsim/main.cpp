// vistrel-camsim: a simulated camera on a pseudo-terminal or a serial device.
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sys/prctl.h>
#include <unistd.h>

#include "link/EscapedBytes.h"
#include "shell/ProgramInfo.h"
#include "tools/camsim/CamSimOptions.h"
#include "tools/camsim/SimServer.h"

using namespace vistrel::camsim;

int main(int argc, char** argv) {
    const pid_t parent = getppid();
    CamSimOptions options;
    std::string error;
    if (!ParseCamSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "vistrel-camsim: " << error << "\n" << CamSimUsage();
        return 2;
    }
    if (options.help) {
        std::cout << CamSimUsage();
        return 0;
    }
    if (options.version) {
        std::cout << vistrel::versionText("vistrel-camsim");
        return 0;
    }
    SimCamera camera;
    if (!LoadSimCamera(options.camPath, camera, error)) {
        std::cerr << "vistrel-camsim: " << error << "\n";
        return 1;
    }
    if (!options.modelLine.empty())
        camera.modelLine = options.modelLine;

    // The serving thread inherits this mask, so the signals reach only the wait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (options.exitWithParent) {
        // The kernel sends SIGTERM when the parent ends, even by a crash or SIGKILL, and across an
        // exec of the parent into another program. A parent gone before this call is seen here.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent)
            return 0;
    }

    CameraModel model(std::move(camera), options.knobs);
    std::unique_ptr<SimServer> server =
        options.devicePath.empty() ? SimServer::openPty(std::move(model), error)
                                   : SimServer::openDevice(options.devicePath, options.baud, std::move(model), error);
    if (!server) {
        std::cerr << "vistrel-camsim: " << error << "\n";
        return 1;
    }

    std::ofstream transcriptFile;
    std::ostream* transcript = nullptr;
    if (options.transcriptPath == "-") {
        transcript = &std::cerr;
    } else if (!options.transcriptPath.empty()) {
        transcriptFile.open(options.transcriptPath, std::ios::app);
        if (!transcriptFile) {
            std::cerr << "vistrel-camsim: cannot write " << options.transcriptPath << "\n";
            return 1;
        }
        transcript = &transcriptFile;
    }
    if (transcript) {
        server->setReceiveHook([transcript](const TranscriptEntry& entry) {
            char at[32];
            std::snprintf(at, sizeof at, "%12.3f ms  ", static_cast<double>(entry.at.count()) / 1000.0);
            *transcript << at << vistrel::escapedBytes(entry.bytes) << std::endl;
        });
    }

    std::cout << server->devicePath() << std::endl;
    server->start();
    const timespec tick{0, 100 * 1000 * 1000};
    for (;;) {
        int signal = sigtimedwait(&stopSignals, nullptr, &tick);
        if (signal > 0)
            break;
        if (server->hungUp()) {
            std::cerr << "vistrel-camsim: hung up after " << server->linesTaken() << " commands\n";
            break;
        }
    }
    server->stop();
    return 0;
}
