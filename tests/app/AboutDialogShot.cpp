// Renders the About box, with this machine's figures, into a PNG file for the documentation:
//   about_dialog_shot OUTPUT_FILE   (run under xvfb-run for the real window look)
#include "app/CAboutDialog.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(vistrel);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FILE\n", argv[0]);
        return 2;
    }
    vistrel::CAboutDialog about(vistrel::systemQueries());
    about.show();
    app.processEvents();
    return about.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
