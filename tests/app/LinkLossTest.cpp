// The program as a whole against the camera simulator behind a path that vanishes and comes back
// (a symbolic link to the simulator's pseudo-terminal): a loss seen while idle, the transcript, and
// the automatic reconnection.
#include "app/CMainFrame.h"
#include "app/CVistrelApp.h"
#include "app/CommandIds.h"
#include "app/TranscriptModel.h"
#include "app/TranscriptWindow.h"
#include "support/TempDir.h"
#include "tools/camsim/SimServer.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTableView>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vistrel {
namespace {

std::unique_ptr<camsim::SimServer> startCamera(const std::string& behind) {
    std::string error;
    auto server = camsim::SimServer::openPty(camsim::CameraModel(camsim::GainOnlyCamera()), error);
    EXPECT_TRUE(server) << error;
    server->start();
    std::filesystem::remove(behind);
    std::filesystem::create_symlink(server->devicePath(), behind);
    return server;
}

// Runs the event loop until `done` or `ms` passed; the time it took.
template <typename Done> qint64 waitFor(Done done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return clock.elapsed();
}

TEST(LinkLoss, SeenWhileIdleInTheTranscriptAndReconnectedWhenTheDeviceIsBack) {
    test::TempDir folder;
    const std::string device = folder.path() + "camera";
    auto server = startCamera(device);
    folder.write("vistrel.INI",
                 "[Common]\nCOM Port=1\nBaudRate=9600\nCamera File=-\n[Serial Devices]\nCOM1=" + device + "\n");
    CVistrelApp app({}, folder.path() + "vistrel", folder.path() + "applications");
    ASSERT_TRUE(app.InitInstance());
    CMainFrame& frame = *app.mainFrame();
    const auto pane0 = [&] { return frame.pane(0)->text().toStdString(); };

    frame.action(kCmdConnection)->trigger();
    EXPECT_EQ(pane0(), "CamSim Demo connected");
    server->hangUp();
    EXPECT_LT(waitFor([&] { return pane0() == "Connexion lost"; }, 3000), 1000);
    EXPECT_TRUE(frame.action(kCmdConnection)->isEnabled());
    EXPECT_FALSE(frame.action(kCmdConnection)->isChecked());
    EXPECT_TRUE(frame.action(kCmdComPort)->isEnabled());

    server = startCamera(device);
    waitFor([&] { return app.state().records.connection.CameraConnected == 1; }, 3000);
    EXPECT_EQ(pane0(), "CamSim Demo connected");

    TranscriptWindow* window = app.ShowTranscript();
    TranscriptModel& model = *app.transcript();
    model.flush();
    std::vector<std::string> ops;
    for (int row = 0; row < model.rowCount(); ++row) {
        ops.push_back(model.cellText(row, TranscriptModel::Operation).toStdString());
    }
    EXPECT_EQ(ops, (std::vector<std::string>{"open", "exchange", "lost", "open", "exchange"}));
    EXPECT_EQ(model.cellText(2, TranscriptModel::Result).toStdString(), "-1 Connexion lost");
    EXPECT_EQ(model.data(model.index(2, 0), Qt::ForegroundRole).isValid(), true);
    EXPECT_EQ(model.data(model.index(3, 0), Qt::ForegroundRole).isValid(), false);

    ASSERT_TRUE(window->saveTo(QString::fromStdString(folder.path() + "t.jsonl")).ok);
    const std::string saved = folder.read("t.jsonl");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 5);
    EXPECT_EQ(nlohmann::json::parse(saved.substr(0, saved.find('\n')))["link"], "COM1 " + device + " 9600 bd");
    window->table()->selectRow(2);
    EXPECT_NE(window->selectedText().toStdString().find("\tlost\t"), std::string::npos);
    app.ExitInstance(0);
}

} // namespace
} // namespace vistrel
