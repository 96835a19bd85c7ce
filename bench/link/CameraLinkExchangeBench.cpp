// Cost of one Camera Link exchange beyond the camera's own time: the program's byte-by-byte read
// loop through a library loaded with dlopen, against the simulated grabber answering at once.
#include "link/CameraLinkChannel.h"
#include "link/CameraLinkExchange.h"
#include "link/CameraLinkLibrary.h"
#include "link/CameraLinkPorts.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

class QuietPrompts : public vistrel::Prompts {
public:
    vistrel::PromptAnswer ask(const std::string& text, vistrel::PromptButtons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return vistrel::PromptAnswer::Ok;
    }
    void tellWithCaption(const std::string&, const std::string& text) override { ask(text, {}); }
    void beep(vistrel::BeepKind) override {}
};

// Identification of a bare camera: "CamSim\r>OK\r", 11 bytes read one by one.
void BM_CameraLinkExchange(benchmark::State& state) {
    setenv("CLSERSIM_PORTS", "1", 1);
    vistrel::LinkState link;
    QuietPrompts prompts;
    if (vistrel::LoadCameraLinkLibrary(link, prompts, CLSERSIM_PATH) != vistrel::CameraLinkLoad::Bound ||
        vistrel::OpenCameraLinkChannel(link, link.LinkStatusText) != 1) {
        state.SkipWithError("simulated grabber not available");
        return;
    }
    for (auto _ : state) {
        const int length = vistrel::CameraLinkSendReceive(link, link.LinkStatusText, "!=0", link.ReplyBuffer,
                                                          vistrel::kReplyBufferCapacity);
        if (length != 11) {
            state.SkipWithError(link.LinkStatusText);
            break;
        }
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 11);
    vistrel::CloseCameraLinkChannel(link, link.LinkStatusText);
    vistrel::ReleaseCameraLinkLibrary(link, prompts);
}
BENCHMARK(BM_CameraLinkExchange);

// The port probe of the Camera Link port dialog over 64 ports.
void BM_CameraLinkPortProbe(benchmark::State& state) {
    setenv("CLSERSIM_PORTS", "64", 1);
    vistrel::LinkState link;
    QuietPrompts prompts;
    if (vistrel::LoadCameraLinkLibrary(link, prompts, CLSERSIM_PATH) != vistrel::CameraLinkLoad::Bound) {
        state.SkipWithError("simulated grabber not available");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(vistrel::ListCameraLinkPorts(link).size());
    }
    vistrel::ReleaseCameraLinkLibrary(link, prompts);
}
BENCHMARK(BM_CameraLinkPortProbe);

} // namespace

BENCHMARK_MAIN();
