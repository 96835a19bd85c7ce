// Cost of a full panel apply beyond the camera's own time: the 17 commands of the sample line-scan
// camera sent by ApplyPanel over the program's link path, beside the same 17 commands sent by bare
// Halvex32 calls, both against the camera simulator answering at once on a pseudo-terminal.
#include "link/SystemLink.h"
#include "panel/CommPanel.h"
#include "panel/DataPanelView.h"
#include "serial/halvex32.h"
#include "tools/camsim/CameraModel.h"
#include "tools/camsim/SimServer.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace vistrel;

class SilentPrompts : public Prompts {
public:
    PromptAnswer ask(const std::string&, PromptButtons) override { return PromptAnswer::Ok; }
    void tellWithCaption(const std::string&, const std::string&) override {}
    void beep(BeepKind) override {}
};

std::unique_ptr<camsim::SimServer> startCamera(benchmark::State& state) {
    camsim::SimCamera camera;
    std::string error;
    if (!camsim::LoadSimCamera(VISTREL_LINESCAN, camera, error)) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    std::unique_ptr<camsim::SimServer> server = camsim::SimServer::openPty(camsim::CameraModel(camera), error);
    if (!server) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    server->start();
    return server;
}

void BM_ApplyPanel(benchmark::State& state) {
    const std::unique_ptr<camsim::SimServer> server = startCamera(state);
    if (!server) {
        return;
    }
    RunValues values;
    PanelState panel;
    LinkState linkState;
    linkState.ComDevice[0] = server->devicePath();
    linkState.LinkBaudRate = 9600;
    PanelRecords records;
    SystemLink link(linkState);
    DataPanelView view;
    SilentPrompts prompts;
    CommPanel commPanel(values, panel, linkState, records, link, view, prompts);
    commPanel.LoadCamFileAt(VISTREL_LINESCAN);
    records.description.CharDelayMs = 0; // the line at once, as the bare calls send it
    commPanel.OnConnection();
    const std::size_t before = server->linesTaken();
    for (auto _ : state) {
        commPanel.ApplyPanel();
    }
    commPanel.OnDisconnection();
    state.counters["commands"] =
        benchmark::Counter(static_cast<double>(server->linesTaken() - before), benchmark::Counter::kAvgIterations);
    if (view.statusLine() != "Command accepted") {
        state.SkipWithError("the camera refused a value");
    }
}
BENCHMARK(BM_ApplyPanel)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same 17 commands, each a bare HVX_SendData: what the camera and the line cost by themselves.
void BM_SeventeenBareExchanges(benchmark::State& state) {
    const std::unique_ptr<camsim::SimServer> server = startCamera(state);
    if (!server) {
        return;
    }
    char status[64] = {};
    char reply[HVX_REPLY_MIN_SIZE] = {};
    if (HVX_ConnectDevice(status, server->devicePath().c_str(), 9600) != 1) {
        state.SkipWithError(status);
        return;
    }
    const char* const commands[] = {"G=0", "P=20", "B=8",     "M=0", "N=1",  "Y=1", "I=0",    "D=F", "F=0",
                                    "X=0", "K=0",  "LED OFF", "E=5", "R=10", "O=0", "H=1.00", "W=0"};
    for (auto _ : state) {
        for (const char* command : commands) {
            if (HVX_SendData(status, command, reply, 0) <= 0) {
                state.SkipWithError(status);
                break;
            }
        }
    }
    HVX_Disconn(status);
}
BENCHMARK(BM_SeventeenBareExchanges)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
