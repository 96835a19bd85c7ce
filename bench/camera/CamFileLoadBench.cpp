#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "camera/CamFileDescribe.h"

namespace {

using namespace vistrel;

// key=value padded to 98 characters, the longest line that is still read as one piece.
std::string longLine(const std::string& key, const std::string& start) {
    std::string line = key + "=" + start + " ";
    line.resize(98, 'x');
    return line + "\n";
}

// Every control defined with 29 entries, Error0 to Error18, every value as long as a line allows.
std::string largestDescription() {
    std::string file = "[Special Cmd]\n";
    file += "CameraIdent=" + std::string(31, 'i') + "\nCameraConf=" + std::string(31, 'c') +
            "\nCameraDefault=" + std::string(31, 'd') + "\n";
    file += "[Receive message]\nString=" + std::string(29, 's') + "\n" + longLine("NoError", "accepted");
    for (int n = 0; n <= kLastErrorNumber; ++n) {
        file += longLine("Error" + std::to_string(n), "error " + std::to_string(n));
    }
    file += "[WaitBetweenChar]\nMilliSec=20\n";
    for (int i = 0; i < kComboCount; ++i) {
        file += "[" + comboSection(i) + "]\n" + longLine("Title", "combo") + longLine("Character", "c");
        for (int n = 1; n <= kComboEntries; ++n) {
            file += longLine("Value" + std::to_string(n), std::to_string(n));
            file += longLine("Text" + std::to_string(n), "entry " + std::to_string(n));
        }
    }
    for (int i = 0; i < kCheckCount; ++i) {
        file += "[" + checkSection(i) + "]\n" + longLine("Title", "check") + longLine("Character", "k") +
                longLine("Value1", "off") + longLine("Value2", "on");
    }
    for (int i = 0; i < kListCount; ++i) {
        file += "[" + listSection(i) + "]\n" + longLine("Title", "list") + longLine("Character", "l");
        for (int n = 1; n <= kComboEntries; ++n) {
            file += longLine("Value" + std::to_string(n), std::to_string(n));
        }
    }
    return file;
}

class LookupCounter : public LoadObserver {
public:
    void lookedUp(std::string_view, std::string_view, const CamKeyLookup&) override { ++count; }
    int count = 0;
};

void BM_LoadLargestDescription(benchmark::State& state) {
    const std::string path =
        std::filesystem::temp_directory_path() / ("vistrel-bench-" + std::to_string(getpid()) + ".cam");
    const std::string contents = largestDescription();
    std::ofstream(path, std::ios::binary) << contents;
    LookupCounter counter;
    const auto check = describeCamFile(path, &counter);
    if (!check || check->combos[7].texts.size() != static_cast<std::size_t>(kComboEntries) ||
        check->lists[4].entries.size() != static_cast<std::size_t>(kComboEntries)) {
        state.SkipWithError("the description did not load whole");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(describeCamFile(path));
    }
    state.counters["lookups"] = counter.count;
    state.counters["file_bytes"] = static_cast<double>(contents.size());
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLargestDescription)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
