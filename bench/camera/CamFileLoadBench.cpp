#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

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

// Notes every key a load asks for, in order.
class KeyRecorder : public LoadObserver {
public:
    void lookedUp(std::string_view section, std::string_view key, const CamKeyLookup&) override {
        keys.emplace_back(section, key);
    }
    std::vector<std::pair<std::string, std::string>> keys;
};

std::string writeTemp(const std::string& name, const std::string& contents) {
    const std::string path =
        std::filesystem::temp_directory_path() / ("vistrel-bench-" + std::to_string(getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

void BM_LoadLargestDescription(benchmark::State& state) {
    const std::string path = writeTemp("largest.cam", largestDescription());
    KeyRecorder recorder;
    const auto check = describeCamFile(path, &recorder);
    if (!check || check->combos[7].texts.size() != static_cast<std::size_t>(kComboEntries) ||
        check->lists[4].entries.size() != static_cast<std::size_t>(kComboEntries)) {
        state.SkipWithError("the description did not load whole");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(describeCamFile(path));
    }
    state.counters["lookups"] = static_cast<double>(recorder.keys.size());
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLargestDescription)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The same keys, each a scan of the whole file by the per-file reader: how loading worked before
// it read one snapshot, for comparison on the same machine.
void BM_PerFileLookupsOfTheSameKeys(benchmark::State& state) {
    const std::string path = writeTemp("largest.cam", largestDescription());
    KeyRecorder recorder;
    describeCamFile(path, &recorder);
    for (auto _ : state) {
        std::string out;
        for (const auto& [section, key] : recorder.keys) {
            benchmark::DoNotOptimize(ReadCamKey(path, section, key, out));
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_PerFileLookupsOfTheSameKeys)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One list of state.range(0) entries, each on its own line.
void BM_LoadLongList(benchmark::State& state) {
    const auto entries = static_cast<std::size_t>(state.range(0));
    std::string file = "[ListBox1]\nTitle=long\nCharacter=L\n";
    for (std::size_t n = 1; n <= entries; ++n) {
        file += "Value" + std::to_string(n) + "=" + std::to_string(n * 7) + "\n";
    }
    const std::string path = writeTemp("list.cam", file);
    for (auto _ : state) {
        const auto described = describeCamFile(path);
        if (!described || described->lists[0].entries.size() != entries) {
            state.SkipWithError("the list did not load whole");
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLongList)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
