#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
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

// Counts the lookups and notes how far into the file each one had to read.
class LookupCounter : public LoadObserver {
public:
    explicit LookupCounter(std::size_t fileSize) : m_fileSize(fileSize) {}
    void lookedUp(std::string_view, std::string_view, const CamKeyLookup& lookup) override {
        ++count;
        const bool stopped =
            lookup.outcome == CamKeyLookup::Outcome::Found || lookup.outcome == CamKeyLookup::Outcome::SectionEnded;
        reach.push_back(stopped ? static_cast<std::size_t>(lookup.lineOffset) + 100 : m_fileSize);
    }
    int count = 0;
    std::vector<std::size_t> reach;

private:
    std::size_t m_fileSize;
};

std::string writeLargest() {
    const std::string path =
        std::filesystem::temp_directory_path() / ("vistrel-bench-" + std::to_string(getpid()) + ".cam");
    std::ofstream(path, std::ios::binary) << largestDescription();
    return path;
}

void BM_LoadLargestDescription(benchmark::State& state) {
    const std::string path = writeLargest();
    const std::size_t size = std::filesystem::file_size(path);
    LookupCounter counter(size);
    const auto check = describeCamFile(path, &counter);
    if (!check || check->combos[7].texts.size() != static_cast<std::size_t>(kComboEntries) ||
        check->lists[4].entries.size() != static_cast<std::size_t>(kComboEntries)) {
        state.SkipWithError("the description did not load whole");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(describeCamFile(path));
    }
    state.counters["lookups"] = counter.count;
    state.counters["file_bytes"] = static_cast<double>(size);
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLargestDescription)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The floor on this machine: the same opens, and plain reads of the bytes each lookup needs with
// one memchr over them, without any of the reading rules.
void BM_BareReadsOfTheSameBytes(benchmark::State& state) {
    const std::string path = writeLargest();
    LookupCounter counter(std::filesystem::file_size(path));
    describeCamFile(path, &counter);
    static char buffer[32768];
    for (auto _ : state) {
        for (const std::size_t reach : counter.reach) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            struct stat info {};
            ::fstat(fd, &info);
            for (std::size_t total = 0; total < reach;) {
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got <= 0) {
                    break;
                }
                benchmark::DoNotOptimize(std::memchr(buffer, '[', static_cast<std::size_t>(got)));
                total += static_cast<std::size_t>(got);
            }
            ::close(fd);
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_BareReadsOfTheSameBytes)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
