#include "shell/AboutTexts.h"
#include "shell/SystemFacts.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace vistrel {
namespace {

constexpr std::uint64_t kGiB = 1024ULL * 1024 * 1024;

TEST(AboutTexts, VersionLineKeepsTheControlTextAndAddsTheVersion) {
    // The template's trailing blank and the format's blank both stay.
    EXPECT_EQ(aboutVersionLine("VISTREL 32bit version "), "VISTREL 32bit version  6.5.0 Beta");
    EXPECT_EQ(aboutVersionLine(""), " 6.5.0 Beta");
}

TEST(AboutTexts, SystemLineRoundsMemoryAndDiskDownAndLeavesAFailedDiskQueryEmpty) {
    EXPECT_EQ(aboutSystemLine(134217728, 5 * kGiB), "Physical Memory : 131072 KB  -  Disk Space : 5120 MB Free");
    EXPECT_EQ(aboutSystemLine(1023, 1048575), "Physical Memory : 0 KB  -  Disk Space : 0 MB Free");
    EXPECT_EQ(aboutSystemLine(1048575, 1048576), "Physical Memory : 1023 KB  -  Disk Space : 1 MB Free");
    EXPECT_EQ(aboutSystemLine(134217728, std::nullopt), "Physical Memory : 131072 KB  -  ");
    // Sizes past what 32 bits hold stay positive: 4 TiB of memory, 4 PiB free.
    EXPECT_EQ(aboutSystemLine(4096 * kGiB, 4 * 1024 * 1024 * kGiB),
              "Physical Memory : 4294967296 KB  -  Disk Space : 4294967296 MB Free");
}

TEST(SystemFacts, QueriesReportTheRunningSystem) {
    // sysinfo's total is the kernel's MemTotal.
    std::ifstream meminfo("/proc/meminfo");
    std::string label;
    std::uint64_t totalKb = 0;
    meminfo >> label >> totalKb;
    ASSERT_EQ(label, "MemTotal:");
    EXPECT_EQ(physicalMemoryBytes() >> 10, totalKb);

    const test::TempDir dir;
    EXPECT_TRUE(freeDiskBytesAt(dir.path().c_str()).has_value());
    EXPECT_FALSE(freeDiskBytesAt((dir.path() + "missing/folder").c_str()).has_value());

    const SystemQueries queries = systemQueries();
    EXPECT_EQ(queries.physicalMemoryBytes(), physicalMemoryBytes());
    EXPECT_EQ(queries.freeDiskBytes().has_value(), freeDiskBytesAt(".").has_value());
}

} // namespace
} // namespace vistrel
