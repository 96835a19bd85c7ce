// Renders the two link dialogs into PNG files for the documentation:
//   link_dialog_shots OUTPUT_FOLDER   (run under xvfb-run for the real window look)
#include "app/link/CCameraLinkPortDialog.h"
#include "app/link/CComPortDialog.h"
#include "app/platform/QtPrompts.h"
#include "link/CameraLinkLibrary.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + "/";
    vistrel::LinkState link;
    link.LinkBaudRate = 19200;
    link.ComDevice[1] = "/dev/ttyUSB0";
    vistrel::QtPrompts prompts;

    vistrel::CComPortDialog com(link);
    com.setPortIndex(1);
    com.show();
    app.processEvents();
    bool saved = com.grab().save(folder + "ComPortDialog.png");

    if (vistrel::LoadCameraLinkLibrary(link, prompts, CLSERTEST_PATH) != vistrel::CameraLinkLoad::Bound) {
        return 1;
    }
    vistrel::CCameraLinkPortDialog ports(link);
    ports.show();
    app.processEvents();
    saved = ports.grab().save(folder + "CameraLinkPortDialog.png") && saved;
    vistrel::ReleaseCameraLinkLibrary(link, prompts);
    return saved ? 0 : 1;
}
