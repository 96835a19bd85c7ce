#include "camera/CamFileReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace vistrel {
namespace {

using namespace std::string_literals;

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(CamFileBadInput, BinaryAndNulBytes) {
    test::TempDir dir;
    std::mt19937 random(7);
    std::string noise(200000, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    const std::string binary = dir.write("binary.cam", noise + "\n[A]\nK=after noise\n");
    std::string out;
    // The section may or may not be reached through the noise; either way the result is whole.
    const int result = ReadCamKey(binary, "A", "K", out);
    EXPECT_EQ(result, static_cast<int>(out.size()));
    EXPECT_LE(out.size(), 97U);

    // A NUL ends the text of its piece, as for the C string functions: nothing after it counts.
    const std::string nul = dir.write("nul.cam", "[A]\nK=ab\0cd\nL\0=x\nM=[\0\nN=n\n"s);
    EXPECT_EQ(ReadCamKey(nul, "A", "K", out), 2);
    EXPECT_EQ(out, "ab");
    EXPECT_EQ(ReadCamKey(nul, "A", "N", out), 0) << "M=[ ends the section";
    EXPECT_EQ(ReadCamKey(nul, "A", "L", out), 0) << "the = after the NUL is not seen";
    const std::string hidden = dir.write("hidden.cam", "x\0[A]\nK=v\n"s);
    EXPECT_EQ(ReadCamKey(hidden, "A", "K", out), 0);
    EXPECT_EQ(out, "");
}

TEST(CamFileBadInput, HugeFilesAndEndlessLinesStayBounded) {
    test::TempDir dir;
    const std::string big = dir.path() + "big.cam";
    {
        std::ofstream file(big, std::ios::binary);
        const std::string line = "Filler=" + std::string(60, 'f') + "\n";
        for (std::size_t written = 0; written < 50U * 1024 * 1024; written += line.size()) {
            file << line;
        }
        file << "[A]\nK=at the end\n";
    }
    const long before = peakKilobytes();
    std::string out;
    EXPECT_EQ(ReadCamKey(big, "A", "K", out), 10);
    EXPECT_EQ(out, "at the end");
    EXPECT_EQ(ReadCamKey(big, "B", "K", out), 0);

    // One line of 50 MB with no line feed at all, brackets sprinkled through it.
    const std::string endless = dir.path() + "endless.cam";
    {
        std::ofstream file(endless, std::ios::binary);
        std::string block(1 << 20, 'e');
        block[1000] = '[';
        for (int i = 0; i < 50; ++i) {
            file << block;
        }
        file << "[A]K=v";
    }
    EXPECT_EQ(ReadCamKey(endless, "A", "K", out), 0);
    EXPECT_LT(peakKilobytes() - before, 4 * 1024) << "memory must not grow with the file";
}

TEST(CamFileBadInput, FilesThatVanishOrAreNotRegular) {
    test::TempDir dir;
    const std::string path = dir.write("gone.cam", "[A]\nK=v\n");
    std::string out;
    EXPECT_EQ(ReadCamKey(path, "A", "K", out), 1);
    std::remove(path.c_str());
    EXPECT_EQ(ReadCamKey(path, "A", "K", out), 0);
    EXPECT_EQ(out, "v") << "the variable keeps what it held";

    const std::string fifo = dir.path() + "fifo.cam";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadCamKey(fifo, "A", "K", out), 0) << "a pipe must neither block nor be read";
    EXPECT_EQ(ReadCamKey("/dev/zero", "A", "K", out), 0);
    EXPECT_EQ(ReadCamKey(dir.path() + "sub/", "A", "K", out), 0);
    EXPECT_EQ(out, "v");
}

} // namespace
} // namespace vistrel
