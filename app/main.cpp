#include "app/CVistrelApp.h"
#include "com/DesktopRegistration.h"
#include "platform/ProgramPaths.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv); // takes its own options out of argv
    Q_INIT_RESOURCE(vistrel);             // images compiled into the static GUI library

    std::vector<std::string> arguments(argv + 1, argv + argc);
    vistrel::CVistrelApp theApp(std::move(arguments), vistrel::executablePath(), vistrel::applicationsFolder());
    if (!theApp.InitInstance()) {
        return theApp.exitCode();
    }
    return theApp.ExitInstance(QApplication::exec());
}
