// Not a test: the figures of the link watch and the transcript window (see README). Prints the
// median time from an unplug to the program showing the loss, over 20 unplugs while idle and 20
// during a panel apply, and the time the transcript window takes to take in 100 000 rows.
#include "app/CMainFrame.h"
#include "app/CVistrelApp.h"
#include "app/CommandIds.h"
#include "app/TranscriptModel.h"
#include "app/TranscriptWindow.h"
#include "panel/CommPanel.h"
#include "support/TempDir.h"
#include "tools/camsim/SimServer.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace vistrel;

std::unique_ptr<camsim::SimServer> startCamera(const std::string& camPath, const std::string& behind) {
    camsim::SimCamera camera;
    std::string error;
    camsim::LoadSimCamera(camPath, camera, error);
    auto server = camsim::SimServer::openPty(camsim::CameraModel(camera), error);
    server->start();
    std::filesystem::remove(behind);
    std::filesystem::create_symlink(server->devicePath(), behind);
    return server;
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string camSource = std::string(VISTREL_CAMFILES_DIR) + "/linescan.cam";
    test::TempDir folder;
    std::ifstream in(camSource, std::ios::binary);
    std::ostringstream cam;
    cam << in.rdbuf();
    const std::string camPath = folder.write("CamFiles/linescan.cam", cam.str());
    const std::string device = folder.path() + "camera";
    auto server = startCamera(camPath, device);
    folder.write("vistrel.INI", "[Common]\nCOM Port=1\nBaudRate=9600\nCamera File=-\nAuto Reconnect=0\n"
                                "[Serial Devices]\nCOM1=" +
                                    device + "\n");
    CVistrelApp app({}, folder.path() + "vistrel", folder.path() + "applications");
    if (!app.InitInstance()) {
        return 1;
    }
    const ConnectionState& connection = app.state().records.connection;

    // The moment the program took the loss, seen by a timer that also runs inside the apply's waits.
    QElapsedTimer clock;
    qint64 unpluggedAt = -1;
    qint64 seenAt = -1;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (unpluggedAt >= 0 && seenAt < 0 && connection.CameraConnected == 0) {
            seenAt = clock.elapsed();
        }
    });
    watch.start();
    clock.start();

    for (const bool duringApply : {false, true}) {
        std::vector<double> samples;
        for (int i = 0; i < 20; ++i) {
            server = startCamera(camPath, device);
            unpluggedAt = seenAt = -1;
            app.mainFrame()->action(kCmdConnection)->trigger();
            if (duringApply) {
                app.panel()->LoadCamFileAt(camPath);
                QTimer::singleShot(40, [&] {
                    unpluggedAt = clock.elapsed();
                    server->hangUp();
                });
                app.panel()->InitialiseAndApply(InitChoice::SavedValues);
            } else {
                QTimer::singleShot(100, [&] {
                    unpluggedAt = clock.elapsed();
                    server->hangUp();
                });
            }
            while ((seenAt < 0 || unpluggedAt < 0) && clock.elapsed() < 10000 + unpluggedAt) {
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            }
            if (seenAt >= 0 && unpluggedAt >= 0) {
                samples.push_back(static_cast<double>(seenAt - unpluggedAt));
            }
        }
        std::printf("loss seen %s: median %.0f ms, worst %.0f ms (%zu unplugs)\n",
                    duringApply ? "during an apply" : "while idle", median(samples),
                    samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end()), samples.size());
    }

    // 100 000 operations arriving at once, the window open and following.
    TranscriptWindow* window = app.ShowTranscript();
    TranscriptModel& model = *app.transcript();
    model.clear();
    LinkEvent event;
    event.op = LinkOp::Exchange;
    event.link = "COM1 /dev/pts/3 9600 bd";
    event.hasCommand = event.hasReply = true;
    event.command = "G=2";
    event.reply = ">OK\r";
    event.result = 4;
    event.status = "Sending & Receipt OK";
    QElapsedTimer taking;
    taking.start();
    for (int i = 0; i < TranscriptModel::kCapacity; ++i) {
        model.onLinkEvent(event);
    }
    model.flush();
    window->table()->viewport()->repaint();
    QApplication::processEvents();
    std::printf("transcript window took 100000 rows in %lld ms (rows kept: %d)\n",
                static_cast<long long>(taking.elapsed()), model.rowCount());
    taking.restart();
    for (int i = 0; i < 1000; ++i) {
        model.onLinkEvent(event);
        model.flush();
    }
    window->table()->viewport()->repaint();
    std::printf("then 1000 rows one by one, oldest dropping off: %lld ms (rows kept: %d)\n",
                static_cast<long long>(taking.elapsed()), model.rowCount());
    app.ExitInstance(0);
    return 0;
}
