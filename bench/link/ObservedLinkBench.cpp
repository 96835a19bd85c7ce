// What observing costs: the exchange over the simulator's pseudo-terminal through the system link
// alone and through the observing decorator with two observers (the transcript's JSON line and a
// bounded list of rows, as the program and vistrelctl keep them). The two alternate, exchange by
// exchange, so that both meet the same machine; the medians of 2000 each are the figures.
#include "link/ObservedLink.h"
#include "link/SystemLink.h"
#include "link/TranscriptJson.h"
#include "tools/camsim/SimServer.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <deque>

namespace {

using namespace vistrel;

struct JsonLines : LinkObserver {
    void onLinkEvent(const LinkEvent& event) override { bytes += transcriptJsonLine(event).size(); }
    std::size_t bytes = 0;
};

struct Rows : LinkObserver {
    void onLinkEvent(const LinkEvent& event) override {
        rows.push_back(event);
        if (rows.size() > 100000) {
            rows.pop_front();
        }
    }
    std::deque<LinkEvent> rows;
};

double medianUs(std::vector<double>& samples) {
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2), samples.end());
    return samples[samples.size() / 2];
}

void BM_ExchangeObservedAgainstPlain(benchmark::State& state) {
    std::string error;
    const auto server = camsim::SimServer::openPty(camsim::CameraModel(camsim::GainOnlyCamera()), error);
    if (!server) {
        state.SkipWithError(error.c_str());
        return;
    }
    server->start();
    LinkState link;
    link.LinkBaudRate = 38400;
    link.ComDevice[0] = server->devicePath();
    SystemLink plain(link);
    ObservedLink observed(plain, link);
    JsonLines json;
    Rows rows;
    observed.addObserver(json);
    observed.addObserver(rows);
    if (plain.open().result != 1) {
        state.SkipWithError("the simulator's device does not open");
        return;
    }
    std::vector<double> plainUs, observedUs;
    for (auto _ : state) {
        for (const bool observe : {false, true}) {
            Link& through = observe ? static_cast<Link&>(observed) : plain;
            const auto start = std::chrono::steady_clock::now();
            const LinkResult result = through.exchange("G=2", 0);
            const double us =
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
            if (result.result != 4) {
                state.SkipWithError(result.status.c_str());
                return;
            }
            (observe ? observedUs : plainUs).push_back(us);
        }
    }
    plain.close();
    const double plainMedian = medianUs(plainUs);
    const double observedMedian = medianUs(observedUs);
    state.counters["plain_median_us"] = plainMedian;
    state.counters["observed_median_us"] = observedMedian;
    state.counters["cost_us"] = observedMedian - plainMedian;
    benchmark::DoNotOptimize(json.bytes);
}
BENCHMARK(BM_ExchangeObservedAgainstPlain)->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
