#include "app/CVistrelApp.h"
#include "com/ComSwitches.h"
#include "com/DesktopRegistration.h"
#include "platform/ExecutablePaths.h"
#include "shell/ProgramInfo.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // The command line as given: QApplication takes its own options (-style, -platform, ...) out of
    // argv, yet any argument at all switches debug mode on.
    std::vector<std::string> arguments(argv + 1, argv + argc);

    // --help and --version answer on the terminal, like the registration switches before any GUI
    // object exists, so they need no display.
    if (const vistrel::InformationRequest request = vistrel::findInformationRequest(arguments);
        request != vistrel::InformationRequest::None) {
        const std::string text =
            request == vistrel::InformationRequest::Help ? vistrel::vistrelHelpText() : vistrel::versionText("vistrel");
        std::fputs(text.c_str(), stdout);
        return 0;
    }

    // The registration and automation switches end the process without a window, so they are done
    // before any GUI object exists: they must work without a display.
    const vistrel::ComSwitchOutcome com =
        vistrel::runComSwitches(arguments, vistrel::executablePath(), vistrel::applicationsFolder());
    if (com.endProcess) {
        if (!com.problem.empty()) {
            std::fprintf(stderr, "vistrel: %s\n", com.problem.c_str());
        }
        return com.exitCode;
    }

    QApplication application(argc, argv);
    Q_INIT_RESOURCE(vistrel); // images compiled into the static GUI library

    vistrel::CVistrelApp theApp(std::move(arguments), vistrel::executablePath(), vistrel::applicationsFolder());
    if (!theApp.InitInstance()) {
        return theApp.exitCode();
    }
    return theApp.ExitInstance(QApplication::exec());
}
